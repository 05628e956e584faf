// The curve windows against tavrik-unitsim at 921600 baud, streaming at
// the line's full rate.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QDir>
#include <QPushButton>
#include <QRadioButton>
#include <cmath>

#include "CurvesFixture.h"
#include "curves/CCWGraph.h"
#include "curves/CTChart.h"
#include "curves/RealtimeCurveIds.h"
#include "protocol/ReceivePipeline.h"
#include "tests/mainwindow/VirtualUnit.h"

namespace {

using namespace RealtimeCurveIds;

// The values of the unit's --static frame, group by group.
constexpr double kStaticValues[3][3] = {
    {1.234, -2.345, 3.456}, {0.01234, -0.02345, 0.98765}, {1.23, -4.56, 123.45}};
constexpr double kTolerance = 1e-9;

struct StreamingUnit {
  explicit StreamingUnit(QStringList unitArgs)
      : unit(unitArgs << "--baud"
                      << "921600"
                      << "--rate"
                      << "0") {
    w.c().As<QComboBox>(1041)->setEditText(unit.Device());
    w.c().As<QComboBox>(1040)->setCurrentText("921600");
    w.Click(1008);
  }
  bool PortOpen() const { return w.c().Text(1008) == "关闭"; }
  uint64_t Passed() { return w.f.window->Pipeline().Counters().framesPassed; }

