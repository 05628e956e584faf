#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "BmpBytes.h"
#include "view3d/model/BitmapFile.h"
#include "view3d/model/DibDecoder.h"

namespace {

using Rgb = std::array<uint8_t, 3>;

BitmapResult Decode(const BmpSpec& layout) {
  return DibDecoder::decode(MakeBmp(layout));
}

// The pixel at x of the row counted from the bottom.
Rgb At(const RGBImage& image, int x, int rowFromBottom) {
  const uint8_t* p = image.data.data() + (rowFromBottom * image.width + x) * 3;
  return {p[0], p[1], p[2]};
}

const Rgb kRed{255, 0, 0}, kGreen{0, 255, 0}, kBlue{0, 0, 255}, kWhite{255, 255, 255},
    kBlack{0, 0, 0}, kGrey{10, 20, 30};

BmpSpec TwentyFour(int width, int height) {
  BmpSpec layout;
  layout.width = width;
  layout.height = height;
  layout.bitCount = 24;
  // Row r from the bottom, pixel x: R = 10x + 1, G = 20r + 2, B = 3.
  layout.pixels = PackRows(width, std::abs(height), 24, [](int x, int r) {
    return (uint32_t{3}) | (uint32_t(20 * r + 2) << 8) | (uint32_t(10 * x + 1) << 16);
  });
  return layout;
}

}  // namespace

TEST(DibDecoder, TwentyFourBitsSkipRowPaddingAndKeepBottomRowFirst) {
  for (bool fileHeader : {true, false}) {
    BmpSpec layout = TwentyFour(3, 2);  // 9 bytes a row plus 3 of padding
    layout.fileHeader = fileHeader;
    const BitmapResult result = Decode(layout);
    ASSERT_EQ(result.status, BitmapStatus::Ok);
    const RGBImage& image = *result.image;
    EXPECT_EQ(image.width, 3);
    EXPECT_EQ(image.height, 2);
    ASSERT_EQ(image.data.size(), 18u);
    EXPECT_EQ(At(image, 0, 0), (Rgb{1, 2, 3}));
    EXPECT_EQ(At(image, 2, 0), (Rgb{21, 2, 3}));
    EXPECT_EQ(At(image, 1, 1), (Rgb{11, 22, 3}));
  }
}

TEST(DibDecoder, TopDownFileComesOutBottomRowFirst) {
  BmpSpec layout = TwentyFour(2, -3);
  const BitmapResult result = Decode(layout);
  ASSERT_EQ(result.status, BitmapStatus::Ok);
  EXPECT_EQ(result.image->height, 3);
  // File row 0 is the top one now, so it lands last.
  EXPECT_EQ(At(*result.image, 1, 2), (Rgb{11, 2, 3}));
  EXPECT_EQ(At(*result.image, 0, 0), (Rgb{1, 42, 3}));
}

TEST(DibDecoder, PaletteDepthsOfBothHeaderKinds) {
  for (bool core : {false, true}) {
    for (int bits : {1, 4, 8}) {
      BmpSpec layout;
      layout.core = core;
      layout.width = 11;  // rows that end inside a byte
      layout.height = 2;
      layout.bitCount = static_cast<uint16_t>(bits);
      const int colours = 1 << bits;
      for (int i = 0; i < colours; ++i) {
        layout.palette.push_back(
            {static_cast<uint8_t>(i), static_cast<uint8_t>(255 - i), static_cast<uint8_t>(i * 7)});
      }
      auto index = [colours](int x, int r) { return uint32_t((x * 5 + r * 3) % colours); };
      layout.pixels = PackRows(11, 2, bits, index);
      const BitmapResult result = Decode(layout);
      ASSERT_EQ(result.status, BitmapStatus::Ok) << core << " " << bits;
      for (int r = 0; r < 2; ++r) {
        for (int x = 0; x < 11; ++x) {
          EXPECT_EQ(At(*result.image, x, r), layout.palette[index(x, r)])
              << core << " " << bits << " " << x << " " << r;
        }
      }
    }
  }
}

