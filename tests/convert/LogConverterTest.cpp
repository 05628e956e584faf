#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <random>

#include "convert/ConvertedTextFormat.h"
#include "convert/LogConverter.h"
#include "protocol/FrameHeader.h"
#include "protocol/HexText.h"
#include "protocol/PorotocalRtkAnalyse.h"
#include "tests/protocol/TestFrames.h"
#include "tools/makelog/DemoLog.h"

namespace {

using File = std::unique_ptr<std::FILE, int (*)(std::FILE*)>;

File MemoryFile(const std::string& content) {
  File f(std::tmpfile(), &std::fclose);
  std::fwrite(content.data(), 1, content.size(), f.get());
  std::rewind(f.get());
  return f;
}

std::string ReadAll(std::FILE* f) {
  std::rewind(f);
  std::string out;
  char buffer[65536];
  size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) out.append(buffer, n);
  return out;
}

std::string Convert(const std::string& log, const ConvertColumns& columns,
                    LogConverter::Result* result = nullptr) {
  CPorotocalRtkAnalyse analyser;
  LogConverter converter(analyser, columns);
  File in = MemoryFile(log);
  File out(std::tmpfile(), &std::fclose);
  const auto r = converter.Convert(in.get(), out.get());
  if (result) *result = r;
  return ReadAll(out.get());
}

// The reading rule done the slow way, one log position at a time: read nine
// characters, and where they open a frame read the whole frame, sized by its
// own header. A frame that fails, or is cut off, moves the reading on by one
// byte; a good one by its length.
std::string ConvertByteByByte(const std::string& log, const ConvertColumns& columns) {
  CPorotocalRtkAnalyse a;
  std::string out = HeaderLine(columns);
  size_t pos = 0;
  uint8_t bytes[300];
  while (pos + 9 <= log.size()) {
    const size_t n = DecodeHexText(log.data() + pos, 9, bytes);
    const int length = n >= 2 ? FrameLengthForHeader(bytes[0], bytes[1]) : 0;
    if (length == 0 || pos + 3 * size_t(length) > log.size()) {
      pos += 3;
      continue;
    }
    DecodeHexText(log.data() + pos, 3 * size_t(length), bytes);
    a.LoadFrame(length, bytes);
    if (a.CheckFrame()) {
      DecodeCurrentFrame(a);
      AppendRow(out, a.Decoded(), columns);
      pos += 3 * size_t(length);
    } else {
      pos += 3;
    }
  }
  return out;
}

template <typename Frame>
std::vector<uint8_t> Vec(const Frame& frame) {
  return {frame.begin(), frame.end()};
}

std::string Hex(const std::vector<uint8_t>& bytes) {
  return ToHexText(bytes.data(), bytes.size());
}

TEST(LogConverter, AgreesWithTheByteByByteRuleOnNoisyMixedLogs) {
  ConvertColumns all;
  all.selected.fill(true);
  for (uint32_t seed = 1; seed <= 4; ++seed) {
    DemoLogOptions options;
    options.frames = 400;
    options.noisePercent = seed * 5.0;
    options.seed = seed;
    std::vector<uint8_t> bytes = MakeDemoStream(options);
    // Damage a few frames so failed checks are exercised too.
    std::mt19937 rng(seed);
    for (int k = 0; k < 20; ++k) bytes[rng() % bytes.size()] ^= 0x40;
    std::string log = Hex(bytes);
    for (size_t k = 0; k < log.size(); k += 97) log[k] = char(std::tolower(log[k]));
    LogConverter::Result result;
    const std::string fast = Convert(log, all, &result);
    EXPECT_EQ(fast, ConvertByteByByte(log, all)) << "seed " << seed;
    EXPECT_GT(result.rows, 350u);
  }
}

TEST(LogConverter, KeepsTheFirstFrameAndEveryChangeOfKind) {
  std::vector<uint8_t> bytes;
  Append(bytes, BuildFrame120(FullSample(1)));
  Append(bytes, BuildFrame220(FullSample(2)));
  Append(bytes, BuildFrame120(FullSample(3)));
  LogConverter::Result result;
  Convert(Hex(bytes), ConvertColumns::Default(), &result);
  EXPECT_EQ(result.rows, 3u);
}

