// The sensor curve window on a main window with scripted services; samples
// are published into the hub as the decoder would publish them.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTime>
#include <QWheelEvent>
#include <atomic>
#include <thread>

#include "CurvesFixture.h"
#include "curves/CTChart.h"
#include "curves/RealtimeCurveIds.h"
#include "mainwindow/DisplayPump.h"
#include "protocol/FrameBuilder.h"
#include "protocol/ReceivePipeline.h"
#include "qcustomplot.h"

namespace {

using namespace RealtimeCurveIds;

class RealtimeCurveTest : public ::testing::Test {
 protected:
  RealtimeCurve& curve() { return w.Curve(); }
  CTChartSeries& series(int i) { return curve().Series(i); }
  void Publish(int from, int count) {
    for (int n = from; n < from + count; ++n) w.Hub().Publish(NumberedSample(n));
  }
  bool SeriesReach(long count) {
    return ProcessEventsUntil([&] {
      for (int i = 0; i < 3; ++i) {
        if (series(i).GetSeriesCount() != count) return false;
      }
      return true;
    });
  }
  template <typename T = QAbstractButton>
  T* Control(int id) {
    return ControlOf<T>(curve(), id);
  }

  CurvesFixture w;
};

TEST_F(RealtimeCurveTest, TheWindowHoldsEveryControlOfItsTemplate) {
  EXPECT_EQ(curve().windowTitle(), "RealTime Curve");
  EXPECT_EQ(curve().property("controlId").toInt(), kTemplate);
  const std::pair<int, const char*> captions[] = {
      {kGyroRadio, "陀螺"},         {kAccRadio, "加计"},      {kAttitudeRadio, "姿态"},
      {kCurve0Check, "Gyro-x"},     {kCurve1Check, "Gyro-y"}, {kCurve2Check, "Gyro-z"},
      {kReturnButton, "返回主界面"}};
  for (const auto& [id, caption] : captions) {
    ASSERT_NE(Control(id), nullptr) << id;
    EXPECT_EQ(Control(id)->text(), QString::fromUtf8(caption)) << id;
  }
  ASSERT_NE(Control<CTChart>(kChart), nullptr);
  EXPECT_EQ(Control<CTChart>(kChart), &curve().Chart());
  EXPECT_EQ(curve().Chart().Title(), "曲线显示");
  ASSERT_EQ(curve().Chart().SeriesTotal(), 3);
  EXPECT_EQ(series(0).SeriesTitle(), "Series0");
  EXPECT_EQ(series(2).SeriesTitle(), "Series2");
}

TEST_F(RealtimeCurveTest, OpeningShowsTheGyroCurvesAndSwitchesTheModeAfterTheWait) {
  bool checked = false;
  w.Open(1152, [&](QDialog&) {
    // The wait runs on a timer: the window is up and the mode not yet changed.
    EXPECT_TRUE(curve().ModeSwitchPending());
    EXPECT_NE(w.Mode(), ReceiveMode::SensorCurve);
    EXPECT_FALSE(w.f.services.TickRunning(150));
    EXPECT_FALSE(w.f.services.TickRunning(500));
    EXPECT_TRUE(Control(kGyroRadio)->isChecked());
    for (int id : {kCurve0Check, kCurve1Check, kCurve2Check}) EXPECT_TRUE(Control(id)->isChecked());
    EXPECT_EQ(curve().Group(), CurveGroup::Gyro);
    EXPECT_EQ(series(0).SeriesTitle(), "Gx");
    EXPECT_EQ(series(1).SeriesTitle(), "Gy");
    EXPECT_EQ(series(2).SeriesTitle(), "Gz");
    ASSERT_TRUE(ProcessEventsUntil([&] { return w.Mode() == ReceiveMode::SensorCurve; }));
    EXPECT_TRUE(curve().Plotting());
    EXPECT_FALSE(w.f.services.TickRunning(150));
    checked = true;
  });
  ASSERT_TRUE(checked);
  EXPECT_EQ(w.Mode(), ReceiveMode::Live);
  EXPECT_TRUE(w.f.services.TickRunning(150));
  EXPECT_TRUE(w.f.services.TickRunning(500));
  EXPECT_FALSE(curve().isVisible());
  EXPECT_FALSE(curve().Plotting());
}

TEST_F(RealtimeCurveTest, AWindowClosedWithinTheWaitNeverSwitchesTheMode) {
  w.Open(1152, [&](QDialog&) { ProcessEventsFor(100); });
  EXPECT_EQ(w.Mode(), ReceiveMode::Live);
  EXPECT_FALSE(curve().ModeSwitchPending());
  ProcessEventsFor(RealtimeCurve::kModeSwitchDelayMs + 300);
  EXPECT_EQ(w.Mode(), ReceiveMode::Live);
}

TEST_F(RealtimeCurveTest, PointsCarryTheCountTheGroupValuesTheTimeAndTheirColours) {
  w.OpenCurves([&](RealtimeCurve&) {
    const QTime before = QTime::currentTime().addSecs(-1);
    Publish(1, 5);
    ASSERT_TRUE(SeriesReach(5));
    const QTime after = QTime::currentTime().addSecs(1);
    for (int i = 0; i < 3; ++i) {
      for (long p = 0; p < 5; ++p) {
        EXPECT_EQ(series(i).XValue(p), double(p + 1));
        EXPECT_DOUBLE_EQ(series(i).YValue(p), (p + 1) + 0.1 * (i + 1));
      }
    }
    // Only the very first point of the counter is labelled 00:00; the others
    // carry the minutes and seconds of the clock when they arrived.
    EXPECT_EQ(series(0).Label(0), "00:00");
    const QString label = series(1).Label(3);
    ASSERT_TRUE(QRegularExpression("^\\d\\d:\\d\\d$").match(label).hasMatch())
        << label.toStdString();
    QStringList around;
    for (QTime t = before; t <= after && around.size() < 3; t = t.addSecs(1)) {
      around << t.toString("mm:ss");
    }
    EXPECT_TRUE(around.contains(label)) << label.toStdString();
    EXPECT_EQ(series(0).Colour(), QColor(255, 0, 0));
    EXPECT_EQ(series(1).Colour(), QColor(0, 255, 0));
    EXPECT_EQ(series(2).Colour(), QColor(0, 0, 255));
    EXPECT_EQ(curve().PointCounter(), 5u);
    EXPECT_EQ(Control<QLabel>(kFrameCountLabel)->text(), "帧数 5");
  });
}

TEST_F(RealtimeCurveTest, AttitudeEmptiesAllCurvesAndPlotsTheAnglesUnderTheirTitles) {
  w.OpenCurves([&](RealtimeCurve&) {
    Publish(1, 4);
    ASSERT_TRUE(SeriesReach(4));
    // Samples already published but not yet drawn belong to the old group.
    Publish(5, 3);
    Control(kAttitudeRadio)->click();
    for (int i = 0; i < 3; ++i) EXPECT_EQ(series(i).GetSeriesCount(), 0);
    EXPECT_EQ(curve().Group(), CurveGroup::Attitude);
    const char* const names[] = {"Pitch", "Roll", "Yaw"};
    const int checks[] = {kCurve0Check, kCurve1Check, kCurve2Check};
    for (int i = 0; i < 3; ++i) {
      EXPECT_EQ(series(i).SeriesTitle(), names[i]);
      EXPECT_EQ(Control(checks[i])->text(), names[i]);
      EXPECT_TRUE(Control(checks[i])->isChecked());
    }
    Publish(8, 2);
    ASSERT_TRUE(SeriesReach(2));
    ProcessEventsFor(3 * RealtimeCurve::kRedrawPeriodMs);
    for (int i = 0; i < 3; ++i) {
      ASSERT_EQ(series(i).GetSeriesCount(), 2);
      EXPECT_NEAR(series(i).YValue(0), 8 * 0.01 + 0.07 + 0.01 * i, 1e-12);
      EXPECT_NEAR(series(i).YValue(1), 9 * 0.01 + 0.07 + 0.01 * i, 1e-12);
    }
    // The dropped samples were still frames: the count went on.
    EXPECT_EQ(series(0).XValue(0), 8.0);

    Control(kAccRadio)->click();
    EXPECT_EQ(series(0).SeriesTitle(), "Ax");
    EXPECT_EQ(Control(kCurve2Check)->text(), "Acc-z");
    Publish(10, 1);
    ASSERT_TRUE(SeriesReach(1));
    EXPECT_DOUBLE_EQ(series(2).YValue(0), -10.6);
  });
}

TEST_F(RealtimeCurveTest, AnUncheckedCurveStaysEmptyUntilCheckedAgain) {
  w.OpenCurves([&](RealtimeCurve&) {
    Publish(1, 5);
    ASSERT_TRUE(SeriesReach(5));
    Control(kCurve1Check)->click();
    EXPECT_FALSE(curve().CurveSwitch(1));
    EXPECT_EQ(series(1).GetSeriesCount(), 0);
    EXPECT_EQ(series(0).GetSeriesCount(), 5);
    Publish(6, 5);
    ASSERT_TRUE(ProcessEventsUntil([&] { return series(0).GetSeriesCount() == 10; }));
    EXPECT_EQ(series(2).GetSeriesCount(), 10);
    EXPECT_EQ(series(1).GetSeriesCount(), 0);

    // Frames that came while it was off stay off it.
    Publish(11, 2);
    Control(kCurve1Check)->click();
    EXPECT_TRUE(curve().CurveSwitch(1));
    Publish(13, 3);
    ASSERT_TRUE(ProcessEventsUntil([&] { return series(0).GetSeriesCount() == 15; }));
    ASSERT_EQ(series(1).GetSeriesCount(), 3);
    EXPECT_EQ(series(1).XValue(0), 13.0);
    EXPECT_DOUBLE_EQ(series(1).YValue(0), 13.2);
  });
}

TEST_F(RealtimeCurveTest, ASecondOpeningStartsEmptyAndContinuesTheCount) {
  w.OpenCurves([&](RealtimeCurve&) {
    Publish(1, 10);
    ASSERT_TRUE(SeriesReach(10));
    Control(kAttitudeRadio)->click();
    Control(kCurve2Check)->click();
  });
  // Frames between the openings are the live display's.
  Publish(100, 7);
  w.Open(1152, [&](QDialog&) {
    EXPECT_EQ(curve().Group(), CurveGroup::Gyro);
    EXPECT_TRUE(Control(kCurve2Check)->isChecked());
    EXPECT_EQ(series(0).SeriesTitle(), "Gx");
    for (int i = 0; i < 3; ++i) EXPECT_EQ(series(i).GetSeriesCount(), 0);
    ASSERT_TRUE(ProcessEventsUntil([&] { return curve().Plotting(); }));
    Publish(11, 4);
    ASSERT_TRUE(SeriesReach(4));
    EXPECT_EQ(series(2).XValue(0), 11.0);
    EXPECT_NE(series(2).Label(0), "00:00");
  });
}

TEST_F(RealtimeCurveTest, EachCurveKeepsTheNewest1500Points) {
  w.OpenCurves([&](RealtimeCurve&) {
    // All at once: only the newest window is drawn.
    Publish(1, 2000);
    ASSERT_TRUE(ProcessEventsUntil([&] { return curve().PointCounter() == 2000; }));
    ASSERT_TRUE(SeriesReach(1500));
    for (int i = 0; i < 3; ++i) {
      EXPECT_EQ(series(i).XValue(0), 501.0);
      EXPECT_EQ(series(i).XValue(1499), 2000.0);
      EXPECT_DOUBLE_EQ(series(i).YValue(0), 501 + 0.1 * (i + 1));
    }
    // In pieces: the oldest go as new ones come.
    Publish(2001, 1000);
    ASSERT_TRUE(ProcessEventsUntil([&] { return curve().PointCounter() == 3000; }));
    ProcessEventsFor(2 * RealtimeCurve::kRedrawPeriodMs);
    Publish(3001, 1000);
    ASSERT_TRUE(ProcessEventsUntil([&] { return curve().PointCounter() == 4000; }));
    ASSERT_TRUE(SeriesReach(1500));
    EXPECT_EQ(series(1).XValue(0), 2501.0);
    EXPECT_EQ(series(1).XValue(1499), 4000.0);
    EXPECT_DOUBLE_EQ(series(1).YValue(1499), 4000.2);
    EXPECT_EQ(curve().FramesMissed(), 0u);
  });
}

TEST_F(RealtimeCurveTest, TheMainWindowsNumbersWaitWhileTheWindowIsOpen) {
  w.f.window->Pump().SetDisplayEnabled(true);
  w.Hub().Publish(NumberedSample(1));
  w.f.services.FireTicks(150);
  ASSERT_TRUE(ProcessEventsUntil([&] { return w.c().Text(1010) == "0.0800°"; }));
  w.OpenCurves([&](RealtimeCurve&) {
    w.Hub().Publish(NumberedSample(5000));
    EXPECT_EQ(w.f.services.FireTicks(150), 0);
    ASSERT_TRUE(SeriesReach(1));
    ProcessEventsFor(200);
    EXPECT_EQ(w.c().Text(1010), "0.0800°");
  });
  w.f.services.FireTicks(150);
  EXPECT_TRUE(ProcessEventsUntil([&] { return w.c().Text(1010) == "50.0700°"; }));
}

TEST_F(RealtimeCurveTest, TheRecordersRefreshLeavesTheNumbersAloneWhileTheWindowIsOpen) {
  w.f.window->Pump().SetDisplayEnabled(true);
  // A cancelled "Log Save As" leaves the recorder's own refresh running
  // every 250 ms in place of the ticks.
  w.f.services.QueueFileName(std::nullopt);
  w.Click(1068);
  w.Hub().Publish(NumberedSample(1));
  ASSERT_TRUE(ProcessEventsUntil([&] { return w.c().Text(1010) == "0.0800°"; }));
  w.OpenCurves([&](RealtimeCurve&) {
    w.Hub().Publish(NumberedSample(5000));
    ASSERT_TRUE(SeriesReach(1));
    ProcessEventsFor(600);
    EXPECT_EQ(w.c().Text(1010), "0.0800°");
  });
  EXPECT_TRUE(ProcessEventsUntil([&] { return w.c().Text(1010) == "50.0700°"; }));
}

TEST_F(RealtimeCurveTest, PauseFreezesTheViewWhileTheFramesAreCounted) {
  w.OpenCurves([&](RealtimeCurve&) {
    Publish(1, 5);
    ASSERT_TRUE(SeriesReach(5));
    Control(kPauseButton)->click();
    EXPECT_TRUE(curve().Paused());
    EXPECT_EQ(Control(kPauseButton)->text(), "Resume");
    Publish(6, 7);
    ASSERT_TRUE(ProcessEventsUntil([&] { return curve().PointCounter() == 12; }));
    EXPECT_EQ(Control<QLabel>(kFrameCountLabel)->text(), "帧数 12");
    ProcessEventsFor(2 * RealtimeCurve::kRedrawPeriodMs);
    EXPECT_EQ(series(0).GetSeriesCount(), 5);
    Control(kPauseButton)->click();
    EXPECT_EQ(Control(kPauseButton)->text(), "Pause");
    EXPECT_EQ(series(0).GetSeriesCount(), 12);
    EXPECT_EQ(series(0).XValue(11), 12.0);
  });
}

TEST_F(RealtimeCurveTest, TheViewFollowsTheDataUntilTheUserZoomsAndAfterAReset) {
  w.OpenCurves([&](RealtimeCurve&) {
    QCustomPlot& plot = curve().Chart().Plot();
    Publish(1, 100);
    ASSERT_TRUE(SeriesReach(100));
    EXPECT_TRUE(curve().Chart().FollowsData());
    EXPECT_DOUBLE_EQ(plot.xAxis->range().lower, 1);
    EXPECT_DOUBLE_EQ(plot.xAxis->range().upper, 100);
    EXPECT_LE(plot.yAxis->range().lower, 1.1);
    EXPECT_GE(plot.yAxis->range().upper, 100.3);

    const QPointF centre = plot.axisRect()->rect().center();
    QWheelEvent wheel(centre, plot.mapToGlobal(centre), QPoint(), QPoint(0, 120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(&plot, &wheel);
    EXPECT_FALSE(curve().Chart().FollowsData());
    const QCPRange zoomed = plot.xAxis->range();
    EXPECT_LT(zoomed.size(), 99);
    Publish(101, 50);
    ASSERT_TRUE(SeriesReach(150));
    EXPECT_EQ(plot.xAxis->range(), zoomed);

    Control(kResetViewButton)->click();
    EXPECT_TRUE(curve().Chart().FollowsData());
    EXPECT_DOUBLE_EQ(plot.xAxis->range().upper, 150);
  });
}

TEST_F(RealtimeCurveTest, ThePictureAndThePointsGoToTheChosenFiles) {
  QTemporaryDir dir;
  w.OpenCurves([&](RealtimeCurve&) {
    Publish(1, 3);
    ASSERT_TRUE(SeriesReach(3));
    Control(kCurve1Check)->click();

    w.f.services.QueueFileName(dir.filePath("curves.png"));
    Control(kSaveImageButton)->click();
    QImage image(dir.filePath("curves.png"));
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), curve().Chart().Plot().size());

    w.f.services.QueueFileName(dir.filePath("points.csv"));
    Control(kExportPointsButton)->click();
    QFile csv(dir.filePath("points.csv"));
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(csv.readAll()).split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 7);
    EXPECT_EQ(lines[0], "series,x,label,y");
    EXPECT_EQ(lines[1], "Gx,1,00:00,1.1");
    const QStringList third = lines[3].split(',');
    ASSERT_EQ(third.size(), 4);
    EXPECT_EQ(third[0], "Gx");
    EXPECT_EQ(third[1], "3");
    EXPECT_EQ(third[2], series(0).Label(2));
    EXPECT_EQ(third[3].toDouble(), series(0).YValue(2));
    EXPECT_TRUE(lines[4].startsWith("Gz,1,00:00,")) << lines[4].toStdString();
    EXPECT_EQ(lines[6].split(',').value(3).toDouble(), series(2).YValue(2));

    // A cancelled dialog writes nothing; a place that cannot be written says so.
    Control(kSaveImageButton)->click();
    w.f.services.QueueFileName(dir.filePath("missing/points.csv"));
    Control(kExportPointsButton)->click();
  });
  const auto dialogs = w.f.services.FileDialogs();
  ASSERT_EQ(dialogs.size(), 4u);
  EXPECT_EQ(dialogs[0].title, "Save image");
  EXPECT_EQ(dialogs[0].defaultExtension, "png");
  EXPECT_EQ(dialogs[1].title, "Export points");
  EXPECT_EQ(dialogs[1].defaultExtension, "csv");
  EXPECT_EQ(w.f.services.MessageTexts(),
            QStringList{"无法写入文件：" + dir.filePath("missing/points.csv")});
}

