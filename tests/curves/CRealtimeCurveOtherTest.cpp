// The environment curve window on a main window with scripted services.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>

#include "CurvesFixture.h"
#include "curves/CCWGraph.h"
#include "curves/RealtimeCurveOtherIds.h"
#include "mainwindow/DisplayPump.h"
#include "protocol/FrameBuilder.h"
#include "protocol/ReceivePipeline.h"

namespace {

using namespace RealtimeCurveOtherIds;

class EnvCurveTest : public ::testing::Test {
 protected:
  CRealtimeCurveOther& env() { return w.Env(); }
  QAbstractButton* Check(int id) { return ControlOf<QAbstractButton>(env(), id); }
  CWGraphPlot& Plot(const char* name) {
    CWGraphPlot* plot = env().Graph(0).GetPlots().GetPlotByName(name);
    EXPECT_NE(plot, nullptr) << name;
    return *plot;
  }

  CurvesFixture w;
};

TEST_F(EnvCurveTest, TheWindowHoldsThreeCaptionedGraphsAndTheSwitchesOfTheFirst) {
  EXPECT_EQ(env().windowTitle(), "Other RealTime Curve");
  EXPECT_EQ(env().property("controlId").toInt(), kTemplate);
  QStringList labels;
  for (QLabel* label : env().findChildren<QLabel*>()) labels << label->text();
  labels.sort();
  EXPECT_EQ(labels, (QStringList{"地磁(uT)", "气压(m)", "温度(℃)"}));
  const int graphs[] = {kMagGraph, kPressureGraph, kTemperatureGraph};
  for (int g = 0; g < 3; ++g) {
    CCWGraph* graph = ControlOf<CCWGraph>(env(), graphs[g]);
    ASSERT_EQ(graph, &env().Graph(g));
    EXPECT_EQ(graph->Caption(), "GYRO");
    EXPECT_EQ(graph->XAxisCaption(), "XAxis");
    EXPECT_EQ(graph->YAxisCaption(), "YAxis-1");
    // No frame carries these quantities, and each graph says so.
    EXPECT_FALSE(graph->Note().isEmpty());
  }
  EXPECT_EQ(env().Graph(0).GetPlots().Count(), 3);
  EXPECT_NE(env().Graph(0).GetPlots().GetPlotByName("gyro-y"), nullptr);
  EXPECT_EQ(env().Graph(0).GetPlots().GetPlotByName("Gyro-y"), nullptr);
  const std::pair<int, const char*> checks[] = {{kMagXCheck, "Mag-x"},
                                                {kMagYCheck, "Mag-y"},
                                                {kMagZCheck, "MAG-z"},
                                                {kReturnButton, "返回主界面"}};
  for (const auto& [id, caption] : checks) {
    ASSERT_NE(Check(id), nullptr) << id;
    EXPECT_EQ(Check(id)->text(), QString::fromUtf8(caption));
  }
  // The button that opens it stays hidden, as the template has it.
  EXPECT_TRUE(w.c().Get(1153)->isHidden());
}

TEST_F(EnvCurveTest, WhileOpenFramesAreOnlyCheckedAndTheDisplayStaysAsItWas) {
  w.f.window->Pump().SetDisplayEnabled(true);
  w.Hub().Publish(NumberedSample(1));
  w.f.services.FireTicks(150);
  ASSERT_TRUE(ProcessEventsUntil([&] { return w.c().Text(1010) == "0.0800°"; }));
  bool opened = false;
  w.Open(1153, [&](QDialog&) {
    EXPECT_EQ(w.Mode(), ReceiveMode::EnvCurve);
    EXPECT_FALSE(w.f.services.TickRunning(150));
    EXPECT_FALSE(w.f.services.TickRunning(500));
    for (int id : {kMagXCheck, kMagYCheck, kMagZCheck}) EXPECT_TRUE(Check(id)->isChecked());
    const uint64_t latest = w.Hub().LatestSequence();
    const uint64_t unhandled = w.f.window->Pipeline().Counters().framesUnhandled;
    for (int n = 0; n < 50; ++n) {
      const auto frame = BuildFrame120(NumberedSample(300 + n));
      w.f.window->Pipeline().RouteFrame(frame.data(), frame.size());
    }
    EXPECT_EQ(w.f.window->Pipeline().Counters().framesUnhandled, unhandled + 50);
    EXPECT_EQ(w.Hub().LatestSequence(), latest);
    ProcessEventsFor(200);
    EXPECT_EQ(w.c().Text(1010), "0.0800°");
    for (int p = 0; p < 3; ++p) EXPECT_EQ(env().Graph(0).GetPlots().Item(p).PointCount(), 0);
    opened = true;
  });
  ASSERT_TRUE(opened);
  EXPECT_EQ(w.Mode(), ReceiveMode::Live);
  EXPECT_TRUE(w.f.services.TickRunning(150));
  EXPECT_TRUE(w.f.services.TickRunning(500));
  EXPECT_FALSE(env().isVisible());
}

TEST_F(EnvCurveTest, MagYSwitchesPlotGyroY) {
  w.Open(1153, [&](QDialog&) {
    Check(kMagYCheck)->click();
    EXPECT_FALSE(Plot("gyro-y").Drawn());
    EXPECT_FALSE(Plot("gyro-y").Listed());
    EXPECT_TRUE(Plot("Gyro-x").Drawn());
    EXPECT_TRUE(Plot("gyro-z").Listed());
    Check(kMagYCheck)->click();
    EXPECT_TRUE(Plot("gyro-y").Drawn());
    EXPECT_TRUE(Plot("gyro-y").Listed());
    Check(kMagZCheck)->click();
  });
  // The next opening starts with every plot shown and every box checked.
  w.Open(1153, [&](QDialog&) {
    EXPECT_TRUE(Check(kMagZCheck)->isChecked());
    EXPECT_TRUE(Plot("gyro-z").Drawn());
    EXPECT_TRUE(Plot("gyro-z").Listed());
  });
}

TEST_F(EnvCurveTest, Graph1IsClearedAtOpening) {
  Plot("Gyro-x").AddPoint(1, 2);
  Plot("gyro-z").AddPoint(1, 3);
  w.Open(1153, [&](QDialog&) {
    EXPECT_EQ(Plot("Gyro-x").PointCount(), 0);
    EXPECT_EQ(Plot("gyro-z").PointCount(), 0);
  });
}

}  // namespace
