#include <gtest/gtest.h>

#include <QCoreApplication>
#include <atomic>
#include <thread>

#include "CMeter.h"
#include "CRoundSliderCtrl.h"
#include "InstrumentRender.h"
#include "LampArray.h"
#include "MainWindowInstruments.h"

namespace {

// The live display feeds the instruments from its timer and parser threads while the GUI
// thread keeps painting them; the last values must win once the queued refreshes have run.
TEST(InstrumentsAcrossThreads, WorkerValuesReachTheGuiThread) {
  CMeter gauge;
  CRoundSliderCtrl dial;
  LampArray lamps;
  MainWindowInstruments::Configure(gauge, dial, lamps);

  constexpr int kSteps = 2000;
  std::atomic<bool> done{false};
  std::thread worker([&] {
    for (int i = 0; i <= kSteps; ++i) {
      gauge.UpdateNeedle(i % 270 - 135);
      gauge.SetPitchValue(i % 60 - 30);
      dial.SetHeadingConverted(i % 360 - 180, 1);
      lamps.SetLampState(i % 5, (i / 5) % 2 == 1);
    }
    done.store(true);
  });
  while (!done.load()) {
    InstrumentRender::Render(gauge);
    InstrumentRender::Render(dial);
    InstrumentRender::Render(lamps);
    QCoreApplication::processEvents();
  }
  worker.join();
  QCoreApplication::processEvents();

  EXPECT_EQ(gauge.Value(), kSteps % 270 - 135);
  EXPECT_EQ(gauge.Pitch(), kSteps % 60 - 30);
  // 2000 % 360 - 180 = 20 degrees; converted: 360 - 20.
  EXPECT_EQ(dial.value(), 340);
  EXPECT_EQ(dial.HeadingText(), QStringLiteral("20.00deg"));
  for (int lamp = 0; lamp < 5; ++lamp) {
    const int last = kSteps - ((kSteps - lamp) % 5);
    EXPECT_EQ(lamps.LampState(lamp), (last / 5) % 2 == 1 ? 1 : 0) << lamp;
  }
}

}  // namespace
