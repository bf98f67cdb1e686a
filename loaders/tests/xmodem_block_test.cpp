#include "korvena/loaders/xmodem_block.h"

#include <gtest/gtest.h>

#include <string>

#include "korvena/loaders/firmware_fixture.h"
#include "korvena/loaders/xor_chain.h"

namespace korvena::loaders {
namespace {

uint16_t Crc(const std::string& bytes) { return XmodemCrc(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()); }

TEST(XmodemCrc, MatchesTheKnownCheckValues) {
  EXPECT_EQ(Crc(""), 0x0000);
  EXPECT_EQ(Crc("123456789"), 0x31C3);
  EXPECT_EQ(Crc(std::string(128, '\xFF')), 0xEDA9);
}

struct BlockCase {
  uint8_t number;
  uint8_t complement;
  friend std::ostream& operator<<(std::ostream& os, const BlockCase& c) { return os << "block " << int(c.number); }
};

class XmodemBlockTest : public ::testing::TestWithParam<BlockCase> {};

TEST_P(XmodemBlockTest, HasHeaderDataAndCrcHighByteFirst) {
  BlockData data;
  for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<uint8_t>(i);
  const XmodemBlock block = BuildXmodemBlock(GetParam().number, data);
  EXPECT_EQ(block[0], 0x01);
  EXPECT_EQ(block[1], GetParam().number);
  EXPECT_EQ(block[2], GetParam().complement);
  EXPECT_TRUE(std::equal(data.begin(), data.end(), block.begin() + 3));
  EXPECT_EQ(block[131], 0xE8);  // CRC of the bytes 0 to 127 is 0xE80A
  EXPECT_EQ(block[132], 0x0A);
}

INSTANTIATE_TEST_SUITE_P(Numbers, XmodemBlockTest,
                         ::testing::Values(BlockCase{1, 0xFE}, BlockCase{255, 0x00}, BlockCase{0, 0xFF},
                                           BlockCase{0x5A, 0xA5}));

TEST(XorChain, StartsFromTheSeedAndSendsZerosOnceTheFileHasEnded) {
  XorChain chain("\x10\x30\x70", 0x05);
  const uint8_t expected[] = {0x15, 0x20, 0x40, 0x00, 0x00};
  for (const uint8_t byte : expected) EXPECT_EQ(chain.Next(), byte);
}

TEST(XorChain, UndoesTheStoredForm) {
  for (const std::size_t size : {1u, 255u, 256u, 1000u}) {
    const std::string plain = testing::SampleImage(size, 7);
    const std::string stored = testing::ChainImage(plain);
    XorChain chain(stored, static_cast<uint8_t>(size & 0xFF));
    std::string decoded;
    for (std::size_t i = 0; i < size; ++i) decoded.push_back(static_cast<char>(chain.Next()));
    EXPECT_EQ(decoded, plain) << size;
  }
}

}  // namespace
}  // namespace korvena::loaders