TEST(DibDecoder, CoreHeaderTwentyFourBits) {
  BmpSpec layout = TwentyFour(5, 2);
  layout.core = true;
  const BitmapResult result = Decode(layout);
  ASSERT_EQ(result.status, BitmapStatus::Ok);
  EXPECT_EQ(At(*result.image, 4, 1), (Rgb{41, 22, 3}));
}

TEST(DibDecoder, ShortColourTableFollowsUsedColourCount) {
  for (bool fileHeader : {true, false}) {
    BmpSpec layout;
    layout.fileHeader = fileHeader;
    layout.width = 3;
    layout.height = 1;
    layout.bitCount = 8;
    layout.usedColours = 2;
    layout.palette = {kWhite, kBlue};
    layout.pixels = {1, 0, 7, 0};  // 7 lies beyond the table
    const BitmapResult result = Decode(layout);
    ASSERT_EQ(result.status, BitmapStatus::Ok);
    EXPECT_EQ(At(*result.image, 0, 0), kBlue);
    EXPECT_EQ(At(*result.image, 1, 0), kWhite);
    EXPECT_EQ(At(*result.image, 2, 0), kBlack);
  }
}

TEST(DibDecoder, SixteenAndThirtyTwoBits) {
  BmpSpec s555;
  s555.width = 2;
  s555.bitCount = 16;
  s555.pixels = PackRows(2, 1, 16, [](int x, int) { return x == 0 ? 0x7C00u : 0x03FFu; });
  BitmapResult result = Decode(s555);
  ASSERT_EQ(result.status, BitmapStatus::Ok);
  EXPECT_EQ(At(*result.image, 0, 0), kRed);
  EXPECT_EQ(At(*result.image, 1, 0), (Rgb{0, 255, 255}));

  BmpSpec s565 = s555;
  s565.compression = 3;
  s565.masks = {0xF800, 0x07E0, 0x001F};
  s565.pixels = PackRows(2, 1, 16, [](int x, int) { return x == 0 ? 0x07E0u : 0x8010u; });
  result = Decode(s565);
  ASSERT_EQ(result.status, BitmapStatus::Ok);
  EXPECT_EQ(At(*result.image, 0, 0), kGreen);
  EXPECT_EQ(At(*result.image, 1, 0), (Rgb{132, 0, 132}));

  BmpSpec s32;
  s32.width = 2;
  s32.bitCount = 32;
  s32.pixels = PackRows(2, 1, 32, [](int x, int) { return x == 0 ? 0xFF102030u : 0x00405060u; });
  result = Decode(s32);
  ASSERT_EQ(result.status, BitmapStatus::Ok);
  EXPECT_EQ(At(*result.image, 0, 0), (Rgb{0x10, 0x20, 0x30}));
  EXPECT_EQ(At(*result.image, 1, 0), (Rgb{0x40, 0x50, 0x60}));

  BmpSpec fields = s32;
  fields.compression = 3;
  fields.masks = {0x000000FF, 0x0000FF00, 0x00FF0000};
  result = Decode(fields);
  ASSERT_EQ(result.status, BitmapStatus::Ok);
  EXPECT_EQ(At(*result.image, 0, 0), (Rgb{0x30, 0x20, 0x10}));
}

TEST(DibDecoder, RunLengthEightWithRunsLiteralsLineEndsAndMoves) {
  BmpSpec layout;
  layout.width = 6;
  layout.height = 3;
  layout.bitCount = 8;
  layout.compression = 1;
  layout.palette.assign(256, kGrey);
  layout.palette[1] = kRed;
  layout.palette[2] = kGreen;
  layout.palette[3] = kBlue;
  layout.pixels = {
      3, 1,        // three red
      0, 3,        // a literal of three:
      2, 3, 2, 0,  // green blue green, padded to a word
      0, 0,        // end of line
      0, 2, 2, 1,  // move two right and one up: row 2, x 2
      2, 3,        // two blue
      0, 1,        // end of bitmap
  };
  const BitmapResult result = Decode(layout);
  ASSERT_EQ(result.status, BitmapStatus::Ok);
  const RGBImage& image = *result.image;
  EXPECT_EQ(At(image, 0, 0), kRed);
  EXPECT_EQ(At(image, 2, 0), kRed);
  EXPECT_EQ(At(image, 3, 0), kGreen);
  EXPECT_EQ(At(image, 4, 0), kBlue);
  EXPECT_EQ(At(image, 5, 0), kGreen);
  EXPECT_EQ(At(image, 0, 1), kBlack);  // skipped by the move
  EXPECT_EQ(At(image, 2, 2), kBlue);
  EXPECT_EQ(At(image, 3, 2), kBlue);
  EXPECT_EQ(At(image, 4, 2), kBlack);
}

