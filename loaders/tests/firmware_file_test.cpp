#include "korvena/loaders/firmware_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "korvena/loaders/firmware_fixture.h"
#include "korvena/loaders/xor_chain.h"
#include "loader_test_support.h"

namespace korvena::loaders {
namespace {

using testing::SizeField;

struct LayoutCase {
  const char* name;
  std::string bytes;
  FirmwareFile::Status expected;
  friend std::ostream& operator<<(std::ostream& os, const LayoutCase& c) { return os << c.name; }
};

class FirmwareLayoutTest : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(FirmwareLayoutTest, NeedsBothSizeFieldsAndBothWholeImages) {
  EXPECT_EQ(CheckFirmwareLayout(GetParam().bytes), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Files, FirmwareLayoutTest,
    ::testing::Values(LayoutCase{"empty", "", FirmwareFile::kTooShort},
                      LayoutCase{"three_bytes", std::string("\x01\x00\x00", 3), FirmwareFile::kTooShort},
                      LayoutCase{"no_second_size_field", SizeField(2) + "ab" + std::string("\x01\x00", 2),
                                 FirmwareFile::kTooShort},
                      LayoutCase{"second_image_cut", SizeField(2) + "ab" + SizeField(3) + "cd", FirmwareFile::kTooShort},
                      LayoutCase{"first_size_near_4_gib", SizeField(0xFFFFFFFE) + "abcdefgh", FirmwareFile::kTooShort},
                      LayoutCase{"second_size_near_4_gib", SizeField(0) + SizeField(0xFFFFFFFF) + "x",
                                 FirmwareFile::kTooShort},
                      LayoutCase{"two_empty_images", SizeField(0) + SizeField(0), FirmwareFile::kRead},
                      LayoutCase{"exact", SizeField(2) + "ab" + SizeField(3) + "cde", FirmwareFile::kRead},
                      LayoutCase{"trailing_bytes_are_allowed", SizeField(1) + "a" + SizeField(1) + "bXYZ",
                                 FirmwareFile::kRead}),
    [](const auto& p) { return std::string(p.param.name); });

TEST(FirmwareFile, EachImageRunsFromItsFirstByteToTheEndOfTheFile) {
  FirmwareFile file;
  file.bytes = SizeField(2) + "ab" + SizeField(3) + "cde";
  const FirmwareImage one = file.Image(1);
  EXPECT_EQ(one.number, 1);
  EXPECT_EQ(one.size, 2u);
  EXPECT_EQ(one.stored, "ab" + SizeField(3) + "cde");
  const FirmwareImage two = file.Image(2);
  EXPECT_EQ(two.number, 2);
  EXPECT_EQ(two.size, 3u);
  EXPECT_EQ(two.stored, "cde");
  EXPECT_EQ(two.ChainSeed(), 3);
}

TEST(ReadFirmwareFile, TellsMissingUnreadableShortAndGoodFilesApart) {
  ScratchFolder dir;
  const std::string good = SizeField(1) + "a" + SizeField(1) + "b";
  dir.Write("KORVENA.FW", good);
  dir.Write("short.fw", "\x05");
  std::filesystem::create_directory(dir.path() + "/folder.fw");

  const FirmwareFile found = ReadFirmwareFile(dir.path() + "/korvena.fw");
  EXPECT_EQ(found.status, FirmwareFile::kRead) << "names match without regard to case";
  EXPECT_EQ(found.bytes, good);
  EXPECT_EQ(ReadFirmwareFile(dir.path() + "/none.fw").status, FirmwareFile::kMissing);
  EXPECT_EQ(ReadFirmwareFile(dir.path() + "/short.fw").status, FirmwareFile::kTooShort);
  EXPECT_EQ(ReadFirmwareFile(dir.path() + "/folder.fw").status, FirmwareFile::kUnreadable);
}

// The sample the demo loads: each image must decode to its plain copy.
TEST(ReadFirmwareFile, TheSampleFileHoldsBothPlainImages) {
  const std::string data = KORVENA_LOADERS_TEST_DATA;
  const FirmwareFile file = ReadFirmwareFile(data + "/korvena.fw");
  ASSERT_EQ(file.status, FirmwareFile::kRead);
  for (const auto& [number, plainFile] : {std::pair{1, "/mega128.bin"}, std::pair{2, "/mega1281.bin"}}) {
    std::stringstream plain;
    plain << std::ifstream(data + plainFile, std::ios::binary).rdbuf();
    const FirmwareImage image = file.Image(number);
    XorChain chain(image.stored, image.ChainSeed());
    std::string decoded;
    for (uint32_t i = 0; i < image.size; ++i) decoded.push_back(static_cast<char>(chain.Next()));
    EXPECT_EQ(decoded, plain.str()) << plainFile;
  }
}

}  // namespace
}  // namespace korvena::loaders
