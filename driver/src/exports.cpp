// The C exports: a thin layer over one process-wide Driver bound to the port
// library and the system clock. No exception may reach the host application,
// so every export catches everything and answers with a result code. Each
// export holds one lock for its whole call: a host that calls from two
// threads at once gets its calls one after the other instead of a corrupt
// driver.
#include "kvorw32.h"

#include <mutex>

#include "korvena/driver/driver.h"
#include "korvena/driver/driver_config.h"
#include "korvena/link/korvport_port.h"
#include "korvena/platform/file_names.h"
#include "korvena/platform/message_box.h"
#include "korvena/platform/module_path.h"
#include "korvena/platform/settings_file.h"

namespace {

using korvena::driver::Driver;
using korvena::driver::kFailed;
using korvena::driver::kNotStarted;
using korvena::driver::kStartRefused;

// Any address inside this library tells where its file lies.
const char kAnchor = 0;

std::string LibraryFolder() { return korvena::DirectoryOf(korvena::ModulePathOf(&kAnchor)); }

struct Library {
  // The port library beside this one is preferred to any other copy.
  korvena::KorvportPort port{LibraryFolder()};
  korvena::SystemClock clock;
  Driver driver{port, clock,
                korvena::driver::DriverHost{
                    .iniPath = korvena::SettingsFilePath(LibraryFolder(), korvena::driver::kIniFileName),
                    .workDir = "",
                    .today = korvena::CurrentLocalDate,
                    .showWarning = korvena::ShowWarningBox,
                    .portLibraryProblem = port.bound() ? std::string() : port.problem(),
                }};
  // Recursive: the start's warning box runs the host's message loop on the
  // calling thread, and a host timer may call in meanwhile; it must get the
  // not-started answer rather than wait for itself for ever.
  std::recursive_mutex oneCallAtATime;
};

Library& Instance() {
  static Library library;
  return library;
}

// Runs `call` on the driver under the lock; `onError` when anything throws.
template <typename Result, typename Call>
Result Serialised(Result onError, Call call) {
  try {
    Library& library = Instance();
    const std::lock_guard<std::recursive_mutex> hold(library.oneCallAtATime);
    return call(library.driver);
  } catch (...) {
    return onError;
  }
}

uint16_t WriteCharacter(uint8_t c) {
  return Serialised(kFailed, [c](Driver& driver) { return driver.Write(c); });
}

// The Ex variants: a null pointer carries no character.
template <typename T>
uint16_t WriteThrough(const T* character) {
  if (character != nullptr) return WriteCharacter(static_cast<uint8_t>(*character & 0xFF));
  return Serialised(kFailed, [](Driver& driver) { return driver.started() ? kFailed : kNotStarted; });
}

uint8_t ReadCharacter() {
  return Serialised(korvena::driver::kAnswerEnd, [](Driver& driver) { return driver.Read(); });
}

}  // namespace

extern "C" {

KVORW32_API uint16_t KVORW32_CALL StartLibProc(void) {
  return Serialised(kStartRefused, [](Driver& driver) { return driver.StartLibProc(); });
}

KVORW32_API uint16_t KVORW32_CALL StartLibProcEx(uint8_t port, const char* fileDir, const char* fileLD,
                                                 const char* baudRate, int32_t showErrors, char* /*reserved*/) {
  return Serialised(kStartRefused, [&](Driver& driver) {
    return driver.StartLibProcEx(port, fileDir, fileLD, baudRate, showErrors != 0);
  });
}

KVORW32_API void KVORW32_CALL ExitLibProc(void) {
  Serialised(0, [](Driver& driver) {
    driver.ExitLibProc();
    return 0;
  });
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
