// The built libkvorw32.so, loaded like a point-of-sale application loads it,
// prints a whole receipt on korvena-emu over a pseudo-terminal.
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "driver_rig.h"
#include "korvena/emulator/emu_process.h"
#include "korvena/emulator/program_run.h"
#include "korvena/platform/local_date.h"
#include "kvorw32.h"

namespace korvena::driver::testing {
namespace {

// The library's exports, found by name as an application finds them.
struct LoadedLibrary {
  void* handle = nullptr;
  KvorStartLibProcFn start = nullptr;
  KvorStartLibProcExFn startEx = nullptr;
  KvorExitLibProcFn exit = nullptr;
  KvorWriteFn write = nullptr;
  KvorWriteLFn writeL = nullptr;
  KvorReadFn read = nullptr;
  KvorReadLFn readL = nullptr;

  explicit LoadedLibrary(const std::string& path) {
    handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) return;
    start = reinterpret_cast<KvorStartLibProcFn>(dlsym(handle, "StartLibProc"));
    startEx = reinterpret_cast<KvorStartLibProcExFn>(dlsym(handle, "StartLibProcEx"));
    exit = reinterpret_cast<KvorExitLibProcFn>(dlsym(handle, "ExitLibProc"));
    write = reinterpret_cast<KvorWriteFn>(dlsym(handle, "KorvenaWrite"));
    writeL = reinterpret_cast<KvorWriteLFn>(dlsym(handle, "KorvenaWriteL"));
    read = reinterpret_cast<KvorReadFn>(dlsym(handle, "KorvenaRead"));
    readL = reinterpret_cast<KvorReadLFn>(dlsym(handle, "KorvenaReadL"));
  }
  ~LoadedLibrary() {
    if (handle != nullptr) dlclose(handle);
  }
  bool complete() const { return start && startEx && exit && write && writeL && read && readL; }

  uint16_t Command(const std::string& text) {
    uint16_t result = 0;
    for (const char c : text) result = write(static_cast<uint8_t>(c));
    return result;
  }
};

// Runs the test in a scratch folder as the host's current directory.
class CurrentDirectory {
 public:
  explicit CurrentDirectory(const std::string& dir) : previous_(std::filesystem::current_path()) {
    std::filesystem::current_path(dir);
  }
  ~CurrentDirectory() { std::filesystem::current_path(previous_); }

 private:
  std::filesystem::path previous_;
};

class DriverOverPty : public ::testing::Test {
 protected:
  // A copy of the library in its own folder, with the port library and its
  // KVORWXX.INI beside it, as a till installs them.
  std::string InstallLibrary(const std::string& ini) {
    std::filesystem::create_directory(dir / "lib");
    for (const char* library : {"libkvorw32.so", "libkorvena.so"})
      std::filesystem::copy_file(emu::EmuProcess::BuildDir() + "/lib/" + library, dir / ("lib/" + std::string(library)));
    dir.Write("lib/KVORWXX.INI", "[Setting]\r\n" + ini);
    std::filesystem::create_directory(dir / "run");
    return dir / "lib/libkvorw32.so";
  }

