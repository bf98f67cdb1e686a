// The texts file that the header, footer and identity dialogs load from.
#include <gtest/gtest.h>

#include "shell/file_error.h"
#include "korvena/platform/scratch_folder.h"
#include "commands/texts_file.h"

namespace korvena::kalibro {
namespace {

TEST(TextsFile, ValuesByNameWithoutRegardToCase) {
  ScratchFolder dir;
  const std::string path = dir.Write("t.set", "HL1=Obchod = a s.r.o.\r\nhl2=\r\nDIC=2021\nHL1=second\r\nbroken line\r\n");
  const operations::TextsFile file = LoadTextsFile(path);
  const struct {
    const char* name;
    const char* value;
  } cases[] = {
      {"HL1", "Obchod = a s.r.o."},  // everything after the first "=", the first line of that name
      {"Hl2", ""},
      {"dic", "2021"},  // LF alone ends a line too
      {"TL1", ""},      // missing
      {"broken line", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(file.Value(c.name), c.value) << c.name;
}

TEST(TextsFile, AFileThatCannotBeReadNamesItself) {
  ScratchFolder dir;
  try {
    LoadTextsFile(dir / "missing.set");
    FAIL() << "no error";
  } catch (const FileError& error) {
    EXPECT_EQ(error.message(), QString::fromStdString("Cannot open file \"" + (dir / "missing.set") +
                                                      "\". The file does not exist."));
  }
}

}  // namespace
}  // namespace korvena::kalibro
