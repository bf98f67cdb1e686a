// The word to the service manager: one datagram on the socket NOTIFY_SOCKET
// names, a path or an abstract name, and nothing at all without it.
#include "service_readiness.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>
#include <optional>
#include <string>

#include "korvena/platform/scratch_folder.h"

namespace korvena::service {
namespace {

// A datagram socket bound to `name` ('@' for an abstract one), as a service
// manager listens.
class ManagerSocket {
 public:
  explicit ManagerSocket(const std::string& name) : fd_(socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0)) {
    sockaddr_un where{};
    where.sun_family = AF_UNIX;
    std::memcpy(where.sun_path, name.data(), name.size());
    if (name[0] == '@') where.sun_path[0] = '\0';
    bound_ = bind(fd_, reinterpret_cast<const sockaddr*>(&where),
                  static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + name.size())) == 0;
  }
  ~ManagerSocket() { close(fd_); }
  bool bound() const { return bound_; }
  // The datagram waiting, if one is: a local sendto has queued it on return.
  std::optional<std::string> Take() const {
    char bytes[512];
    const ssize_t n = recv(fd_, bytes, sizeof bytes, MSG_DONTWAIT);
    if (n < 0) return std::nullopt;
    return std::string(bytes, static_cast<std::size_t>(n));
  }

 private:
  int fd_;
  bool bound_ = false;
};

TEST(ServiceReadiness, ReachesTheSocketNamedOrSaysWhyNot) {
  ScratchFolder folder;
  const std::string path = folder / "notify";
  const std::string abstract = "@korvena-readiness-" + std::to_string(getpid());
  const ManagerSocket onPath(path);
  const ManagerSocket onAbstract(abstract);
  ASSERT_TRUE(onPath.bound() && onAbstract.bound());
  const struct {
    std::string name;
    const ManagerSocket* listener;  // nullptr: the notice must fail
    const char* error;
  } cases[] = {
      {path, &onPath, ""},
      {abstract, &onAbstract, ""},
      {folder / "nobody", nullptr, "cannot notify the service manager"},
      {"notify", nullptr, "neither an absolute path"},
      {"@", nullptr, "neither an absolute path"},
      {"/" + std::string(sizeof(sockaddr_un::sun_path), 'n'), nullptr, "of a fitting length"},
  };
  for (const auto& c : cases) {
    std::string error;
    const bool sent = SendServiceNotice(c.name, "READY=1", error);
    EXPECT_EQ(sent, c.listener != nullptr) << c.name << ": " << error;
    if (c.listener == nullptr) {
      EXPECT_NE(error.find(c.error), std::string::npos) << error;
      continue;
    }
    EXPECT_EQ(c.listener->Take(), "READY=1") << c.name;
  }
  // Each got its one notice and none meant for the other.
  EXPECT_FALSE(onPath.Take().has_value());
  EXPECT_FALSE(onAbstract.Take().has_value());
}

TEST(ServiceReadiness, SendsOnlyWhenTheEnvironmentNamesASocket) {
  ScratchFolder folder;
  const ManagerSocket manager(folder / "notify");
  ASSERT_TRUE(manager.bound());
  setenv("NOTIFY_SOCKET", (folder / "notify").c_str(), 1);
  NoticeReady("127.0.0.1", 8730);
  EXPECT_EQ(manager.Take(), "READY=1\nSTATUS=listening on 127.0.0.1:8730");
  NoticeStopping();
  EXPECT_EQ(manager.Take(), "STOPPING=1");
  for (const char* unset : std::initializer_list<const char*>{"", nullptr}) {
    if (unset != nullptr) setenv("NOTIFY_SOCKET", unset, 1);
    else unsetenv("NOTIFY_SOCKET");
    NoticeReady("127.0.0.1", 8730);
    NoticeStopping();
    EXPECT_FALSE(manager.Take().has_value()) << "NOTIFY_SOCKET " << (unset ? "empty" : "unset");
  }
}

}  // namespace
}  // namespace korvena::service
