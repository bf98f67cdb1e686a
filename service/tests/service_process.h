#pragma once
// Runs the real korvena-service (or its crashing test build) as a child
// process for end-to-end tests and benchmarks: starts it, learns the port
// it listens on, and stops or kills it.
#include <sys/types.h>

#include <string>
#include <vector>

namespace korvena::service {

class ServiceProcess {
 public:
  ServiceProcess() = default;
  ServiceProcess(const ServiceProcess&) = delete;
  ServiceProcess& operator=(const ServiceProcess&) = delete;
  ~ServiceProcess();

  // build/bin/`program` with `arguments` and "--listen 127.0.0.1:0" unless
  // they give --listen; `environment` entries ("NAME=value") are added to
  // this process's. True once it listens; port() is where.
  bool Start(const std::vector<std::string>& arguments, const std::string& program = "korvena-service",
             const std::vector<std::string>& environment = {});
  // SIGTERM and wait; the exit status (-1 for a signal).
  int Stop();
  // SIGKILL and wait, as a power cut would.
  void Kill();
  // Waits up to `limitMs` for it to end by itself (a crash point); true when it has.
  bool WaitForEnd(int limitMs);
  bool running() const { return pid_ > 0; }
  // How it ended by itself (a Start that failed): its exit status, -1 for a signal or while it runs.
  int exitStatus() const { return exitStatus_; }
  int port() const { return port_; }
  // What it wrote to standard error so far.
  std::string errors() const;

 private:
  pid_t pid_ = -1;
  int port_ = 0;
  int exitStatus_ = -1;
  std::string errorsFile_;
};

}  // namespace korvena::service
