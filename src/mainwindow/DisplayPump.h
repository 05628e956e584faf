#pragma once

#include <QObject>
#include <atomic>

#include "protocol/NavSample.h"
#include "services/WindowServices.h"

class CMeter;
class CPorotocalAnalyse;
class CRoundSliderCtrl;
class LiveDisplay;

// Carries the latest decoded sample to the main window. The 150 ms tick
// posts one call to the GUI thread, while the display is enabled, that
// takes one snapshot and writes the boxes and lamps from it; the 500 ms tick
// feeds the gauge and the dial the same way. At most one call of each kind
// waits in the queue, so a busy GUI thread is never flooded.
class DisplayPump {
 public:
  DisplayPump(WindowServices& services, const CPorotocalAnalyse& analyser, LiveDisplay& display,
              CMeter& gauge, CRoundSliderCtrl& dial);
  ~DisplayPump();

  void Start();  // both ticks
  void Stop();
  bool Running() const { return m_refreshTick != 0; }

  // "开始输出" turns the display on, "停止输出" off; a replay turns it on.
  void SetDisplayEnabled(bool on) { m_displayEnabled.store(on); }
  bool DisplayEnabled() const { return m_displayEnabled.load(); }

  // While the sensor curves have the frames, the boxes keep what they
  // showed, whichever timer asks for a refresh (the recorder's timer runs
  // on while the ticks rest). GUI thread.
  void HoldDisplay(bool held) { m_held = held; }

  // On the GUI thread: what the posted calls do.
  void RefreshDisplay();
  void FeedInstruments();
  // The gauge and the dial from the values the window shows (the recorder's
  // timer), with the same heading convention as the instrument tick.
  void FeedInstrumentsFromDisplay();

  static constexpr int kRefreshPeriodMs = 150;
  static constexpr int kInstrumentPeriodMs = 500;

 private:
  void OnRefreshTick();     // timer thread
  void OnInstrumentTick();  // timer thread
  void Feed(const NavSample& sample);

  WindowServices& m_services;
  const CPorotocalAnalyse& m_analyser;
  LiveDisplay& m_display;
  CMeter& m_gauge;
  CRoundSliderCtrl& m_dial;
  TickId m_refreshTick = 0;
  TickId m_instrumentTick = 0;
  std::atomic<bool> m_displayEnabled{false};
  bool m_held = false;
  std::atomic<bool> m_refreshQueued{false};
  std::atomic<bool> m_instrumentsQueued{false};
  QObject m_context;  // queued calls die with the pump
};
