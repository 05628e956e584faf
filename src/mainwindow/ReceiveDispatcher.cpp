#include "ReceiveDispatcher.h"

#include <QString>
#include <cstring>

#include "GuiDispatcher.h"
#include "LiveDisplay.h"
#include "WindowServices.h"

ReceiveDispatcher::ReceiveDispatcher(CPorotocalAnalyse& analyser, LiveDisplay& display,
                                     WindowServices& services)
    : m_analyser(analyser),
      m_display(display),
      m_services(services),
      m_parser(m_ring, analyser, m_mode, *this) {}

ReceiveDispatcher::~ReceiveDispatcher() {
  StopParser();
}

bool ReceiveDispatcher::StartParser() {
  return m_parser.Start();
}

void ReceiveDispatcher::StopParser() {
  m_parser.Stop();
}

void ReceiveDispatcher::AcceptChunk(const uint8_t* bytes, int count) {
  if (count <= 0) return;
  const ChunkReceiver::Accepted accepted = m_receiver.Accept(bytes, size_t(count));
  // A chunk split at the ring's end is not echoed, as it never was.
  if (!accepted.split) Echo(bytes, count, accepted.hexText);
}

void ReceiveDispatcher::Echo(const uint8_t* bytes, int count, std::string_view hexText) {
  if (!m_showData.load()) return;
  if (m_echoCounter++ % 20 != 0) return;
  QString text;
  if (m_hexDisplay.load()) {
    text = QString::fromLatin1(hexText.data(), qsizetype(hexText.size()));
  } else {
    const void* zero = std::memchr(bytes, 0, size_t(count));
    const int length = zero ? int(static_cast<const uint8_t*>(zero) - bytes) : count;
    text = QString::fromLatin1(reinterpret_cast<const char*>(bytes), length);
  }
  if (m_hooks.echo) {
    m_services.PostToGui([this, text] { m_hooks.echo(text); }, &m_guiContext);
  }
}

void ReceiveDispatcher::HandOverByte(uint8_t byte, OwnerReceipt receipt) {
  // The receipt completes when the GUI thread is done with the byte, or by
  // itself if the queued call is dropped, so the worker never waits forever.
  m_services.PostToGui(
      [this, byte, receipt] {
        HandleSerialByte(byte);
        receipt.Complete();
      },
      &m_guiContext);
}

void ReceiveDispatcher::OnPortGone() {
  m_services.PostToGui(
      [this] {
        if (m_hooks.portGone) m_hooks.portGone();
      },
      &m_guiContext);
}

void ReceiveDispatcher::HandleSerialByte(uint8_t byte) {
  if (Mode() == ReceiveMode::Upgrade && m_hooks.upgradeByte) m_hooks.upgradeByte(byte);
  switch (Mode()) {
    case ReceiveMode::Command:
      if (m_hooks.replyByte) m_hooks.replyByte(byte);
      break;
    case ReceiveMode::Live:
    case ReceiveMode::SensorCurve:
    case ReceiveMode::EnvCurve:
      // Only a byte source that hands bytes over one by one in these modes
      // comes here; the serial worker sends them through the ring.
      if (m_analyser.FeedByte(byte)) {
        if (Mode() == ReceiveMode::Live) OnLiveFrame();
        if (Mode() == ReceiveMode::SensorCurve) OnCurveFrame();
      }
      break;
    default:
      break;
  }
  if (m_consoleEcho.load() && m_hooks.consoleByte) m_hooks.consoleByte(byte);
}

void ReceiveDispatcher::OnLiveFrame() {
  DecodeCurrentFrame(m_analyser);
  if (!(m_refreshDue.load() && m_displayEnabled.load())) return;
  m_display.CopyToDisplay(m_analyser);
  m_refreshDue.store(false);
  RefreshControls();
}

void ReceiveDispatcher::OnCurveFrame() {
  DecodeCurrentFrame(m_analyser);
  m_display.CopyToDisplay(m_analyser);
}

void ReceiveDispatcher::RefreshControls() {
  if (GuiDispatcher::OnGuiThread()) {
    m_display.WriteControls();
    return;
  }
  // At most one refresh waits in the queue; it shows the latest values.
  if (m_refreshPosted.exchange(true)) return;
  m_services.PostToGui(
      [this] {
        m_refreshPosted.store(false);
        m_display.WriteControls();
      },
      &m_guiContext);
}
