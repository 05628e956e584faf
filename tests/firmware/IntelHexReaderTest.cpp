#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "device/IntelHexReader.h"
#include "device/IntelHexRecord.h"
#include "tests/firmware/TestImages.h"

namespace {

using test_images::Record;

std::vector<uint8_t> Count(size_t n, uint8_t first = 0) {
  std::vector<uint8_t> bytes(n);
  for (size_t i = 0; i < n; ++i) bytes[i] = uint8_t(first + i);
  return bytes;
}

std::vector<uint8_t> Joined(std::vector<uint8_t> a, const std::vector<uint8_t>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

const std::string kEnd = ":00000001FF\n";

TEST(IntelHexReaderTest, DataRecordsBecomeTheImageInFileOrder) {
  const auto one = IntelHexReader::Read(Record(0, 0x0000, Count(16)) + "\n" + kEnd);
  ASSERT_TRUE(one.Sound()) << one.fault;
  EXPECT_EQ(one.image, Count(16));
  EXPECT_TRUE(one.endOfFileSeen);

  const auto counts = IntelHexReader::Read(Record(0, 0, Count(0x0C)) + "\n" +
                                           Record(0, 0x0C, Count(0x20, 0x40)) + "\n" + kEnd);
  EXPECT_EQ(counts.image, Joined(Count(12), Count(32, 0x40)));

  // Address records add nothing, and data far apart is appended back to back.
  const std::string spread = Record(2, 0, {0x10, 0x00}) + "\n" + Record(4, 0, {0x08, 0x00}) + "\n" +
                             Record(0, 0x0000, Count(4, 1)) + "\n" +
                             Record(0, 0xF000, Count(3, 9)) + "\n" + Record(3, 0, {0, 0, 1, 0}) +
                             "\n" + Record(5, 0, {8, 0, 0, 0}) + "\n" + kEnd;
  const auto apart = IntelHexReader::Read(spread);
  ASSERT_TRUE(apart.Sound()) << apart.fault;
  EXPECT_EQ(apart.image, Joined(Count(4, 1), Count(3, 9)));

  // Records after the end record are read like the others.
  const auto after = IntelHexReader::Read(kEnd + Record(0, 0, Count(2)) + "\n");
  EXPECT_EQ(after.image, Count(2));
  EXPECT_TRUE(after.endOfFileSeen);
}

TEST(IntelHexReaderTest, LongRecordsLineEndsAndEmptyLinesAreHandled) {
  const std::string longest = Record(0, 0, Count(255));
  ASSERT_GT(longest.size(), 500u);
  const std::string text = longest + "\r\n\r\n" + Record(0, 0, Count(52)) + "  \r\n" +
                           ":00000001ff\r\n\r\n";  // lower-case digits, a trailing empty line
  const auto result = IntelHexReader::Read(text);
  ASSERT_TRUE(result.Sound()) << result.fault << " line " << result.faultLine;
  EXPECT_EQ(result.image, Joined(Count(255), Count(52)));
  EXPECT_TRUE(result.endOfFileSeen);

  const auto unterminated = IntelHexReader::Read(Record(0, 0, Count(3)) + "\n:00000001FF");
  EXPECT_TRUE(unterminated.endOfFileSeen);
  EXPECT_EQ(unterminated.image, Count(3));

  const auto noEnd = IntelHexReader::Read(Record(0, 0, Count(3)) + "\n");
  EXPECT_TRUE(noEnd.Sound());
  EXPECT_FALSE(noEnd.endOfFileSeen);
  EXPECT_EQ(noEnd.image, Count(3));
}

TEST(IntelHexReaderTest, TheFirstBadRecordRefusesTheFileWithItsLineAndFault) {
  const std::string good = Record(0, 0, Count(16)) + "\n";
  std::string badSum = Record(0, 0x10, Count(16));
  badSum.back() = badSum.back() == '0' ? '1' : '0';

  const std::string four = Record(0, 0, Count(4));
  struct Case {
    std::string line;
    const char* fault;
  };
  const std::vector<Case> cases{
      {badSum, IntelHexFault::kBadChecksum},
      {Record(0, 0, Count(4)).substr(1), IntelHexFault::kMissingColon},
      {"\t" + four, IntelHexFault::kMissingColon},
      {":0400000001020G0304F2", IntelHexFault::kNotHex},
      {Record(0, 0, Count(4)) + "0", IntelHexFault::kOddDigits},
      {":00000001", IntelHexFault::kTooShort},
      {":", IntelHexFault::kTooShort},
      {":0500000001020304F2", IntelHexFault::kCountMismatch},
      {Record(0, 0, Count(4)) + "00", IntelHexFault::kCountMismatch},
      {Record(6, 0, Count(2)), IntelHexFault::kUnknownType},
      {Record(0x10, 0, {}), IntelHexFault::kUnknownType},
  };
  for (const Case& c : cases) {
    // Line 3: a good line and an empty one come before it, and a good end after.
    const auto result = IntelHexReader::Read(good + "\n" + c.line + "\n" + good + kEnd);
    EXPECT_FALSE(result.Sound()) << c.line;
    EXPECT_EQ(result.faultLine, 3) << c.line;
    EXPECT_EQ(result.fault, c.fault) << c.line;
    EXPECT_TRUE(result.image.empty()) << c.line;
    EXPECT_FALSE(result.endOfFileSeen) << c.line;
  }
}

TEST(IntelHexReaderTest, AWholeGeneratedFileReadsBackToItsImage) {
  const auto image = test_images::Pattern(70000);  // crosses a 64 KiB address boundary
  for (size_t perRecord : {16u, 32u, 255u}) {
    const auto result = IntelHexReader::Read(test_images::HexFile(image, perRecord));
    ASSERT_TRUE(result.Sound()) << result.fault << " line " << result.faultLine;
    EXPECT_EQ(result.image, image) << perRecord;
  }
}

}  // namespace
