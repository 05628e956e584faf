// "3D显示" in the main window: the display ticks rest while the window is
// open, the window turns with the latest published sample, and live frames
// follow its closing.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QDialog>

#include "mainwindow/ControlMap.h"
#include "mainwindow/View3dPanel.h"
#include "protocol/NavSample.h"
#include "protocol/SampleHub.h"
#include "tests/common/EventLoop.h"
#include "tests/common/MainWindowFixture.h"
#include "view3d/CMs3dDlg.h"

TEST(View3dPanel, TicksRestWhileOpenAndLiveFramesFollow) {
  MainWindowFixture f;
  ASSERT_TRUE(f.initialised);
  ASSERT_TRUE(f.services.TickRunning(150));
  NavSample sample;
  sample.pitch = 10;
  sample.roll = 20;
  sample.yaw = 30;
  f.window->Samples().Publish(sample);

  bool shown = false;
  f.services.SetModalHandler([&](QDialog& dialog) {
    shown = true;
    EXPECT_EQ(&dialog, &f.window->View3d().Window());
    EXPECT_FALSE(f.services.TickRunning(150));
    EXPECT_FALSE(f.services.TickRunning(500));
    dialog.show();
    auto& view = static_cast<CMs3dDlg&>(dialog);
    // The window's own timer takes the sample; no texts before it has.
    EXPECT_TRUE(ProcessEventsUntil([&] { return view.overlayTexts().value(0) == "Pitch:10.00"; }));
    EXPECT_EQ(view.overlayTexts(), (QStringList{"Pitch:10.00", "Roll:-20.00", "Yaw:30.00"}));
    dialog.reject();
    return kResultCancel;
  });
  f.window->Controls().As<QAbstractButton>(1154)->click();
  ASSERT_TRUE(shown);
  EXPECT_TRUE(f.services.TickRunning(150));
  EXPECT_TRUE(f.services.TickRunning(500));
  EXPECT_EQ(f.window->Session().Mode(), ReceiveMode::Live);
}
