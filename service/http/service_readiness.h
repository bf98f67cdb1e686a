#pragma once
// Tells a service manager that started the service with NOTIFY_SOCKET when
// it is ready and when it stops: one datagram on that unix socket per word,
// so that the manager counts the service as started only once its port
// answers. Without NOTIFY_SOCKET nothing is sent.
#include <cstdint>
#include <string>

namespace korvena::service {

// Sends `message` as one datagram to the unix socket `socketName`: a path,
// or an abstract name after '@'. false with `error` saying why.
bool SendServiceNotice(const std::string& socketName, const std::string& message, std::string& error);

// "READY=1" with the address listened on, and "STOPPING=1", to the socket
// NOTIFY_SOCKET names, when it names one. A notice that cannot be sent is
// said on standard error and otherwise ignored: the service serves anyway.
void NoticeReady(const std::string& address, uint16_t port);
void NoticeStopping();

}  // namespace korvena::service