  VirtualUnit unit;
  CurvesFixture w;
};

// Every point of every series is the current group's value for it.
::testing::AssertionResult ShowsOnlyGroup(RealtimeCurve& curve, CurveGroup group) {
  const CurveGroupTexts& texts = TextsOf(group);
  for (int i = 0; i < 3; ++i) {
    CTChartSeries& series = curve.Series(i);
    if (series.SeriesTitle() != texts.titles[i]) {
      return ::testing::AssertionFailure()
             << "series " << i << " titled " << series.SeriesTitle().toStdString();
    }
    const double expected = kStaticValues[int(group)][i];
    for (long p = 0; p < series.GetSeriesCount(); ++p) {
      if (std::abs(series.YValue(p) - expected) > kTolerance) {
        return ::testing::AssertionFailure()
               << texts.titles[i] << " point " << p << " is " << series.YValue(p);
      }
    }
  }
  return ::testing::AssertionSuccess();
}

void SaveScreenshot(QWidget& window, const char* name) {
  QDir().mkpath(TAVRIK_SCREENSHOT_DIR);
  const QString path = QDir(TAVRIK_SCREENSHOT_DIR).filePath(name);
  EXPECT_TRUE(window.grab().save(path)) << path.toStdString();
}

TEST(CurvesUnit, ThePlottedValuesAreTheUnitsValues) {
  StreamingUnit s({"--static"});
  ASSERT_TRUE(s.PortOpen());
  s.w.OpenCurves([&](RealtimeCurve& curve) {
    ASSERT_TRUE(ProcessEventsUntil([&] { return curve.Series(2).GetSeriesCount() == 1500; }));
    EXPECT_TRUE(ShowsOnlyGroup(curve, CurveGroup::Gyro));
    EXPECT_EQ(curve.FramesMissed(), 0u);
    const int radios[] = {kGyroRadio, kAccRadio, kAttitudeRadio};
    for (CurveGroup group : {CurveGroup::Accelerometer, CurveGroup::Attitude}) {
      ControlOf<QAbstractButton>(curve, radios[int(group)])->click();
      ASSERT_TRUE(ProcessEventsUntil([&] { return curve.Series(0).GetSeriesCount() > 100; }));
      EXPECT_TRUE(ShowsOnlyGroup(curve, group));
    }
    // The x values are the frames counted, the last one the newest.
    const CTChartSeries& yaw = curve.Series(2);
    EXPECT_EQ(yaw.XValue(yaw.GetSeriesCount() - 1), double(curve.PointCounter()));
  });
}

TEST(CurvesUnit, AThousandClearsWhileTheUnitStreamsNeverShowTheOldGroup) {
  StreamingUnit s({"--static"});
  ASSERT_TRUE(s.PortOpen());
  s.w.OpenCurves([&](RealtimeCurve& curve) {
    const int radios[] = {kGyroRadio, kAccRadio, kAttitudeRadio};
    const int checks[] = {kCurve0Check, kCurve1Check, kCurve2Check};
    int filled = 0;
    for (int round = 0; round < 1000; ++round) {
      const auto group = CurveGroup((round + 1) % 3);
      ControlOf<QAbstractButton>(curve, radios[int(group)])->click();
      if (round % 7 == 3) ControlOf<QAbstractButton>(curve, checks[round % 3])->click();
      if (round % 25 == 0) {
        // Now and then long enough for points of the new group to arrive.
        filled += ProcessEventsUntil([&] {
          for (int i = 0; i < 3; ++i) {
            if (curve.CurveSwitch(i) && curve.Series(i).GetSeriesCount() > 0) return true;
          }
          return false;
        })
                      ? 1
                      : 0;
      } else {
        ProcessEventsFor(round % 5);
      }
      ASSERT_TRUE(ShowsOnlyGroup(curve, group)) << "round " << round;
      if (!curve.CurveSwitch(round % 3)) {
        ControlOf<QAbstractButton>(curve, checks[round % 3])->click();
      }
    }
    EXPECT_EQ(filled, 40);
    EXPECT_EQ(curve.FramesMissed(), 0u);
  });
  EXPECT_EQ(s.w.Mode(), ReceiveMode::Live);
}

TEST(CurvesUnit, LiveCurvesOfAMovingUnit) {
  StreamingUnit s({});
  ASSERT_TRUE(s.PortOpen());
  s.w.OpenCurves([&](RealtimeCurve& curve) {
    // Once the vehicle drives, the yaw rate is well away from zero.
    ASSERT_TRUE(ProcessEventsUntil(
        [&] {
          const CTChartSeries& gz = curve.Series(2);
          return gz.GetSeriesCount() == 1500 && std::abs(gz.YValue(1499)) > 2;
        },
        30000));
    ProcessEventsFor(3 * RealtimeCurve::kRedrawPeriodMs);
    SaveScreenshot(curve, "curves_live.png");
  });
}

TEST(CurvesUnit, TheEnvironmentWindowLeavesTheStreamAndTheDisplayAlone) {
  StreamingUnit s({"--static"});
  ASSERT_TRUE(s.PortOpen());
  s.w.Click(1060);  // output on: the live display follows the unit
  ASSERT_TRUE(ProcessEventsUntil([&] {
    s.w.f.services.FireTicks(150);
    return s.w.c().Text(1010) == "1.2300°";
  }));
  s.w.Open(1153, [&](QDialog& dialog) {
    EXPECT_EQ(s.w.Mode(), ReceiveMode::EnvCurve);
    ProcessEventsFor(100);
    const uint64_t latest = s.w.Hub().LatestSequence();
    const uint64_t passed = s.Passed();
    ASSERT_TRUE(ProcessEventsUntil([&] { return s.Passed() > passed + 500; }));
    EXPECT_EQ(s.w.Hub().LatestSequence(), latest);
    EXPECT_FALSE(s.w.f.services.TickRunning(150));
    for (int p = 0; p < 3; ++p) EXPECT_EQ(s.w.Env().Graph(0).GetPlots().Item(p).PointCount(), 0);
    // "Mag-y" off: its plot leaves the graph and the legend.
    ControlOf<QAbstractButton>(dialog, 1154)->click();
    ProcessEventsFor(100);
    SaveScreenshot(dialog, "curves_env.png");
  });
  EXPECT_EQ(s.w.Mode(), ReceiveMode::Live);
  EXPECT_TRUE(s.w.f.services.TickRunning(150));
  // Back on the live display, frames are decoded again.
  const uint64_t closedAt = s.w.Hub().LatestSequence();
  EXPECT_TRUE(ProcessEventsUntil([&] { return s.w.Hub().LatestSequence() > closedAt + 100; }));
}

}  // namespace
