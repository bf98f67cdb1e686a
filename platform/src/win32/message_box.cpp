#include "korvena/platform/message_box.h"

#include <windows.h>

namespace korvena {
namespace {

// The texts are UTF-8; the wide box shows their Slovak letters whatever code
// page the till's Windows runs with.
std::wstring Wide(const std::string& utf8) {
  const int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), length);
  return wide;
}

}  // namespace

void ShowWarningBox(const std::string& caption, const std::string& text) {
  // Task-modal without an owner: the till's windows wait until it is read.
  MessageBoxW(nullptr, Wide(text).c_str(), Wide(caption).c_str(), MB_OK | MB_ICONWARNING | MB_TASKMODAL);
}

}  // namespace korvena
