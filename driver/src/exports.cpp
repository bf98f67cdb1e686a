// The C exports: a thin layer over one process-wide Driver bound to the port
// library and the system clock. No exception may reach the host application,
// so every export catches everything and answers with a result code.
#include "kvorw32.h"

#include "korvena/driver/driver.h"
#include "korvena/driver/driver_config.h"
#include "korvena/link/korvport_port.h"
#include "korvena/platform/file_names.h"
#include "korvena/platform/message_box.h"
#include "korvena/platform/module_path.h"

namespace {

using korvena::driver::Driver;
using korvena::driver::kFailed;
using korvena::driver::kNotStarted;
using korvena::driver::kStartRefused;

// Any address inside this library tells where its file lies.
const char kAnchor = 0;

struct Library {
  korvena::KorvportPort port;
  korvena::SystemClock clock;
  Driver driver{port, clock,
                korvena::driver::DriverHost{
                    korvena::DirectoryOf(korvena::ModulePathOf(&kAnchor)) + korvena::driver::kIniFileName, "",
                    korvena::CurrentLocalDate, korvena::ShowWarningBox}};
};

Library& Instance() {
  static Library library;
  return library;
}

uint16_t WriteCharacter(uint8_t c) {
  try {
    return Instance().driver.Write(c);
  } catch (...) {
    return kFailed;
  }
}

// The Ex variants: a null pointer carries no character.
template <typename T>
uint16_t WriteThrough(const T* character) {
  if (character != nullptr) return WriteCharacter(static_cast<uint8_t>(*character & 0xFF));
  try {
    return Instance().driver.started() ? kFailed : kNotStarted;
  } catch (...) {
    return kFailed;
  }
}

uint8_t ReadCharacter() {
  try {
    return Instance().driver.Read();
  } catch (...) {
    return korvena::driver::kAnswerEnd;
  }
}

}  // namespace

extern "C" {

KVORW32_API uint16_t KVORW32_CALL StartLibProc(void) {
  try {
    return Instance().driver.StartLibProc();
  } catch (...) {
    return kStartRefused;
  }
}

KVORW32_API uint16_t KVORW32_CALL StartLibProcEx(uint8_t port, const char* fileDir, const char* fileLD,
                                                 const char* baudRate, int32_t showErrors, char* /*reserved*/) {
  try {
    return Instance().driver.StartLibProcEx(port, fileDir, fileLD, baudRate, showErrors != 0);
  } catch (...) {
    return kStartRefused;
  }
}

KVORW32_API void KVORW32_CALL ExitLibProc(void) {
  try {
    Instance().driver.ExitLibProc();
  } catch (...) {
  }
}

KVORW32_API uint16_t KVORW32_CALL KorvenaWrite(int32_t character) {
  return WriteCharacter(static_cast<uint8_t>(character & 0xFF));
}
KVORW32_API uint16_t KVORW32_CALL KorvenaWriteEx(const uint8_t* character) { return WriteThrough(character); }
KVORW32_API uint16_t KVORW32_CALL KorvenaWriteW(uint16_t character) {
  return WriteCharacter(static_cast<uint8_t>(character & 0xFF));
}
KVORW32_API uint16_t KVORW32_CALL KorvenaWriteWEx(const uint16_t* character) { return WriteThrough(character); }
KVORW32_API int32_t KVORW32_CALL KorvenaWriteL(int32_t character) {
  return korvena::driver::WidenWriteResult(KorvenaWrite(character));
}
KVORW32_API int32_t KVORW32_CALL KorvenaWriteLEx(const int32_t* character) {
  return korvena::driver::WidenWriteResult(WriteThrough(character));
}

KVORW32_API uint8_t KVORW32_CALL KorvenaRead(void) { return ReadCharacter(); }
KVORW32_API uint16_t KVORW32_CALL KorvenaReadW(void) { return korvena::driver::WidenReadW(ReadCharacter()); }
KVORW32_API int32_t KVORW32_CALL KorvenaReadL(void) { return korvena::driver::WidenReadL(ReadCharacter()); }

}  // extern "C"
