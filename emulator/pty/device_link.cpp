#include "device_link.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>
#include <optional>

namespace korvena::emu {
namespace {

constexpr const char* kReplaceable = "only a link to a pseudo-terminal that is gone is replaced";

// Where the link at `path` points; nullopt when it cannot be read.
std::optional<std::string> LinkText(const std::string& path) {
  char text[PATH_MAX];
  const ssize_t length = readlink(path.c_str(), text, sizeof text);
  if (length < 0 || static_cast<std::size_t>(length) >= sizeof text) return std::nullopt;
  return std::string(text, static_cast<std::size_t>(length));
}

bool IsSlaveName(const std::string& target) {
  const std::string prefix = "/dev/pts/";
  if (target.size() <= prefix.size() || target.compare(0, prefix.size(), prefix) != 0) return false;
  return target.find_first_not_of("0123456789", prefix.size()) == std::string::npos;
}

bool Exists(const std::string& path) {
  struct stat info {};
  return lstat(path.c_str(), &info) == 0 || errno != ENOENT;
}

const char* KindOf(mode_t mode) {
  if (S_ISREG(mode)) return "a file";
  if (S_ISDIR(mode)) return "a folder";
  return "a device, FIFO or socket";
}

}  // namespace

bool DeviceLink::Make(const std::string& path, const std::string& slavePath, std::string& error) {
  const std::string cannot = "cannot make the link " + path + ": ";
  struct stat info {};
  if (lstat(path.c_str(), &info) == 0) {
    if (!S_ISLNK(info.st_mode)) {
      error = cannot + "there is " + KindOf(info.st_mode) + " there, and " + kReplaceable;
      return false;
    }
    const std::optional<std::string> target = LinkText(path);
    if (!target) {
      error = cannot + std::strerror(errno);
      return false;
    }
    if (!IsSlaveName(*target) || (*target != slavePath && Exists(*target))) {
      error = cannot + "it is a link to " + *target + ", and " + kReplaceable;
      return false;
    }
    if (unlink(path.c_str()) != 0) {
      error = cannot + std::strerror(errno);
      return false;
    }
  } else if (errno != ENOENT) {
    error = cannot + std::strerror(errno);
    return false;
  }
  // Fails on anything that appeared there since.
  if (symlink(slavePath.c_str(), path.c_str()) != 0) {
    error = cannot + std::strerror(errno);
    return false;
  }
  path_ = path;
  slavePath_ = slavePath;
  return true;
}

void DeviceLink::Remove() {
  if (path_.empty()) return;
  struct stat info {};
  if (lstat(path_.c_str(), &info) == 0 && S_ISLNK(info.st_mode) && LinkText(path_) == slavePath_)
    unlink(path_.c_str());
  path_.clear();
}

}  // namespace korvena::emu
