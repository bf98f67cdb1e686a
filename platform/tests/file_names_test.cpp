#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "korvena/platform/file_names.h"

namespace korvena {
namespace {

namespace fs = std::filesystem;

TEST(ResolveFileName, FindsANameThatDiffersOnlyInCase) {
  const fs::path dir = fs::path(::testing::TempDir()) / "names_case";
  fs::remove_all(dir);
  fs::create_directories(dir);
  std::ofstream(dir / "Listok.htx") << "x";
  const struct {
    std::string asked;
    std::string expected;
  } cases[] = {
      {(dir / "Listok.htx").string(), (dir / "Listok.htx").string()},
      {(dir / "LISTOK.HTX").string(), (dir / "Listok.htx").string()},
      {(dir / "listok.htx").string(), (dir / "Listok.htx").string()},
      {(dir / "OTHER.HTX").string(), (dir / "OTHER.HTX").string()},  // a new file keeps its name
  };
  for (const auto& c : cases) EXPECT_EQ(ResolveFileName(c.asked), c.expected);
  FILE* f = OpenFileNoCase((dir / "LISTOK.HTX").string(), "rb");
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(std::fgetc(f), 'x');
  std::fclose(f);
  fs::remove_all(dir);
}

TEST(DirectoryOf, KeepsTheFinalSlash) {
  EXPECT_EQ(DirectoryOf("/a/b/c.ini"), "/a/b/");
  EXPECT_EQ(DirectoryOf("c.ini"), "");
  EXPECT_EQ(DirectoryOf("/c.ini"), "/");
}

}  // namespace
}  // namespace korvena