  ScratchFolder dir;
};

std::string Today() {
  const LocalDate date = CurrentLocalDate();
  char name[16];
  std::snprintf(name, sizeof name, "%04d%02d%02d.tx", date.year, date.month, date.day);
  return name;
}

TEST_F(DriverOverPty, PrintsAReceiptWithLdxOn) {
  emu::EmuProcess emulator;
  ASSERT_TRUE(emulator.Start({"--info", "5=KORVENA test"}, 5));
  const std::string path =
      InstallLibrary("Com=5\r\nLdx=1\r\nFileDir=" + (dir / "days") + "\r\nTimeout=100\r\nDebug=1\r\n");
  std::filesystem::create_directory(dir / "days");
  CurrentDirectory inRun(dir / "run");

  LoadedLibrary library(path);
  ASSERT_TRUE(library.complete()) << dlerror();
  EXPECT_EQ(library.read(), 255) << "not started yet";
  ASSERT_EQ(library.start(), 0);
  EXPECT_EQ(library.start(), 1) << "already started";

  EXPECT_EQ(library.Command("\x1b;S;0\r"), 0);
  EXPECT_EQ(library.Command("\x1b;L;1.000;2.50;A;Chlieb\r"), 0);
  EXPECT_EQ(library.Command("\x1b;L;2.000;1.20;B;Mlieko\r"), 0);
  EXPECT_EQ(library.Command("\x1b;K;10.00;0;0;0;0;0\r"), 0);
  EXPECT_EQ(library.Command("\x1b;IV;5\r"), 0);
  std::string answer;
  for (int c = library.read(); c != 13 && answer.size() < 100; c = library.read()) answer.push_back(static_cast<char>(c));
  EXPECT_EQ(answer, "KORVENA test");
  EXPECT_EQ(library.Command("\x1b;K\r"), 2) << "no receipt open any more";
  library.exit();
  EXPECT_EQ(library.writeL('\x1b'), -1);
  EXPECT_EQ(library.readL(), -1);

  const std::string ldx = dir.Read("run/KORVENA.LDX", kMissing);
  EXPECT_NE(ldx.find("Chlieb\r\n"), std::string::npos) << ldx;
  EXPECT_NE(ldx.find("Mlieko\r\n"), std::string::npos) << ldx;
  EXPECT_EQ(ldx.substr(ldx.size() - 2), "\r\n") << "the device's two trailing bytes are gone";
  EXPECT_EQ(dir.Read("days/" + Today(), kMissing), ldx);
  EXPECT_TRUE(dir.Has("run/KORVENA.DBG"));
  EXPECT_FALSE(dir.Has("lib/KORVENA.DBG")) << "the log goes to the current directory";

  const std::string journal = emulator.journal();
  EXPECT_NE(journal.find("Chlieb"), std::string::npos) << journal;
  EXPECT_NE(journal.find("SPOLU"), std::string::npos) << journal;
}

TEST_F(DriverOverPty, FindsTheDeviceByTheBaudSearchAndRemembersTheRate) {
  emu::EmuProcess emulator;
  ASSERT_TRUE(emulator.Start({"--baud", "19200"}, 6));
  const std::string path = InstallLibrary("Com=6\r\nBaudRate=9600\r\nTimeout=100\r\nCRC=1\r\n");
  CurrentDirectory inRun(dir / "run");
  LoadedLibrary library(path);
  ASSERT_TRUE(library.complete()) << dlerror();
  ASSERT_EQ(library.start(), 0);
  EXPECT_EQ(library.Command("\x1b;V;500\r"), 0) << "a CRC-announced command the device accepts";
  library.exit();
  EXPECT_EQ(dir.Read("lib/KVORWXX.INI", kMissing), "[Setting]\r\nCom=6\r\nBaudRate=19200\r\nTimeout=100\r\nCRC=1\r\n");
}

// An application with functions of its own named Open, Close, Read and Write
// must not capture the driver's calls to the port library.
TEST_F(DriverOverPty, AHostWithItsOwnPortFunctionsStillPrints) {
  emu::EmuProcess emulator;
  ASSERT_TRUE(emulator.Start({}, 7));
  const std::string path = InstallLibrary("Com=7\r\nTimeout=100\r\n");
  const emu::ProgramRun run = emu::RunBuiltProgram("korvena-capturing-host", {path}, dir / "run");
  EXPECT_EQ(run.exitStatus, 0) << run.output;
  EXPECT_NE(run.output.find("StartLibProc -> 0\n"), std::string::npos) << run.output;
  EXPECT_NE(emulator.journal().find("Chlieb"), std::string::npos);
}

TEST_F(DriverOverPty, APortLibraryThatCannotBeLoadedFailsTheStartAsAPortThatDoesNotOpen) {
  const std::string path = InstallLibrary("Com=7\r\nDebug=1\r\nDispE=0\r\n");
  dir.Write("lib/libkorvena.so", "not a library");  // the copy beside the driver is the one taken
  CurrentDirectory inRun(dir / "run");
  LoadedLibrary library(path);
  ASSERT_TRUE(library.complete()) << dlerror();
  EXPECT_EQ(library.start(), 7);
  library.exit();
  const std::string log = dir.Read("run/KORVENA.DBG", kMissing);
  EXPECT_EQ(log.rfind("port open: 7\r\nport library: ", 0), 0u) << log;
  EXPECT_NE(log.find("libkorvena.so"), std::string::npos) << log;
}

// The host must call from one thread at a time; one that does not gets its
// calls one after the other, not a corrupt driver.
TEST_F(DriverOverPty, TwoWriterThreadsAreServedOneCallAtATime) {
  emu::EmuProcess emulator;
  ASSERT_TRUE(emulator.Start({}, 8));
  const std::string path = InstallLibrary("Com=8\r\nTimeout=100\r\n");
  CurrentDirectory inRun(dir / "run");
  LoadedLibrary library(path);
  ASSERT_TRUE(library.complete()) << dlerror();
  ASSERT_EQ(library.start(), 0);
  auto writer = [&library] {
    for (int i = 0; i < 100; ++i) library.Command("\x1b;IV;0\r");
  };
  std::thread first(writer);
  std::thread second(writer);
  first.join();
  second.join();
  // The commands were mixed up, but the driver is whole and works on.
  EXPECT_EQ(library.Command("\x1b;IV;0\r"), 0);
  EXPECT_EQ(library.read(), '0');
  EXPECT_EQ(library.read(), 13);
  library.exit();
}

}  // namespace
}  // namespace korvena::driver::testing
