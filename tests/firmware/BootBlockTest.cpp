#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "device/BootBlock.h"
#include "protocol/Crc16Xmodem.h"
#include "tests/firmware/ExpectedPacket.h"

namespace {

std::vector<uint8_t> Bytes(const BootBlock::Packet& packet) {
  return {packet.begin(), packet.end()};
}

TEST(Crc16XmodemTest, MatchesTheCheckValueAndLongDivision) {
  const std::string check = "123456789";
  EXPECT_EQ(Crc16Xmodem(reinterpret_cast<const uint8_t*>(check.data()), check.size()), 0x31C3);
  std::vector<uint8_t> data(128);
  for (size_t i = 0; i < data.size(); ++i) data[i] = uint8_t(i * 37 + 5);
  EXPECT_EQ(Crc16Xmodem(data.data(), data.size()), expected_packet::Crc(data));
  EXPECT_EQ(Crc16Xmodem(nullptr, 0), 0);
}

TEST(BootBlockTest, TheHeaderCarriesNameNulSizeAndTwoSpaces) {
  const auto header = Bytes(BootBlock::Header("APP.hex", 1024));
  ASSERT_EQ(header.size(), 133u);
  EXPECT_EQ(header, expected_packet::Header("APP.hex", 1024));
  const std::vector<uint8_t> field(header.begin() + 3, header.begin() + 3 + 14);
  EXPECT_EQ(field, (std::vector<uint8_t>{'A', 'P', 'P', '.', 'h', 'e', 'x', 0, '1', '0', '2', '4',
                                         ' ', ' '}));
  for (size_t i = 3 + 14; i < 131; ++i) EXPECT_EQ(header[i], 0) << i;
  EXPECT_EQ(header[0], 0x01);
  EXPECT_EQ(header[1], 0x00);
  EXPECT_EQ(header[2], 0xFF);

  const auto zeroSize = Bytes(BootBlock::Header("a", 0));
  EXPECT_EQ(zeroSize, expected_packet::Header("a", 0));
}

TEST(BootBlockTest, DataBlocksAreNumberedByTheLow8BitsAndZeroPadded) {
  const std::vector<uint8_t> bytes{9, 8, 7};
  const auto first = Bytes(BootBlock::Data(1, bytes.data(), bytes.size()));
  EXPECT_EQ(first, expected_packet::Packet(1, bytes));
  EXPECT_EQ(first[2], 0xFE);
  const auto wrapped = Bytes(BootBlock::Data(256, bytes.data(), bytes.size()));
  EXPECT_EQ(wrapped[1], 0x00);
  EXPECT_EQ(wrapped[2], 0xFF);
  const auto last = Bytes(BootBlock::Data(255, bytes.data(), bytes.size()));
  EXPECT_EQ(last[1], 0xFF);
  EXPECT_EQ(last[2], 0x00);

  const auto closing = Bytes(BootBlock::Closing());
  EXPECT_EQ(closing, expected_packet::Packet(0, {}));
  EXPECT_EQ(closing[131], 0);
  EXPECT_EQ(closing[132], 0);
}

TEST(BootBlockTest, LongNamesAreShortenedWithoutSplittingACharacter) {
  EXPECT_EQ(BootBlock::ShortenedName("nineteen-bytes-.hex"), "nineteen-bytes-.hex");
  EXPECT_EQ(BootBlock::ShortenedName("firmware-v2.3.4-release.hex"), "firmware-v2.3.4-rel");
  // Three bytes a character: six whole characters fit, the seventh would not.
  const std::string chinese = "固件升级程序版本二.hex";
  EXPECT_EQ(BootBlock::ShortenedName(chinese), chinese.substr(0, 18));
  // One byte, then two-byte characters: 1 + 9 * 2 = 19 bytes end on a boundary.
  const std::string mixed =
      "a\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9";
  EXPECT_EQ(BootBlock::ShortenedName(mixed), mixed.substr(0, 19));
  EXPECT_EQ(BootBlock::ShortenedName(mixed.substr(1)), mixed.substr(1, 18));

  const auto header = Bytes(BootBlock::Header("firmware-v2.3.4-release.hex", 300));
  EXPECT_EQ(header, expected_packet::Header("firmware-v2.3.4-rel", 300));
}

}  // namespace
