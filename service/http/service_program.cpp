#include "service_program.h"

#include <signal.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "http_server.h"
#include "openapi_document.h"
#include "korvena/link/clock.h"
#include "korvena/service/access_tokens.h"
#include "korvena/service/api_router.h"
#include "korvena/service/fiscal_service.h"
#include "korvena/service/job_journal.h"
#include "korvena/service/service_config.h"
#include "korvena/service/service_log.h"
#include "frame_log_file.h"
#include "frame_logging_port.h"
#include "serial_line_port.h"
#include "service_readiness.h"

namespace korvena::service {
namespace {

constexpr int64_t kDayMs = 24LL * 3600 * 1000;

int64_t WallMs() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::system_clock::now().time_since_epoch())
      .count();
}

int Fail(const std::string& message, int status = 1) {
  LogLine("%s", message.c_str());
  return status;
}

std::string FolderOf(const std::string& path) {
  const std::string folder = std::filesystem::path(path).parent_path().string();
  return folder.empty() ? "." : folder;
}

std::optional<AccessTokens> TokensFor(const ServiceConfig& config, std::string& error) {
  if (config.noAuth) return AccessTokens::Open();
  if (!config.tokensPath.empty()) return AccessTokens::Read(config.tokensPath, error);
  const std::string path = FolderOf(config.journalPath) + "/korvena-service.tokens";
  if (std::filesystem::exists(path)) return AccessTokens::Read(path, error);
  std::optional<AccessTokens> tokens = AccessTokens::WriteFirst(path, error);
  if (tokens) LogLine("wrote a service token to %s", path.c_str());
  return tokens;
}

// Each device with a line and a clock of its own, its bytes in the frame log when there is one.
struct DeviceLine {
  DeviceLine(FrameLogFile* frameLog, const std::string& id, const std::string& password) {
    if (frameLog) logged.emplace(serial, frameLog->LinesOf(id), password);
  }
  Port& port() { return logged ? static_cast<Port&>(*logged) : serial; }

  SerialLinePort serial;
  std::optional<FrameLoggingPort> logged;
  SystemClock clock;
};

}  // namespace

int RunServiceProgram(int argc, char** argv, const CrashHook& crash) {
  ServiceConfig config;
  std::string error;
  if (!ReadServiceConfig(std::vector<std::string>(argv + 1, argv + argc), config, error)) {
    const int status = Fail(error, 2);
    // The options follow for whoever typed the command: a text to read, not an event of the log.
    std::fputs(("\n" + ServiceUsage()).c_str(), stderr);
    return status;
  }
  if (config.help) {
    std::fputs(ServiceUsage().c_str(), stdout);
    return 0;
  }
  std::optional<AccessTokens> tokens = TokensFor(config, error);
  if (!tokens) return Fail(error);
  if (tokens->required() && tokens->empty()) return Fail("the token file holds no token");
  std::error_code noFolder;
  if (!config.webRoot.empty() && !std::filesystem::is_directory(config.webRoot, noFolder))
    return Fail("--web-root " + config.webRoot + " is no folder");
  std::unique_ptr<FrameLogFile> frameLog;
  if (!config.frameLogPath.empty() && !(frameLog = FrameLogFile::Open(config.frameLogPath, error))) return Fail(error);

  // SIGTERM and SIGINT are taken by sigwait below, in no other thread.
  sigset_t stopSignals;
  sigemptyset(&stopSignals);
  sigaddset(&stopSignals, SIGTERM);
  sigaddset(&stopSignals, SIGINT);
  pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
  signal(SIGPIPE, SIG_IGN);

  std::unique_ptr<JobJournal> journal;
  try {
    journal = std::make_unique<JobJournal>(config.journalPath, WallMs);
    journal->Purge(WallMs() - static_cast<int64_t>(config.keepDays) * kDayMs);
  } catch (const std::exception& failure) {
    return Fail(failure.what());
  }

  std::vector<std::unique_ptr<DeviceLine>> lines;
  std::vector<ServiceDevice> devices;
  for (const std::string& id : config.devices) {
    lines.push_back(std::make_unique<DeviceLine>(frameLog.get(), id, config.servicePassword));
    DriverChannelSettings channel{ComNumber(id), config.timeoutMs,
                                  FolderOf(config.journalPath) + "/korvena-service-" + id + ".ini"};
    WorkerSettings worker;
    worker.id = id;
    worker.answerLimitMs = config.answerLimitMs;
    worker.crash = crash;
    worker.servicePassword = config.servicePassword;
    devices.push_back({worker, MakeDriverChannel(lines.back()->port(), lines.back()->clock, channel)});
  }
  FiscalService service(*journal, std::move(devices));
  RouterSettings routing;
  routing.waitLimitMs = config.waitLimitMs;
  routing.apiDocument = kOpenApiDocument;
  routing.webFolder = config.webRoot;
  ApiRouter router(service, std::move(*tokens), routing);
  HttpLimits limits;
  limits.maxConnections = config.maxConnections;
  limits.requestTime = std::chrono::milliseconds(config.requestLimitMs);
  HttpServer server(router, service.board(), limits, CorsPolicy(config.allowOrigins));
  if (!config.tlsCertPath.empty() && !server.UseTls(config.tlsCertPath, config.tlsKeyPath, error)) return Fail(error);
  if (!server.Listen(config.listenAddress, config.listenPort, error)) return Fail(error);
  service.Start();
  server.Start(config.threads);
  LogLine("listening on %s:%u", config.listenAddress.c_str(), server.port());
  NoticeReady(config.listenAddress, server.port());

  int received = 0;
  sigwait(&stopSignals, &received);
  LogLine("stopping");
  NoticeStopping();
  server.Stop();
  service.Stop();
  return 0;
}

}  // namespace korvena::service
