#include "port_holders.h"

#include <dirent.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <climits>
#include <cstddef>
#include <memory>

namespace korvena::emu {
namespace {

struct CloseFolder {
  void operator()(DIR* folder) const { closedir(folder); }
};
using Folder = std::unique_ptr<DIR, CloseFolder>;

Folder OpenFolder(const std::string& path) { return Folder(opendir(path.c_str())); }

bool IsNumber(const char* name) {
  if (*name == '\0') return false;
  for (; *name != '\0'; ++name)
    if (*name < '0' || *name > '9') return false;
  return true;
}

// True when one of the descriptors listed in `fdFolder` (/proc/<pid>/fd) is
// `path`.
bool HasOpen(const std::string& fdFolder, const std::string& path) {
  const Folder fds = OpenFolder(fdFolder);
  if (!fds) return false;
  char target[PATH_MAX];
  while (const dirent* entry = readdir(fds.get())) {
    if (!IsNumber(entry->d_name)) continue;
    const ssize_t length = readlink((fdFolder + "/" + entry->d_name).c_str(), target, sizeof target);
    if (length > 0 && path.compare(0, std::string::npos, target, static_cast<std::size_t>(length)) == 0) return true;
  }
  return false;
}

}  // namespace

bool OpenElsewhere(const std::string& path) {
  const Folder processes = OpenFolder("/proc");
  if (!processes) return false;
  const std::string self = std::to_string(getpid());
  while (const dirent* entry = readdir(processes.get()))
    if (IsNumber(entry->d_name) && entry->d_name != self && HasOpen("/proc/" + std::string(entry->d_name) + "/fd", path))
      return true;
  return false;
}

PortHolders::~PortHolders() {
  if (inotify_ >= 0) close(inotify_);
}

bool PortHolders::Watch(const std::string& slavePath) {
  path_ = slavePath;
  inotify_ = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
  return inotify_ >= 0 && inotify_add_watch(inotify_, slavePath.c_str(), IN_OPEN | IN_CLOSE_WRITE | IN_CLOSE_NOWRITE) >= 0;
}

bool PortHolders::LastLetGo() {
  bool closed = false;
  alignas(inotify_event) char reports[4096];
  ssize_t got = 0;
  while ((got = read(inotify_, reports, sizeof reports)) > 0) {
    for (std::size_t at = 0; at < static_cast<std::size_t>(got);) {
      const auto* report = reinterpret_cast<const inotify_event*>(reports + at);
      // After an overflow nothing is known but that something happened.
      if ((report->mask & (IN_CLOSE_WRITE | IN_CLOSE_NOWRITE | IN_Q_OVERFLOW)) != 0) closed = true;
      at += sizeof(inotify_event) + report->len;
    }
  }
  return closed && !OpenElsewhere(path_);
}

}  // namespace korvena::emu
