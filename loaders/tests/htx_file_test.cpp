#include "korvena/loaders/htx_file.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "loader_test_support.h"

namespace korvena::loaders {
namespace {

struct ReadCase {
  const char* name;
  std::size_t size;  // of the file written; SIZE_MAX for none
  HtxFile::Status expected;
  friend std::ostream& operator<<(std::ostream& os, const ReadCase& c) { return os << c.name; }
};

class ReadHtxFileTest : public ::testing::TestWithParam<ReadCase> {};

TEST_P(ReadHtxFileTest, ReadsWholeFilesThatFitTheBuffer) {
  ScratchFolder dir;
  const std::string bytes(GetParam().size == SIZE_MAX ? 0 : GetParam().size, '\xF7');
  if (GetParam().size != SIZE_MAX) dir.Write("t.htx", bytes);
  const HtxFile file = ReadHtxFile(dir.path() + "/T.HTX");
  EXPECT_EQ(file.status, GetParam().expected);
  EXPECT_EQ(file.bytes, GetParam().expected == HtxFile::kRead ? bytes : "");
}

INSTANTIATE_TEST_SUITE_P(Sizes, ReadHtxFileTest,
                         ::testing::Values(ReadCase{"missing", SIZE_MAX, HtxFile::kMissing},
                                           ReadCase{"empty", 0, HtxFile::kRead},
                                           ReadCase{"full_buffer", 5120, HtxFile::kRead},
                                           ReadCase{"one_byte_over", 5121, HtxFile::kTooLarge},
                                           ReadCase{"far_over", 70000, HtxFile::kTooLarge}),
                         [](const auto& p) { return std::string(p.param.name); });

TEST(ReadHtxFile, AFolderIsUnreadable) {
  ScratchFolder dir;
  std::filesystem::create_directory(dir.path() + "/a.htx");
  EXPECT_EQ(ReadHtxFile(dir.path() + "/a.htx").status, HtxFile::kUnreadable);
}

}  // namespace
}  // namespace korvena::loaders
