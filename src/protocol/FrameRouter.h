#pragma once

#include <cstddef>
#include <cstdint>
#include <mutex>

#include "protocol/AtomicValue.h"

class CPorotocalAnalyse;
class ReceiveModeSwitch;

// The decode-and-route stage every frame source shares: the receive ring's
// parser, a log replay and the per-byte road. Each checked frame is decoded
// into the analyser, which publishes it to the sample hub, when the receive
// mode wants frames (Live: OnLiveFrame, SensorCurve: OnCurveFrame); in the
// other modes it is only counted.
//
// Sources on different threads may overlap (a replay ending while the port
// opens), so routing one frame is done under a lock of its own.
class FrameRouter {
 public:
  FrameRouter(CPorotocalAnalyse& analyser, const ReceiveModeSwitch& mode);

  // A frame that passed its check in the source's own scanner.
  void RouteFrame(const uint8_t* frame, size_t length);
  // A frame of a log replay: to the curves in SensorCurve, and to the live
  // display in every other mode, Idle included (a port opened and closed
  // leaves the mode Idle, and the replay must still show).
  void RouteReplayedFrame(const uint8_t* frame, size_t length);
  // A byte of a source that hands bytes over one by one in a bulk mode; the
  // analyser's synchroniser assembles Frame76 from them.
  void FeedByte(uint8_t byte);

  // The frame handlers, with a checked frame in the analyser's buffer.
  void OnLiveFrame();
  void OnCurveFrame();

  uint64_t FramesRouted() const { return m_routed.Get(); }
  // Checked frames that arrived in a mode that handles none (Idle, EnvCurve).
  uint64_t FramesUnhandled() const { return m_unhandled.Get(); }

 private:
  void Dispatch();

  CPorotocalAnalyse& m_analyser;
  const ReceiveModeSwitch& m_mode;
  std::mutex m_lock;
  AtomicValue<uint64_t> m_routed, m_unhandled;
};