TEST(DibDecoder, RunLengthFour) {
  BmpSpec layout;
  layout.width = 5;
  layout.height = 2;
  layout.bitCount = 4;
  layout.compression = 2;
  layout.palette.assign(16, kGrey);
  layout.palette[1] = kRed;
  layout.palette[2] = kGreen;
  layout.palette[3] = kBlue;
  layout.pixels = {
      5, 0x12,              // red green red green red
      0, 0,                 // end of line
      0, 3,    0x31, 0x20,  // literal blue red green, padded to a word
      0, 1,
  };
  const BitmapResult result = Decode(layout);
  ASSERT_EQ(result.status, BitmapStatus::Ok);
  EXPECT_EQ(At(*result.image, 0, 0), kRed);
  EXPECT_EQ(At(*result.image, 1, 0), kGreen);
  EXPECT_EQ(At(*result.image, 4, 0), kRed);
  EXPECT_EQ(At(*result.image, 0, 1), kBlue);
  EXPECT_EQ(At(*result.image, 1, 1), kRed);
  EXPECT_EQ(At(*result.image, 2, 1), kGreen);
  EXPECT_EQ(At(*result.image, 3, 1), kBlack);
}

TEST(DibDecoder, RunsBeyondThePictureAreClippedAndShortDataEndsIt) {
  BmpSpec layout;
  layout.width = 2;
  layout.height = 2;
  layout.bitCount = 8;
  layout.compression = 1;
  layout.palette = {kBlack, kRed};
  layout.usedColours = 2;
  layout.pixels = {255, 1, 0, 2, 200, 200, 0};  // a long run, a move far away, a cut escape
  const BitmapResult result = Decode(layout);
  ASSERT_EQ(result.status, BitmapStatus::Ok);
  EXPECT_EQ(At(*result.image, 1, 0), kRed);
  EXPECT_EQ(At(*result.image, 0, 1), kBlack);
}

TEST(DibDecoder, HeadersOfOtherSizesAreUnknown) {
  for (uint32_t size : {1u, 16u, 64u, 108u, 124u}) {
    BmpSpec layout = TwentyFour(1, 1);
    layout.headerSize = size;
    EXPECT_EQ(Decode(layout).status, BitmapStatus::UnknownFormat) << size;
  }
}

