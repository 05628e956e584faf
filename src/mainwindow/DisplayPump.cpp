#include "mainwindow/DisplayPump.h"

#include "instruments/CMeter.h"
#include "instruments/CRoundSliderCtrl.h"
#include "mainwindow/LiveDisplay.h"
#include "protocol/PorotocalAnalyse.h"

DisplayPump::DisplayPump(WindowServices& services, const CPorotocalAnalyse& analyser,
                         LiveDisplay& display, CMeter& gauge, CRoundSliderCtrl& dial)
    : m_services(services),
      m_analyser(analyser),
      m_display(display),
      m_gauge(gauge),
      m_dial(dial) {}

DisplayPump::~DisplayPump() {
  Stop();
}

void DisplayPump::Start() {
  if (Running()) return;
  m_refreshTick = m_services.StartTick(kRefreshPeriodMs, [this] { OnRefreshTick(); });
  m_instrumentTick = m_services.StartTick(kInstrumentPeriodMs, [this] { OnInstrumentTick(); });
}

void DisplayPump::Stop() {
  if (m_refreshTick) m_services.StopTick(m_refreshTick);
  if (m_instrumentTick) m_services.StopTick(m_instrumentTick);
  m_refreshTick = m_instrumentTick = 0;
}

void DisplayPump::OnRefreshTick() {
  if (!m_displayEnabled.load()) return;
  if (m_refreshQueued.exchange(true)) return;
  m_services.PostToGui(
      [this] {
        m_refreshQueued.store(false);
        RefreshDisplay();
      },
      &m_context);
}

void DisplayPump::OnInstrumentTick() {
  if (m_instrumentsQueued.exchange(true)) return;
  m_services.PostToGui(
      [this] {
        m_instrumentsQueued.store(false);
        FeedInstruments();
      },
      &m_context);
}

void DisplayPump::RefreshDisplay() {
  if (m_held) return;
  NavSample sample;
  if (!m_analyser.Snapshot(sample)) return;
  // A tick that found the display switched off meanwhile shows nothing.
  if (!m_displayEnabled.load()) return;
  if (sample.sequence == m_display.Values().sequence) return;
  m_display.Show(sample);
}

void DisplayPump::FeedInstruments() {
  NavSample sample;
  m_analyser.Snapshot(sample);
  Feed(sample);
}

void DisplayPump::FeedInstrumentsFromDisplay() {
  Feed(m_display.Values());
}

void DisplayPump::Feed(const NavSample& sample) {
  m_dial.SetHeadingConverted(sample.yaw, m_analyser.HeadingIsSigned() ? 1 : 0);
  m_gauge.UpdateNeedle(sample.roll);
  m_gauge.SetPitchValue(sample.pitch);
}
