#include <gtest/gtest.h>

#include <QImage>

#include "InstrumentRender.h"
#include "instruments/LampArray.h"
#include "instruments/MainWindowInstruments.h"

namespace {

using R = InstrumentRender;

// The main window's lamps are 20-pixel squares at x = 10, 80, 150, 220, 290 and y = 10.
int LampLeft(int lamp) {
  return 10 + lamp * 70;
}
constexpr int kLampTop = 10;

class MainWindowLamps : public ::testing::Test {
 protected:
  void SetUp() override { MainWindowInstruments::ConfigureLampStrip(lamps); }
  LampArray lamps;
};

TEST_F(MainWindowLamps, StartsAsOneRowOfFiveDarkLampsWithTheirLabels) {
  EXPECT_EQ(lamps.Rows(), 1);
  EXPECT_EQ(lamps.Columns(), 5);
  EXPECT_EQ(lamps.size(), QSize(400, 40));
  EXPECT_EQ(lamps.Labels(), QStringLiteral("IMU,千寻,GPS定位,GPS航向,里程计"));
  const QImage image = R::Render(lamps);
  for (int lamp = 0; lamp < 5; ++lamp) {
    EXPECT_EQ(lamps.LampState(lamp), 0);
    EXPECT_EQ(R::Pixel(image, LampLeft(lamp) + 9, kLampTop + 9), "(75,88,100)") << lamp;
  }
  EXPECT_EQ(R::Pixel(image, 0, 0), "(240,240,240)") << "no border strips in the main window";
  EXPECT_EQ(R::Pixel(image, 399, 39), "(240,240,240)");
}

TEST_F(MainWindowLamps, LitCentresUseScaledLitColourAndDarkOnesScaledDarkColour) {
  lamps.SetLampState(0, true);
  lamps.SetLampState(4, true);
  const QImage image = R::Render(lamps);
  EXPECT_EQ(R::Pixel(image, LampLeft(0) + 9, kLampTop + 9), "(0,204,0)");
  EXPECT_EQ(R::Pixel(image, LampLeft(4) + 9, kLampTop + 9), "(0,204,0)");
  for (int lamp = 1; lamp < 4; ++lamp) {
    EXPECT_EQ(R::Pixel(image, LampLeft(lamp) + 9, kLampTop + 9), "(75,88,100)") << lamp;
  }

  lamps.SetLampState(0, false);
  EXPECT_EQ(R::Pixel(R::Render(lamps), LampLeft(0) + 9, kLampTop + 9), "(75,88,100)");
}

TEST_F(MainWindowLamps, SquareLampsHaveLightTopLeftAndShadowBottomRightEdges) {
  lamps.SetLampState(1, true);
  const QImage image = R::Render(lamps);

  const int lit = LampLeft(1);
  EXPECT_EQ(R::Pixel(image, lit + 9, kLampTop), "(0,255,0)") << "top bevel";
  EXPECT_EQ(R::Pixel(image, lit, kLampTop + 9), "(0,255,0)") << "left bevel";
  EXPECT_EQ(R::Pixel(image, lit + 9, kLampTop + 18), "(0,76,0)") << "bottom shadow";
  EXPECT_EQ(R::Pixel(image, lit + 18, kLampTop + 9), "(0,76,0)") << "right shadow";
  EXPECT_EQ(R::Pixel(image, lit + 9, kLampTop + 1), "(0,204,0)") << "face inside the bevel";
  EXPECT_EQ(R::Pixel(image, lit + 19, kLampTop + 9), "(240,240,240)") << "lamp is 19 wide";
  EXPECT_EQ(R::Pixel(image, lit + 9, kLampTop + 19), "(240,240,240)") << "lamp is 19 high";

  const int dark = LampLeft(2);
  EXPECT_EQ(R::Pixel(image, dark + 9, kLampTop), "(150,176,200)");
  EXPECT_EQ(R::Pixel(image, dark + 18, kLampTop + 9), "(45,52,60)");
}

TEST_F(MainWindowLamps, OutOfRangeStateChangesNothing) {
  lamps.SetLampState(2, true);
  const QImage before = R::Render(lamps);
  lamps.SetLampState(5, true);
  lamps.SetLampState(-1, true);
  lamps.SetLampState(1000, true);
  EXPECT_EQ(R::Render(lamps), before);
  for (int lamp = 0; lamp < 5; ++lamp) {
    EXPECT_EQ(lamps.LampState(lamp), lamp == 2 ? 1 : 0) << lamp;
  }
  EXPECT_EQ(lamps.LampState(5), 0);
}

TEST_F(MainWindowLamps, LabelsAreWrittenBesideTheirLamps) {
  const QImage image = R::Render(lamps);
  // Black label text starts 23 pixels right of each lamp's left edge and 5 below its top.
  for (int lamp = 0; lamp < 5; ++lamp) {
    int darkPixels = 0;
    for (int y = kLampTop + 5; y < kLampTop + 5 + 14; ++y) {
      for (int x = LampLeft(lamp) + 23; x < LampLeft(lamp) + 70; ++x) {
        darkPixels += image.pixelColor(x, y).lightness() < 100 ? 1 : 0;
      }
    }
    EXPECT_GT(darkPixels, 10) << lamp;
  }
  // Nothing is written left of a label's anchor or above it.
  for (int x = LampLeft(0) + 20; x < LampLeft(0) + 23; ++x) {
    for (int y = 0; y < 40; ++y) {
      EXPECT_GT(image.pixelColor(x, y).lightness(), 200) << x << "," << y;
    }
  }
}

TEST(LampArrayLabels, GridKeepsLabelsAndRelabellingRebuildsTheList) {
  LampArray lamps;
  EXPECT_EQ(lamps.Labels(), QStringLiteral("0,1,2,3,4,5,6,7,8,9,10,11,12,13,14"));
  lamps.SetLampGrid(1, 5);
  EXPECT_EQ(lamps.Labels(), QStringLiteral("0,1,2,3,4,5,6,7,8,9,10,11,12,13,14"));
  lamps.SetLampLabel(0, QStringLiteral("IMU"));
  EXPECT_EQ(lamps.Labels(), QStringLiteral("IMU,1,2,3,4"));

  lamps.SetLabels(QStringLiteral("a,b"));
  lamps.SetLampLabel(3, QStringLiteral("x"));
  EXPECT_EQ(lamps.Labels(), QStringLiteral("a,b,,x,"));
  lamps.SetLampLabel(7, QStringLiteral("y"));
  EXPECT_EQ(lamps.Labels(), QStringLiteral("a,b,,x,"));
}

TEST(LampArrayLabels, GridChangeDarkensEveryLamp) {
  LampArray lamps;
  lamps.SetLampState(14, true);
  EXPECT_EQ(lamps.LampState(14), 1);
  lamps.SetLampGrid(2, 2);
  EXPECT_EQ(lamps.LampState(3), 0);
  lamps.SetLampState(4, true);
  EXPECT_EQ(lamps.LampState(4), 0) << "index 4 is outside a 2 x 2 grid";
}

TEST(LampArrayDefaults, BorderIsDarkTopAndLeftLightBottomAndRight) {
  LampArray lamps;
  ASSERT_EQ(lamps.size(), QSize(260, 100));
  const QImage image = R::Render(lamps);
  const std::string face = R::Text(lamps.palette().color(QPalette::Button));
  // Strips are measured with the one-short fill rule: 3 wide covers 2 pixels.
  EXPECT_EQ(R::Pixel(image, 100, 0), "(100,100,100)");
  EXPECT_EQ(R::Pixel(image, 100, 1), "(100,100,100)");
  EXPECT_EQ(R::Pixel(image, 100, 2), face);
  EXPECT_EQ(R::Pixel(image, 0, 50), "(100,100,100)");
  EXPECT_EQ(R::Pixel(image, 1, 50), "(100,100,100)");
  EXPECT_EQ(R::Pixel(image, 2, 50), face);
  EXPECT_EQ(R::Pixel(image, 100, 99), "(255,255,255)");
  EXPECT_EQ(R::Pixel(image, 100, 98), "(255,255,255)");
  EXPECT_EQ(R::Pixel(image, 100, 97), face);
  EXPECT_EQ(R::Pixel(image, 259, 50), "(255,255,255)");
  EXPECT_EQ(R::Pixel(image, 258, 50), "(255,255,255)");
  EXPECT_EQ(R::Pixel(image, 257, 50), face);
  // Light strips are drawn last, so they own the two mixed corners.
  EXPECT_EQ(R::Pixel(image, 259, 0), "(255,255,255)");
  EXPECT_EQ(R::Pixel(image, 0, 99), "(255,255,255)");
}

TEST(LampArrayDefaults, RoundLampsAreBrightestInTheMiddle) {
  LampArray lamps;
  // Lamp 0 spans 10..29; its innermost disc is around (19, 19).
  QImage image = R::Render(lamps);
  EXPECT_EQ(R::Pixel(image, 19, 19), "(0,139,0)");
  EXPECT_LT(image.pixelColor(12, 19).green(), image.pixelColor(19, 19).green());

  lamps.SetLampState(0, true);
  image = R::Render(lamps);
  EXPECT_EQ(R::Pixel(image, 19, 19), "(255,0,0)");
  EXPECT_LT(image.pixelColor(12, 19).red(), 255);
  EXPECT_GT(image.pixelColor(12, 19).red(), 100);
  // Lamp 1 of the first row stays dark.
  EXPECT_EQ(R::Pixel(image, 19 + 50, 19), "(0,139,0)");
}

}  // namespace
