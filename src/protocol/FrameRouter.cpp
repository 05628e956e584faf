#include "protocol/FrameRouter.h"

#include "protocol/PorotocalAnalyse.h"
#include "protocol/ReceiveModeSwitch.h"

FrameRouter::FrameRouter(CPorotocalAnalyse& analyser, const ReceiveModeSwitch& mode)
    : m_analyser(analyser), m_mode(mode) {}

void FrameRouter::Dispatch() {
  switch (m_mode.Get()) {
    case ReceiveMode::Live:
      OnLiveFrame();
      m_routed.Set(m_routed.Get() + 1);
      break;
    case ReceiveMode::SensorCurve:
      OnCurveFrame();
      m_routed.Set(m_routed.Get() + 1);
      break;
    default:
      m_unhandled.Set(m_unhandled.Get() + 1);
      break;
  }
}

void FrameRouter::RouteFrame(const uint8_t* frame, size_t length) {
  std::lock_guard guard(m_lock);
  m_analyser.LoadFrame(int(length), frame);
  // Checking again selects the decoder for this frame in the analyser; the
  // source's scanner checked with an analyser of its own.
  if (!m_analyser.CheckFrame()) return;
  Dispatch();
}

void FrameRouter::RouteReplayedFrame(const uint8_t* frame, size_t length) {
  std::lock_guard guard(m_lock);
  m_analyser.LoadFrame(int(length), frame);
  if (!m_analyser.CheckFrame()) return;
  if (m_mode.Get() == ReceiveMode::SensorCurve) {
    OnCurveFrame();
  } else {
    OnLiveFrame();
  }
  m_routed.Set(m_routed.Get() + 1);
}

void FrameRouter::FeedByte(uint8_t byte) {
  std::lock_guard guard(m_lock);
  if (m_analyser.FeedByte(byte)) Dispatch();
}

void FrameRouter::OnLiveFrame() {
  DecodeCurrentFrame(m_analyser);
}

void FrameRouter::OnCurveFrame() {
  // The curve window reads the decoded samples from the hub's history.
  DecodeCurrentFrame(m_analyser);
}