// A replay as fast as the decoder goes: the window keeps up by drawing the
// newest points at its own rate, and the last point is the last frame.
TEST_F(RealtimeCurveTest, AFullSpeedReplayIsFollowedToItsLastFrame) {
  constexpr int kFrames = 30000;
  constexpr int kValueCycle = 4000;  // within the frame's field ranges
  w.OpenCurves([&](RealtimeCurve&) {
    std::atomic<bool> done{false};
    std::thread replay([&] {
      for (int n = 1; n <= kFrames; ++n) {
        const auto frame = BuildFrame120(NumberedSample(n % kValueCycle));
        w.f.window->Pipeline().RouteFrame(frame.data(), frame.size());
      }
      done = true;
    });
    const bool followed = ProcessEventsUntil(
        [&] {
          return done && series(0).GetSeriesCount() > 0 &&
                 series(0).XValue(series(0).GetSeriesCount() - 1) ==
                     double(curve().PointCounter()) &&
                 curve().PointCounter() == kFrames;
        },
        60000);
    replay.join();
    ASSERT_TRUE(followed) << curve().PointCounter();
    EXPECT_EQ(w.f.window->Pipeline().Counters().framesRouted, uint64_t(kFrames));
    for (int i = 0; i < 3; ++i) {
      ASSERT_EQ(series(i).GetSeriesCount(), 1500);
      EXPECT_EQ(series(i).XValue(0), double(kFrames - 1499));
      EXPECT_NEAR(series(i).YValue(1499), kFrames % kValueCycle + 0.1 * (i + 1), 1e-6);
    }
  });
}

}  // namespace

