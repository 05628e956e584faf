#include <gtest/gtest.h>

#include <QImage>
#include <cmath>

#include "InstrumentRender.h"
#include "instruments/CMeter.h"
#include "instruments/MainWindowInstruments.h"

namespace {

using R = InstrumentRender;

// At the main window's 262 x 281 pixels: R = 120, the centre is (131, 152), the needle
// pivots at (131, 52) and is 38 pixels long; the arc it is clipped to has radius 108, so
// its top is at y = 44.
constexpr int kPivotX = 131;
constexpr int kPivotY = 52;
const char* const kNeedle = "(255,128,64)";

class MainWindowGauge : public ::testing::Test {
 protected:
  void SetUp() override { MainWindowInstruments::ConfigureGauge(gauge); }

  // Two repaints: the picture's turn trails the needle by one.
  QImage Settled() {
    R::Render(gauge);
    return R::Render(gauge);
  }

  QImage At(double roll, double pitch) {
    gauge.UpdateNeedle(roll);
    gauge.SetPitchValue(pitch);
    return Settled();
  }

  CMeter gauge;
};

TEST_F(MainWindowGauge, NeedlePointsUpAtZeroRoll) {
  ASSERT_TRUE(gauge.HasPicture());
  const QImage image = At(0, 0);
  ASSERT_EQ(image.size(), QSize(262, 281));
  EXPECT_DOUBLE_EQ(gauge.NeedleAngle(0), 90.0);
  EXPECT_EQ(R::Pixel(image, kPivotX, 47), kNeedle) << "inside the arc, above the pivot";
  EXPECT_EQ(R::Pixel(image, kPivotX, 66), kNeedle) << "the tail below the pivot";
  EXPECT_NE(R::Pixel(image, kPivotX, 30), kNeedle) << "the fill stops at the arc";
  EXPECT_NE(R::Pixel(image, kPivotX + 24, kPivotY), kNeedle);
}

TEST_F(MainWindowGauge, NeedlePointsRightAtRoll90) {
  const QImage image = At(90, 0);
  EXPECT_DOUBLE_EQ(gauge.NeedleAngle(90), 0.0);
  EXPECT_EQ(R::Pixel(image, kPivotX + 24, kPivotY), kNeedle) << "towards the tip at (169, 52)";
  EXPECT_EQ(R::Pixel(image, kPivotX - 11, kPivotY), kNeedle) << "the tail";
  EXPECT_NE(R::Pixel(image, kPivotX, 66), kNeedle) << "where the tail hangs at zero roll";
}

TEST_F(MainWindowGauge, NeedleIsHeldAtTheArcEndsBeyondTheRange) {
  // Beyond +135 the needle rests at -45 degrees, beyond -135 at 225 degrees.
  const int along = 12;  // pixels along each diagonal from the pivot
  QImage image = At(200, 0);
  EXPECT_DOUBLE_EQ(gauge.NeedleAngle(200), -45.0);
  EXPECT_EQ(R::Pixel(image, kPivotX + along, kPivotY + along), kNeedle);
  EXPECT_EQ(gauge.RollText(), QStringLiteral("200.00deg")) << "the text keeps the full roll";
  EXPECT_FLOAT_EQ(gauge.PictureRotation(), 200.0f) << "the picture keeps the full roll";
  EXPECT_EQ(R::Pixel(At(135, 0), kPivotX + along, kPivotY + along), kNeedle);

  image = At(-200, 0);
  EXPECT_DOUBLE_EQ(gauge.NeedleAngle(-200), 225.0);
  EXPECT_EQ(R::Pixel(image, kPivotX - along, kPivotY + along), kNeedle);
  EXPECT_NE(R::Pixel(image, kPivotX + along, kPivotY + along), kNeedle);
}

TEST_F(MainWindowGauge, HorizonSitsUnderTheBarAndMovesTwoPixelsPerDegree) {
  QImage image = At(0, 0);
  EXPECT_TRUE(R::IsSky(image, 80, 131));
  EXPECT_TRUE(R::IsGround(image, 80, 132));
  EXPECT_TRUE(R::IsGround(image, 80, 141));

  image = At(0, 10);
  EXPECT_TRUE(R::IsSky(image, 80, 141));
  EXPECT_TRUE(R::IsSky(image, 80, 151));
  EXPECT_TRUE(R::IsGround(image, 80, 152));
  EXPECT_EQ(gauge.PitchText(), QStringLiteral("10.00"));
}

TEST_F(MainWindowGauge, PictureTurnTrailsTheNeedleByOneRepaint) {
  At(0, 0);
  gauge.UpdateNeedle(30);
  const QImage first = R::Render(gauge);
  // The needle already shows 30 degrees while the horizon is still level.
  EXPECT_NE(R::Pixel(first, kPivotX, 66), kNeedle);
  EXPECT_TRUE(R::IsSky(first, 80, 120));
  EXPECT_TRUE(R::IsGround(first, 180, 160));

  // Turned clockwise about (112, 132): the left side rises, the right side sinks.
  const QImage second = R::Render(gauge);
  EXPECT_TRUE(R::IsGround(second, 80, 120));
  EXPECT_TRUE(R::IsSky(second, 180, 160));

  // The same roll again leaves the picture where it is.
  gauge.UpdateNeedle(30);
  EXPECT_EQ(R::Render(gauge), second);
  EXPECT_FLOAT_EQ(gauge.PictureRotation(), 30.0f);
}

TEST_F(MainWindowGauge, FixedMarksBarTextsAndRoundedCorners) {
  gauge.UpdateNeedle(7.5);
  gauge.SetPitchValue(-3.25);
  const QImage image = Settled();
  EXPECT_EQ(R::Pixel(image, 132, 4), "(255,255,255)") << "the top mark";
  EXPECT_EQ(R::Pixel(image, 100, 132), "(0,0,255)") << "the aircraft bar";
  EXPECT_EQ(R::Pixel(image, 180, 133), "(0,0,255)");
  EXPECT_EQ(gauge.RollText(), QStringLiteral("7.50deg"));
  EXPECT_EQ(gauge.PitchText(), QStringLiteral("-3.25"));

  const std::string face = R::Text(gauge.palette().color(QPalette::Button));
  EXPECT_EQ(R::Pixel(image, 0, 0), face);
  EXPECT_EQ(R::Pixel(image, 261, 280), face);
  EXPECT_NE(R::Pixel(image, 131, 0), face);

  // Roll text: white, centred under the dial at y = 252.
  int white = 0;
  for (int y = 252; y < 281; ++y) {
    for (int x = 60; x < 200; ++x) {
      white += image.pixelColor(x, y) == QColor(Qt::white) ? 1 : 0;
    }
  }
  EXPECT_GT(white, 30);
}

TEST_F(MainWindowGauge, ExtremePitchUncoversTheFaceColour) {
  // Pitch 200 moves the picture's top edge down to y = 132.
  const QImage image = At(0, 200);
  EXPECT_EQ(R::Pixel(image, 60, 100), R::Text(gauge.palette().color(QPalette::Button)));
  EXPECT_FALSE(R::IsSky(image, 60, 100));
}

TEST_F(MainWindowGauge, EmptyRangeRestsTheNeedleAtTheStart) {
  gauge.SetRange(10, 10);
  EXPECT_DOUBLE_EQ(gauge.NeedleAngle(10), 225.0);
  EXPECT_DOUBLE_EQ(gauge.NeedleAngle(50), 225.0);
  const QImage image = At(10, 0);
  EXPECT_EQ(R::Pixel(image, kPivotX - 12, kPivotY + 12), kNeedle);
}

TEST_F(MainWindowGauge, NonFiniteValuesDrawWithoutFault) {
  At(0, 0);
  const QImage image = At(std::nan(""), std::nan(""));
  EXPECT_EQ(R::Pixel(image, kPivotX - 12, kPivotY + 12), kNeedle) << "rests at the start";
  EXPECT_TRUE(R::IsSky(image, 80, 131)) << "the picture holds its last turn and position";
  EXPECT_TRUE(R::IsGround(image, 80, 132));
  EXPECT_EQ(gauge.RollText(), QStringLiteral("nandeg"));
}

TEST_F(MainWindowGauge, ResizeRecomputesDialButKeepsFixedMarks) {
  gauge.setFixedSize(400, 400);
  // R = 171, centre (200, 217), pivot (200, 117); the arc top is at y = 64.
  const QImage image = At(0, 0);
  EXPECT_EQ(R::Pixel(image, 200, 100), kNeedle);
  EXPECT_NE(R::Pixel(image, kPivotX, 47), kNeedle);
  EXPECT_EQ(R::Pixel(image, 132, 4), "(255,255,255)");
  EXPECT_EQ(R::Pixel(image, 100, 132), "(0,0,255)");
}

TEST(MeterPicture, MissingPictureDrawsAPlainSkyAndGroundSplit) {
  CMeter gauge(nullptr, QStringLiteral(":/instruments/no-such-picture.png"));
  MainWindowInstruments::ConfigureGauge(gauge);
  EXPECT_FALSE(gauge.HasPicture());
  const QImage image = R::Render(gauge);
  EXPECT_EQ(R::Pixel(image, 80, 131), R::Text(CPicture::PlainSkyColor()));
  EXPECT_EQ(R::Pixel(image, 80, 132), R::Text(CPicture::PlainGroundColor()));

  gauge.UpdateNeedle(30);
  R::Render(gauge);
  const QImage turned = R::Render(gauge);
  EXPECT_TRUE(R::IsGround(turned, 80, 120)) << "the stand-in turns like the picture";
}

TEST(MeterPicture, PictureTurnsAboutItsFixedPoint) {
  CPicture picture;
  picture.MakePlainHorizon(QSize(799, 800));
  QImage image(799, 800, QImage::Format_RGB32);
  picture.SetRotation(90);
  image.fill(Qt::black);
  {
    QPainter painter(&image);
    picture.Draw(painter, 0, 0);
  }
  // Turned a quarter clockwise about (374, 400): the sky is now on the right.
  EXPECT_TRUE(R::IsSky(image, 380, 200));
  EXPECT_TRUE(R::IsGround(image, 368, 200));
  EXPECT_TRUE(R::IsSky(image, 380, 600));
}

}  // namespace
