#include <gtest/gtest.h>

#include "korvena/platform/file_names.h"
#include "korvena/platform/scratch_folder.h"
#include "korvena/platform/settings_file.h"

namespace korvena {
namespace {

TEST(SettingsFilePath, BesideTheProgramFirstThenTheSystemFolder) {
  const struct {
    const char* beside;  // the file's name in each folder, "" for none
    const char* system;
    const char* found;   // which folder's file is given
  } cases[] = {
      {"KVORWXX.INI", "KVORWXX.INI", "prog/KVORWXX.INI"},
      {"", "KVORWXX.INI", "etc/KVORWXX.INI"},
      {"", "kvorwxx.ini", "etc/kvorwxx.ini"},  // any letter case, as beside
      {"KvorWxx.ini", "", "prog/KvorWxx.ini"},
      {"", "", "prog/KvorWxx.ini"},  // a file written later goes beside
  };
  for (const auto& c : cases) {
    ScratchFolder dir;
    dir.Write("prog/program", "");
    dir.Write("etc/unrelated", "");
    if (*c.beside) dir.Write(std::string("prog/") + c.beside, "");
    if (*c.system) dir.Write(std::string("etc/") + c.system, "");
    // Windows matches names without regard to case itself and keeps the name as given.
    const std::string found = SettingsFilePath(dir / "prog/", "KvorWxx.ini", dir / "etc/");
    EXPECT_TRUE(EqualsIgnoringCase(found, dir / c.found)) << found << " " << c.found;
  }
}

}  // namespace
}  // namespace korvena
