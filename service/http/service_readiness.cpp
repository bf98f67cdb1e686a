#include "service_readiness.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <cstdlib>
#include <cstring>

#include "korvena/service/service_log.h"

namespace korvena::service {
namespace {

void Notice(const std::string& message) {
  const char* socketName = std::getenv("NOTIFY_SOCKET");
  if (socketName == nullptr || *socketName == '\0') return;
  std::string error;
  if (!SendServiceNotice(socketName, message, error)) LogLine("%s", error.c_str());
}

}  // namespace

bool SendServiceNotice(const std::string& socketName, const std::string& message, std::string& error) {
  sockaddr_un where{};
  where.sun_family = AF_UNIX;
  // An abstract name needs no terminating zero, a path does: both stay below the field's size.
  if (socketName.size() < 2 || socketName.size() >= sizeof where.sun_path ||
      (socketName[0] != '/' && socketName[0] != '@')) {
    error = "NOTIFY_SOCKET " + socketName + " is neither an absolute path nor an @abstract name of a fitting length";
    return false;
  }
  std::memcpy(where.sun_path, socketName.data(), socketName.size());
  if (socketName[0] == '@') where.sun_path[0] = '\0';
  const auto length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + socketName.size());

  const int sender = socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
  if (sender < 0) {
    error = std::string("cannot open a socket to notify the service manager: ") + std::strerror(errno);
    return false;
  }
  const ssize_t sent = sendto(sender, message.data(), message.size(), MSG_NOSIGNAL,
                              reinterpret_cast<const sockaddr*>(&where), length);
  const int sendError = errno;
  close(sender);
  if (sent != static_cast<ssize_t>(message.size())) {
    error = "cannot notify the service manager at " + socketName + ": " + std::strerror(sendError);
    return false;
  }
  return true;
}

void NoticeReady(const std::string& address, uint16_t port) {
  Notice("READY=1\nSTATUS=listening on " + address + ":" + std::to_string(port));
}

void NoticeStopping() { Notice("STOPPING=1"); }

}  // namespace korvena::service
