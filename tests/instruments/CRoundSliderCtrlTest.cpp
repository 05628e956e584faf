#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QTest>
#include <QWheelEvent>
#include <utility>
#include <vector>

#include "InstrumentRender.h"
#include "instruments/CRoundSliderCtrl.h"
#include "instruments/MainWindowInstruments.h"

namespace {

using R = InstrumentRender;
using Notices = std::vector<std::pair<int, int>>;

const char* const kKnob = "(255,0,0)";

// At the main window's size the layout square is 262 pixels, centred on (131, 131), and the
// knob runs on a circle of 105 - 10 = 95 pixels.
class MainWindowDial : public ::testing::Test {
 protected:
  void SetUp() override {
    MainWindowInstruments::ConfigureDial(dial);
    QObject::connect(&dial, &CRoundSliderCtrl::NotifyParent,
                     [this](int code, int position) { notices.emplace_back(code, position); });
  }

  void ExpectKnobAt(const QPoint& expected) {
    EXPECT_EQ(dial.KnobCenter(), expected);
    const QImage image = R::Render(dial);
    EXPECT_EQ(R::Pixel(image, expected.x(), expected.y()), kKnob);
    EXPECT_EQ(R::Pixel(image, expected.x() + 1, expected.y() + 1), kKnob);
  }

  void Wheel(const QPoint& at) {
    QWheelEvent event(at, dial.mapToGlobal(at), QPoint(), QPoint(0, 120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&dial, &event);
  }

  CRoundSliderCtrl dial;
  Notices notices;
};

TEST_F(MainWindowDial, LaysOutRoundTheSquareCentreWithTheGivenRadius) {
  EXPECT_EQ(dial.size(), QSize(262, 281));
  EXPECT_EQ(dial.Center(), QPoint(131, 131));
  EXPECT_EQ(dial.Radius(), 105);
  R::Render(dial);  // the pending resize of a hidden widget must not undo the radius
  EXPECT_EQ(dial.Radius(), 105);
}

TEST_F(MainWindowDial, KnobMarksTheHeadingClockwiseFromTheTop) {
  dial.SetHeading(0);
  ExpectKnobAt(QPoint(131, 36));
  dial.SetHeading(90);
  ExpectKnobAt(QPoint(226, 131));
  EXPECT_NE(R::Pixel(R::Render(dial), 131, 36), kKnob) << "no knob left at the top";
  dial.SetHeading(359.9);
  EXPECT_EQ(dial.value(), 359);
  ExpectKnobAt(QPoint(129, 36));
  EXPECT_EQ(dial.HeadingText(), QStringLiteral("359.90deg"));
}

TEST_F(MainWindowDial, NegativeHeadingIsHeldAtZeroUnlessConverted) {
  dial.SetHeading(-30);
  EXPECT_EQ(dial.value(), 0);
  ExpectKnobAt(QPoint(131, 36));
  EXPECT_EQ(dial.HeadingText(), QStringLiteral("-30.00deg"));

  dial.SetHeadingConverted(-30, 1);
  EXPECT_EQ(dial.value(), 30);
  ExpectKnobAt(QPoint(178, 48));
  EXPECT_EQ(dial.HeadingText(), QStringLiteral("-30.00deg"));

  dial.SetHeadingConverted(30, 1);
  EXPECT_EQ(dial.value(), 330);
  ExpectKnobAt(QPoint(83, 48));
  EXPECT_EQ(dial.HeadingText(), QStringLiteral("30.00deg"));

  dial.SetHeadingConverted(30, 0);
  EXPECT_EQ(dial.value(), 30);
}

TEST_F(MainWindowDial, HugeAndUndefinedHeadingsAreHeldToTheRange) {
  dial.SetHeading(1e300);
  EXPECT_EQ(dial.value(), 359);
  dial.SetHeading(std::nan(""));
  EXPECT_EQ(dial.value(), 0);
  dial.SetHeadingConverted(-1e300, 1);
  EXPECT_EQ(dial.value(), 359);
}

TEST_F(MainWindowDial, KeyboardWrapsAroundTheDial) {
  dial.setValue(355);
  QTest::keyClick(&dial, Qt::Key_PageDown);
  EXPECT_EQ(dial.value(), 5);
  EXPECT_EQ(notices, (Notices{{CRoundSliderCtrl::PageDown, 5}, {CRoundSliderCtrl::EndTrack, 5}}));

  notices.clear();
  dial.setValue(3);
  QTest::keyClick(&dial, Qt::Key_PageUp);
  EXPECT_EQ(dial.value(), 353);
  EXPECT_EQ(notices, (Notices{{CRoundSliderCtrl::PageUp, 353}, {CRoundSliderCtrl::EndTrack, 353}}));

  notices.clear();
  dial.setValue(0);
  QTest::keyClick(&dial, Qt::Key_Left);
  QTest::keyClick(&dial, Qt::Key_Up);
  EXPECT_EQ(dial.value(), 358);
  QTest::keyClick(&dial, Qt::Key_Right);
  QTest::keyClick(&dial, Qt::Key_Right);
  QTest::keyClick(&dial, Qt::Key_Down);
  EXPECT_EQ(dial.value(), 1);
  EXPECT_EQ(notices, (Notices{{0, 359},
                              {8, 359},
                              {0, 358},
                              {8, 358},
                              {1, 359},
                              {8, 359},
                              {1, 0},
                              {8, 0},
                              {1, 1},
                              {8, 1}}));
}

TEST_F(MainWindowDial, HomeAndEndDoNothing) {
  dial.setValue(42);
  QTest::keyClick(&dial, Qt::Key_Home);
  QTest::keyClick(&dial, Qt::Key_End);
  EXPECT_EQ(dial.value(), 42);
  EXPECT_TRUE(notices.empty());
}

TEST_F(MainWindowDial, MousePressNeverMovesTheKnob) {
  dial.setValue(0);
  QTest::mouseClick(&dial, Qt::LeftButton, Qt::NoModifier, QPoint(226, 131));
  QTest::mouseClick(&dial, Qt::MiddleButton, Qt::NoModifier, QPoint(226, 131));
  EXPECT_EQ(dial.value(), 0);
  EXPECT_TRUE(notices.empty());
}

TEST_F(MainWindowDial, WheelMovesOnlyWithThePointerOverTheDial) {
  dial.setValue(100);
  Wheel(QPoint(2, 2));  // a corner, outside the round window
  EXPECT_EQ(dial.value(), 100);
  Wheel(QPoint(131, 200));
  EXPECT_NE(dial.value(), 100);
}

TEST_F(MainWindowDial, FaceIsRoundAndShowsTheRose) {
  const QImage image = R::Render(dial);
  EXPECT_EQ(R::Pixel(image, 2, 2), R::Text(R::Untouched())) << "outside the round window";
  EXPECT_EQ(R::Pixel(image, 259, 2), R::Text(R::Untouched()));
  // Inside, the light grey ground of the rose and some of its blue.
  EXPECT_EQ(R::Pixel(image, 100, 20), "(241,241,241)");
  int blue = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      const QColor c = image.pixelColor(x, y);
      blue += c.blue() > 120 && c.red() < 60 ? 1 : 0;
    }
  }
  EXPECT_GT(blue, 2000);
}