// Drawn 1566 px wide, the window must still serve on a 1366 x 768 laptop:
// it shrinks to what its controls need, the chart giving up the room.
TEST_F(RealtimeCurveTest, TheWindowFitsALaptopScreenWithEveryControlInside) {
  RealtimeCurve& window = curve();
  EXPECT_LE(window.minimumWidth(), 1366 - 16);
  EXPECT_LE(window.minimumHeight(), 768 - 48);
  w.Open(1152, [&](QDialog&) {
    window.resize(1340, 700);
    QCoreApplication::processEvents();
    const QRect inside(QPoint(0, 0), window.size());
    for (QWidget* child : window.findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
      if (child->isHidden() || child->isWindow()) continue;
      EXPECT_TRUE(inside.contains(child->geometry())) << child->objectName().toStdString();
    }
    QWidget* exportButton = window.findChild<QWidget*>("exportPointsButton");
    ASSERT_NE(exportButton, nullptr);
    EXPECT_FALSE(Control(1)->geometry().intersects(exportButton->geometry()));
    EXPECT_EQ(curve().Chart().width(), 1542 - (1566 - 1340));
    window.resize(1566, 670);
    QCoreApplication::processEvents();
    EXPECT_EQ(curve().Chart().geometry(), QRect(12, 12, 1542, 612));
  });
}
