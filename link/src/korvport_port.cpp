#include "korvena/link/korvport_port.h"

#include <sys/stat.h>

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

}  // namespace

KorvportPort::KorvportPort(const std::string& preferredFolder) {
  std::string besides = preferredFolder;
  if (!besides.empty() && besides.back() != '/' && besides.back() != '\\') besides.push_back('/');
  besides += kKorvportFileName;
  library_ = SharedLibrary::Load(!preferredFolder.empty() && IsFile(besides) ? besides : kKorvportFileName);
  bound_ = library_.loaded() && Bind(library_, "Open", open_) && Bind(library_, "Close", close_) &&
           Bind(library_, "Read", read_) && Bind(library_, "Write", write_) &&
           Bind(library_, "SetPort", setPort_) && Bind(library_, "Flush", flush_);
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

}  // namespace korvena
