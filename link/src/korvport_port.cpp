#include "korvena/link/korvport_port.h"

#include <sys/stat.h>

#include <algorithm>
#include <climits>
#include <vector>

namespace korvena {
namespace {

bool IsFile(const std::string& path) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

template <typename Function>
bool Bind(SharedLibrary& library, const char* name, Function& function) {
  function = reinterpret_cast<Function>(library.Function(name));
  return function != nullptr;
}

// The names the port library goes by, preferred first; the first is the one
// the platform's search looks for. Installed Linux systems always have the
// soname, the plain name only with the development files.
std::vector<std::string> KorvportNames() {
#if defined(_WIN32)
  return {kKorvportFileName};
#else
  return {std::string(kKorvportFileName) + "." KORVPORT_SOVERSION, kKorvportFileName};
#endif
}

}  // namespace

std::string KorvportFileFor(const std::string& folder) {
  const std::vector<std::string> names = KorvportNames();
  if (!folder.empty()) {
    std::string prefix = folder;
    if (prefix.back() != '/' && prefix.back() != '\\') prefix.push_back('/');
    for (const std::string& name : names)
      if (IsFile(prefix + name)) return prefix + name;
  }
  return names.front();
}

KorvportPort::KorvportPort(const std::string& preferredFolder) {
  library_ = SharedLibrary::Load(KorvportFileFor(preferredFolder));
  bound_ = library_.loaded() && Bind(library_, "Open", open_) && Bind(library_, "Close", close_) &&
           Bind(library_, "Read", read_) && Bind(library_, "Write", write_) &&
           Bind(library_, "SetPort", setPort_) && Bind(library_, "Flush", flush_);
  if (!bound_) return;
  // A library from elsewhere may lack these; the port then works as before.
  Bind(library_, "WaitRead", waitRead_);
  Bind(library_, "OpenErrorText", openErrorText_);
}

uint8_t KorvportPort::Open(int32_t port, int32_t baud) { return bound_ ? open_(port, baud) : 0; }
uint8_t KorvportPort::Close() { return bound_ ? close_() : 0; }
uint8_t KorvportPort::Read(uint8_t& byte) { return bound_ ? read_(&byte, 0, 1) : 0; }
uint8_t KorvportPort::Write(const void* bytes, int32_t option, int32_t count) {
  return bound_ ? write_(bytes, option, count) : 0;
}
void KorvportPort::SetPort(int32_t baud) {
  if (bound_) setPort_(baud);
}
void KorvportPort::Flush() {
  if (bound_) flush_();
}

bool KorvportPort::WaitRead(uint32_t ms) {
  if (waitRead_ == nullptr) return Port::WaitRead(ms);
  return waitRead_(static_cast<int32_t>(std::min<uint32_t>(ms, INT32_MAX))) != 0;
}

std::string KorvportPort::OpenProblem() const {
  if (openErrorText_ == nullptr) return {};
  const int32_t length = openErrorText_(nullptr, 0);
  if (length <= 0) return {};
  std::string problem(static_cast<std::size_t>(length) + 1, '\0');
  problem.resize(static_cast<std::size_t>(std::clamp(openErrorText_(problem.data(), length + 1), 0, length)));
  return problem;
}

}  // namespace korvena