TEST_F(MainWindowDial, DisabledDialDrawsTheKnobInTheFaceColour) {
  dial.SetHeading(90);
  dial.setEnabled(false);
  const QImage image = R::Render(dial);
  EXPECT_EQ(R::Pixel(image, 226, 131), R::Text(dial.palette().color(QPalette::Button)));
}

TEST_F(MainWindowDial, InvertedAndZeroShiftTheKnob) {
  dial.SetZero(90);
  dial.SetHeading(0);
  EXPECT_EQ(dial.KnobCenter(), QPoint(226, 131));
  dial.SetInverted(true);
  EXPECT_EQ(dial.KnobCenter(), QPoint(36, 131));
}

TEST(RoundSliderLayout, ResizeRecomputesCentreRadiusAndWindow) {
  CRoundSliderCtrl dial;
  dial.SetKnobRadius(10);
  dial.SetRadius(105);
  dial.resize(200, 300);
  R::Render(dial);  // a hidden widget receives its resize when it is first drawn
  EXPECT_EQ(dial.Center(), QPoint(100, 100));
  EXPECT_EQ(dial.Radius(), 89) << "side / 2 - (knob radius + 1)";
  EXPECT_TRUE(dial.mask().contains(QPoint(100, 100)));
  EXPECT_FALSE(dial.mask().contains(QPoint(100, 250)));
}

TEST(RoundSliderLayout, MissingFaceStillDrawsDialAndKnob) {
  CRoundSliderCtrl dial;
  MainWindowInstruments::ConfigureDial(dial);
  dial.SetBackgroundBitmap(QStringLiteral(":/instruments/no-such-face.png"));
  const QImage image = R::Render(dial);
  EXPECT_EQ(R::Pixel(image, 131, 80), "(241,241,241)");
  EXPECT_EQ(R::Pixel(image, 131, 36), kKnob);
}

}  // namespace