// A unit switched to 76-byte frames keeps giving rows; a lone look-alike
// between other frames gives none.
TEST(LogConverter, ARunOfFrame76GivesRowsALoneOneNone) {
  std::vector<std::vector<uint8_t>> frames = {
      Vec(BuildFrame120(FullSample(1))), Vec(BuildFrame76(FullSample(2))),
      Vec(BuildFrame120(FullSample(3))), Vec(BuildFrame76(FullSample(4))),
      Vec(BuildFrame76(FullSample(5))),  Vec(BuildFrame76(FullSample(6)))};
  std::vector<uint8_t> bytes;
  for (const auto& frame : frames) bytes.insert(bytes.end(), frame.begin(), frame.end());
  LogConverter::Result result;
  const std::string text = Convert(Hex(bytes), ConvertColumns::Default(), &result);
  EXPECT_EQ(result.rows, 5u);

  // The rows are those of every frame but the lone one, decoded in turn.
  CPorotocalRtkAnalyse analyser;
  std::string expected = HeaderLine(ConvertColumns::Default());
  for (size_t i : {0, 2, 3, 4, 5}) {
    analyser.LoadFrame(int(frames[i].size()), frames[i].data());
    ASSERT_TRUE(analyser.CheckFrame()) << i;
    DecodeCurrentFrame(analyser);
    AppendRow(expected, analyser.Decoded(), ConvertColumns::Default());
  }
  EXPECT_EQ(text, expected);
}

TEST(LogConverter, CutOffFramesAtTheEndGiveNoRowButWhatIsBehindAFalseHeaderDoes) {
  std::vector<uint8_t> bytes = {0xBA, 0xBB, 0x00};  // a false header, too short to be a frame
  Append(bytes, BuildFrame120(FullSample()));
  const auto cut = BuildFrame120(FullSample());
  bytes.insert(bytes.end(), cut.begin(), cut.begin() + 100);
  LogConverter::Result result;
  Convert(Hex(bytes), ConvertColumns::Default(), &result);
  EXPECT_EQ(result.rows, 1u);
}

TEST(LogConverter, EmptySelectionGivesAnEmptyFile) {
  std::vector<uint8_t> bytes;
  Append(bytes, BuildFrame120(FullSample()));
  EXPECT_EQ(Convert(Hex(bytes), ConvertColumns{}), "");
}

TEST(LogConverter, StrayCharactersNeverInventAFrame) {
  std::vector<uint8_t> bytes;
  Append(bytes, BuildFrame120(FullSample()));
  std::string log = Hex(bytes);
  // A line break inside a frame loses the pair it hits, so that frame fails;
  // the frame after it is still found.
  std::string damaged = log.substr(0, 30) + "\r\n" + log.substr(31) + log;
  LogConverter::Result result;
  Convert(damaged, ConvertColumns::Default(), &result);
  EXPECT_EQ(result.rows, 1u);
  // Text that is no log at all converts to just the header.
  EXPECT_EQ(Convert("hello, world\n\x01\xFF AA BB", ConvertColumns::Default()),
            HeaderLine(ConvertColumns::Default()));
}

TEST(LogConverter, FramesAcrossReadBlocksAreFound) {
  DemoLogOptions options;
  options.frames = 40000;  // well over one read block of text
  options.noisePercent = 3;
  const std::vector<uint8_t> bytes = MakeDemoStream(options);
  const std::string log = Hex(bytes);
  ASSERT_GT(log.size(), LogConverter::kBlockChars);
  LogConverter::Result result;
  Convert(log, ConvertColumns::Default(), &result);
  EXPECT_EQ(result.rows, options.frames);
}

TEST(LogConverter, ReportsProgressUpToTheWholeLog) {
  std::vector<uint8_t> bytes;
  Append(bytes, BuildFrame120(FullSample()));
  const std::string log = Hex(bytes);
  CPorotocalRtkAnalyse analyser;
  LogConverter converter(analyser, ConvertColumns::Default());
  File in = MemoryFile(log);
  File out(std::tmpfile(), &std::fclose);
  uint64_t last = 0;
  converter.Convert(in.get(), out.get(), log.size(), [&](uint64_t done, uint64_t total) {
    EXPECT_EQ(total, log.size());
    last = done;
  });
  EXPECT_EQ(last, log.size());
}

}  // namespace
