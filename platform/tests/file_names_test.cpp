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

// Two names of one file, whichever way the platform tells files apart (on
// Windows the C runtime's stat gives every file the same inode, 0).
TEST(IsSameFile, OnlyTwoNamesOfOneFile) {
  const fs::path dir = fs::path(::testing::TempDir()) / "names_same";
  fs::remove_all(dir);
  fs::create_directories(dir);
  std::ofstream(dir / "A.DTX") << "a";
  std::ofstream(dir / "B.HTX") << "b";
  fs::create_hard_link(dir / "A.DTX", dir / "LINK.HTX");
  const struct {
    const char* other;
    bool same;
  } cases[] = {{"A.DTX", true}, {"LINK.HTX", true}, {"B.HTX", false}, {"MISSING.HTX", false}};
  for (const auto& c : cases)
    EXPECT_EQ(IsSameFile((dir / "A.DTX").string(), (dir / c.other).string()), c.same) << c.other;
  fs::remove_all(dir);
}

TEST(ResolveFileName, MatchesEveryFolderOfThePath) {
  const fs::path dir = fs::path(::testing::TempDir()) / "names_folders";
  fs::remove_all(dir);
  fs::create_directories(dir / "Sablony" / "nove");
  std::ofstream(dir / "Sablony" / "nove" / "moje.htx") << "x";
  const std::string base = dir.string();
  const struct {
    std::string asked;
    std::string expected;
  } cases[] = {
      {base + "/SABLONY/NOVE/MOJE.HTX", base + "/Sablony/nove/moje.htx"},
      {base + "/sablony\\NOVE\\moje.HTX", base + "/Sablony/nove/moje.htx"},  // backslashes separate folders too
      {base + "/SABLONY/nove/NEW.HTX", base + "/Sablony/nove/NEW.HTX"},       // a new file in the folder found
      {base + "/SABLONY/INE/MOJE.HTX", base + "/Sablony/INE/MOJE.HTX"},       // what does not exist stays as given
  };
  for (const auto& c : cases) EXPECT_EQ(ResolveFileName(c.asked), c.expected) << c.asked;
  fs::remove_all(dir);
}

TEST(DirectoryOf, KeepsTheFinalSlash) {
  EXPECT_EQ(DirectoryOf("/a/b/c.ini"), "/a/b/");
  EXPECT_EQ(DirectoryOf("c.ini"), "");
  EXPECT_EQ(DirectoryOf("/c.ini"), "/");
}

}  // namespace
}  // namespace korvena
