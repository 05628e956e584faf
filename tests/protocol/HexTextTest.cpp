#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "protocol/HexText.h"

namespace {

std::vector<uint8_t> Strict(const std::string& text) {
  std::vector<uint8_t> out(text.size() / 2 + 1);
  out.resize(DecodeHexText(text.data(), text.size(), out.data()));
  return out;
}

std::vector<uint8_t> Streamed(const std::string& text, size_t piece) {
  HexStreamDecoder decoder;
  std::vector<uint8_t> out;
  for (size_t i = 0; i < text.size(); i += piece) {
    const size_t n = std::min(piece, text.size() - i);
    std::vector<uint8_t> part(n / 2 + 1);
    part.resize(decoder.Decode(text.data() + i, n, part.data()));
    out.insert(out.end(), part.begin(), part.end());
  }
  return out;
}

using Bytes = std::vector<uint8_t>;

TEST(HexText, WritesTwoUpperCaseDigitsAndASpacePerByte) {
  const uint8_t bytes[] = {0xAA, 0xCC, 0x01, 0x00, 0xFF, 0x5e};
  EXPECT_EQ(ToHexText(bytes, sizeof bytes), "AA CC 01 00 FF 5E ");
  EXPECT_EQ(ToHexText(bytes, 0), "");
}

TEST(HexText, StrictRuleStopsWhereTheLogStopsBeingHex) {
  EXPECT_EQ(Strict("AA BB 0"), (Bytes{0xAA, 0xBB}));       // a lone last digit
  EXPECT_EQ(Strict("aa bb "), (Bytes{0xAA, 0xBB}));        // lower case is fine
  EXPECT_EQ(Strict("AA BB\r\nCC "), (Bytes{0xAA, 0xBB}));  // a line break ends it
  EXPECT_EQ(Strict("AABB"), (Bytes{0xAA, 0xBB}));          // spaces are optional
  EXPECT_EQ(Strict("   "), Bytes{});
  EXPECT_EQ(Strict("A B"), Bytes{});  // a pair split by a space
  EXPECT_EQ(Strict("0G 11"), Bytes{});
}

TEST(HexText, StreamDecoderAgreesWithTheStrictRuleOnLogs) {
  std::vector<uint8_t> bytes(3000);
  for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = uint8_t(i * 7 + i / 256);
  std::string text = ToHexText(bytes.data(), bytes.size());
  text[10] = char(std::tolower(text[10]));
  for (size_t piece : {1, 2, 3, 4, 7, 1000, 9000}) {
    EXPECT_EQ(Streamed(text, piece), Strict(text)) << piece;
  }
  EXPECT_EQ(Strict(text), bytes);
}

TEST(HexText, StreamDecoderResynchronisesAfterStrayCharacters) {
  // An editor's line break or a torn write costs at most the pair it hits.
  EXPECT_EQ(Streamed("AA BB\r\nCC DD ", 4), (Bytes{0xAA, 0xBB, 0xCC, 0xDD}));
  EXPECT_EQ(Streamed("AA B\nCC ", 100), (Bytes{0xAA, 0xCC}));
  EXPECT_EQ(Streamed("A A BB", 100), (Bytes{0xBB}));
  EXPECT_EQ(Streamed("zzzz", 1), Bytes{});
}

}  // namespace
