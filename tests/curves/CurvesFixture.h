#pragma once

#include <QAbstractButton>
#include <QDialog>
#include <QElapsedTimer>
#include <QWidget>
#include <functional>
#include <memory>

#include "curves/CRealtimeCurveOther.h"
#include "curves/RealtimeCurve.h"
#include "device/DeviceSession.h"
#include "mainwindow/ControlMap.h"
#include "mainwindow/CurvesPanel.h"
#include "protocol/NavSample.h"
#include "protocol/SampleHub.h"
#include "tests/common/EventLoop.h"
#include "tests/common/MainWindowFixture.h"

// The control of a dialog that carries the template number.
template <typename T = QWidget>
T* ControlOf(QWidget& dialog, int controlId) {
  for (QWidget* w : dialog.findChildren<QWidget*>()) {
    if (w->property("controlId").toInt() == controlId) return qobject_cast<T*>(w);
  }
  return nullptr;
}

// Keeps the event loop turning for a while, for what must not happen.
inline void ProcessEventsFor(int ms) {
  QElapsedTimer timer;
  timer.start();
  ProcessEventsUntil([&] { return timer.elapsed() >= ms; }, ms + 1000);
}

// The curve windows as the main window has them: the window's own panel
// where it makes one, else one made here from the window's parts.
template <typename Window>
CurvesPanel& PanelOf(Window& window, WindowServices& services, std::unique_ptr<CurvesPanel>& own) {
  if constexpr (requires { window.Curves(); }) {
    return window.Curves();
  } else {
    own = std::make_unique<CurvesPanel>(window, window.Controls(), services, window.Session(),
                                        window.Pump(), window.Samples());
    return *own;
  }
}

// A main window on scripted services with its curve windows.
struct CurvesFixture {
  explicit CurvesFixture(const char* config = "V3.11\r\nx\r\n")
      : f(config), panel(PanelOf(*f.window, f.services, m_ownPanel)) {}

  const ControlMap& c() const { return f.window->Controls(); }
  void Click(int id) const { c().As<QAbstractButton>(id)->click(); }
  RealtimeCurve& Curve() { return panel.SensorCurveWindow(); }
  CRealtimeCurveOther& Env() { return panel.EnvCurveWindow(); }
  ReceiveMode Mode() { return f.window->Session().Mode(); }
  SampleHub& Hub() { return f.window->Samples(); }

  // Presses the button; `work` runs while the window is shown, then the
  // window is closed with its return button.
  void Open(int button, const std::function<void(QDialog&)>& work) {
    f.services.SetModalHandler([work](QDialog& dialog) {
      dialog.show();
      work(dialog);
      if (auto* back = ControlOf<QAbstractButton>(dialog, 1)) back->click();
      return kResultOk;
    });
    Click(button);
    f.services.SetModalHandler({});
  }
  // The sensor curve window, once its frames go to the curves.
  void OpenCurves(const std::function<void(RealtimeCurve&)>& work) {
    Open(1152, [&](QDialog&) {
      ASSERT_TRUE(ProcessEventsUntil([&] { return Curve().Plotting(); }));
      work(Curve());
    });
  }

  MainWindowFixture f;

 private:
  std::unique_ptr<CurvesPanel> m_ownPanel;

 public:
  CurvesPanel& panel;
};

// A sample whose three groups differ from each other and from `n`'s
// neighbours.
inline NavSample NumberedSample(int n) {
  NavSample s;
  s.gyroX = n + 0.1;
  s.gyroY = n + 0.2;
  s.gyroZ = n + 0.3;
  s.accX = -n - 0.4;
  s.accY = -n - 0.5;
  s.accZ = -n - 0.6;
  s.pitch = n * 0.01 + 0.07;
  s.roll = n * 0.01 + 0.08;
  s.yaw = n * 0.01 + 0.09;
  return s;
}
