#pragma once
// The symbolic link of --link, made to point at the pseudo-terminal. It
// replaces only what this emulator could own: nothing, or a link to a
// pseudo-terminal slave (/dev/pts/N) that is gone or is this emulator's own,
// as an emulator that was killed leaves it. At the end it is removed only
// while it is still ours: still a link to our slave.
#include <string>

namespace korvena::emu {

class DeviceLink {
 public:
  DeviceLink() = default;
  DeviceLink(const DeviceLink&) = delete;
  DeviceLink& operator=(const DeviceLink&) = delete;
  ~DeviceLink() { Remove(); }

  // Makes `path` a link to `slavePath`. False, with `error` saying why and
  // nothing changed, when something else is there or it cannot be made.
  bool Make(const std::string& path, const std::string& slavePath, std::string& error);
  // Removes the link when it is still ours.
  void Remove();

 private:
  std::string path_;
  std::string slavePath_;
};

}  // namespace korvena::emu
