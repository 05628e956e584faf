#include <gtest/gtest.h>

#include <QImage>

#include "InstrumentRender.h"
#include "instruments/InstrumentResources.h"

namespace {

using R = InstrumentRender;

bool Near(const QColor& actual, const QColor& expected, int tolerance) {
  return std::abs(actual.red() - expected.red()) <= tolerance &&
         std::abs(actual.green() - expected.green()) <= tolerance &&
         std::abs(actual.blue() - expected.blue()) <= tolerance;
}

TEST(InstrumentPictures, AttitudePictureHasSkyGroundLaddersAndCorners) {
  const QImage picture(InstrumentResources::AttitudePicture());
  ASSERT_FALSE(picture.isNull());
  ASSERT_EQ(picture.size(), QSize(799, 800));
  for (int y = 0; y < picture.height(); y += 7) {
    for (int x = 0; x < picture.width(); x += 7) {
      ASSERT_EQ(picture.pixelColor(x, y).alpha(), 255) << x << "," << y;
    }
  }
  // Away from the ladders: the sky shades down to the horizon between rows 399 and 400.
  EXPECT_TRUE(Near(picture.pixelColor(100, 30), QColor(28, 70, 188), 12));
  EXPECT_TRUE(Near(picture.pixelColor(100, 399), QColor(109, 200, 239), 2));
  EXPECT_TRUE(Near(picture.pixelColor(100, 400), QColor(169, 53, 8), 2));
  EXPECT_TRUE(Near(picture.pixelColor(100, 500), QColor(73, 34, 22), 2));
  EXPECT_TRUE(Near(picture.pixelColor(100, 700), QColor(22, 23, 24), 2));
  EXPECT_EQ(R::Pixel(picture, 0, 0), "(255,255,255)");
  EXPECT_EQ(R::Pixel(picture, 798, 799), "(255,255,255)");
  EXPECT_NE(R::Pixel(picture, 20, 20), "(255,255,255)");

  // Each strip is lighter than what lies beside it, in the sky and on the ground.
  for (int x : {300, 500}) {
    EXPECT_GT(picture.pixelColor(x, 250).lightness(), picture.pixelColor(400, 250).lightness());
    EXPECT_GT(picture.pixelColor(x, 450).lightness(), picture.pixelColor(400, 450).lightness());
  }
  // Marks every 10 degrees at 2 pixels per degree: +30 on row 340, -50 on row 500.
  for (int row : {340, 500}) {
    EXPECT_EQ(R::Pixel(picture, 320, row), "(255,255,255)") << row;
    EXPECT_EQ(R::Pixel(picture, 480, row), "(255,255,255)") << row;
    EXPECT_NE(R::Pixel(picture, 320, row + 10), "(255,255,255)") << row;
  }
  EXPECT_NE(R::Pixel(picture, 320, 400 - 2 * 90), "(255,255,255)") << "the ladder ends at 80";
}

TEST(InstrumentPictures, CompassRoseIsBlueOnLightGrey) {
  const QImage rose(InstrumentResources::CompassRose());
  ASSERT_FALSE(rose.isNull());
  ASSERT_EQ(rose.size(), QSize(491, 492));
  EXPECT_FALSE(rose.hasAlphaChannel());
  EXPECT_EQ(R::Pixel(rose, 0, 0), "(241,241,241)");
  EXPECT_EQ(R::Pixel(rose, 490, 491), "(241,241,241)");
  // The cardinal marks point out from the ring, the longest at the top.
  EXPECT_EQ(R::Pixel(rose, 245, 246 - 172 - 40), "(0,102,158)");
  EXPECT_EQ(R::Pixel(rose, 245 + 172 + 40, 246), "(0,102,158)");
  EXPECT_EQ(R::Pixel(rose, 245, 246 + 172 + 40), "(0,102,158)");
  EXPECT_EQ(R::Pixel(rose, 245 - 172 - 40, 246), "(0,102,158)");
  // Dark label ink around 0 at the top, none where no label is.
  const auto ink = [&rose](int cx, int cy) {
    int count = 0;
    for (int y = cy - 18; y < cy + 18; ++y) {
      for (int x = cx - 30; x < cx + 30; ++x) {
        count += rose.pixelColor(x, y) == QColor(31, 26, 23) ? 1 : 0;
      }
    }
    return count;
  };
  EXPECT_GT(ink(245, 246 - 140), 20);
  EXPECT_GT(ink(245 + 140, 246), 20);
  EXPECT_EQ(ink(245 + 99, 246 - 40), 0);
  // The aircraft, nose up, in the middle.
  EXPECT_EQ(R::Pixel(rose, 245, 210), "(0,102,158)");
}

}  // namespace