TEST(DibDecoder, RefusesWhatDoesNotFitTheFile) {
  auto status = [](auto&& change) {
    BmpSpec layout = TwentyFour(4, 4);
    change(layout);
    return Decode(layout).status;
  };
  auto bytesStatus = [](std::vector<uint8_t> bytes) { return DibDecoder::decode(bytes).status; };
  const auto kError = BitmapStatus::ConversionError;

  EXPECT_EQ(status([](BmpSpec& s) { s.pixels.pop_back(); }), kError);
  EXPECT_EQ(status([](BmpSpec& s) { s.pixelOffsetAdjust = 4; }), kError);
  EXPECT_EQ(status([](BmpSpec& s) { s.pixelOffsetAdjust = 100000; }), kError);
  EXPECT_EQ(status([](BmpSpec& s) { s.pixelOffsetAdjust = -30; }), kError);  // into the header
  EXPECT_EQ(status([](BmpSpec& s) { s.width = 0; }), kError);
  EXPECT_EQ(status([](BmpSpec& s) { s.height = 0; }), kError);
  EXPECT_EQ(status([](BmpSpec& s) { s.width = -4; }), kError);
  EXPECT_EQ(status([](BmpSpec& s) { s.width = 100000; }), kError);
  EXPECT_EQ(status([](BmpSpec& s) { s.height = INT32_MIN; }), kError);
  EXPECT_EQ(status([](BmpSpec& s) { s.width = s.height = 16000; }), kError);  // absurd area
  EXPECT_EQ(status([](BmpSpec& s) { s.bitCount = 2; }), kError);
  EXPECT_EQ(status([](BmpSpec& s) { s.compression = 4; }), kError);  // JPEG inside
  EXPECT_EQ(status([](BmpSpec& s) { s.compression = 3; }), kError);  // masks need 16 or 32
  EXPECT_EQ(status([](BmpSpec& s) {
              s.bitCount = 8;
              s.compression = 1;
              s.height = -4;  // run-length pictures are never top-down
              s.palette.assign(256, {});
            }),
            kError);
  EXPECT_EQ(status([](BmpSpec& s) {
              s.bitCount = 32;
              s.compression = 3;
              s.masks = {0, 0xFF00, 0xFF};
              s.pixels.assign(64, 0);
            }),
            kError);
  EXPECT_EQ(status([](BmpSpec& s) {
              s.core = true;
              s.bitCount = 16;
            }),
            kError);
  EXPECT_EQ(status([](BmpSpec& s) {
              s.bitCount = 8;
              s.usedColours = 1000000;  // a table larger than the file
              s.pixels.assign(16, 0);
            }),
            kError);

  // Too short for its own headers.
  const std::vector<uint8_t> whole = MakeBmp(TwentyFour(4, 4));
  for (size_t cut : {0, 1, 2, 13, 14, 17, 30, 53}) {
    EXPECT_EQ(bytesStatus({whole.begin(), whole.begin() + cut}), kError) << cut;
  }
}

TEST(BitmapFile, MessagesAsTheUserSeesThem) {
  EXPECT_EQ(BitmapFile::message(BitmapStatus::UnknownFormat, "a.bmp"), "Unknown DIB file format.");
  EXPECT_EQ(BitmapFile::message(BitmapStatus::ConversionError, "a.bmp"),
            "Image file conversion error.");
  EXPECT_EQ(BitmapFile::message(BitmapStatus::OutOfMemory, "a.bmp"), "Out of memory.");
  EXPECT_EQ(BitmapFile::message(BitmapStatus::NotMapped, "a.bmp"),
            "Failed to open DIB file a.bmp.\n");
  EXPECT_EQ(BitmapFile::message(BitmapStatus::NotOpened, "a.bmp"), "");
  EXPECT_EQ(BitmapFile::message(BitmapStatus::NoPath, ""), "");
}

TEST(BitmapFile, TellsMissingFilesFromUnreadableOnes) {
  const std::filesystem::path dir =
      std::filesystem::temp_directory_path() / ("tavrik-bmp-" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir / "folder.bmp");
  { std::ofstream empty(dir / "empty.bmp"); }
  {
    const std::vector<uint8_t> bytes = MakeBmp(TwentyFour(2, 2));
    std::ofstream good(dir / "good.bmp", std::ios::binary);
    good.write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
  }
  EXPECT_EQ(BitmapFile::load("").status, BitmapStatus::NoPath);
  EXPECT_EQ(BitmapFile::load((dir / "missing.bmp").string()).status, BitmapStatus::NotOpened);
  EXPECT_EQ(BitmapFile::load((dir / "empty.bmp").string()).status, BitmapStatus::NotMapped);
  EXPECT_EQ(BitmapFile::load((dir / "folder.bmp").string()).status, BitmapStatus::NotMapped);
  const BitmapResult good = BitmapFile::load((dir / "good.bmp").string());
  ASSERT_EQ(good.status, BitmapStatus::Ok);
  EXPECT_EQ(good.image->width, 2);
  std::filesystem::remove_all(dir);
}
