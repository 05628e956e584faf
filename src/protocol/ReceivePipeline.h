#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "protocol/ChunkListener.h"
#include "protocol/ChunkReceiver.h"
#include "protocol/FrameRouter.h"
#include "protocol/ReceiveModeSwitch.h"
#include "protocol/ReceiveRing.h"
#include "protocol/RingParser.h"

class CPorotocalAnalyse;

// How the line is doing, from the counters the receive road keeps.
struct LinkCounters {
  uint64_t framesPassed = 0;     // whole frames whose check held
  uint64_t framesFailed = 0;     // candidates whose check failed
  uint64_t bytesSkipped = 0;     // bytes that belonged to no frame
  uint64_t overruns = 0;         // times the parser fell a whole ring behind
  uint64_t framesRouted = 0;     // frames decoded for the display or the curves
  uint64_t framesUnhandled = 0;  // checked frames in a mode that wants none
};

// The road of received bytes up to the decoded sample: the receive ring that
// the serial worker fills (AcceptChunk), the parser thread that finds frames
// in it, and the router that decodes them by receive mode into the
// analyser's sample hub. A log replay is a second source: it scans frames
// itself and hands each checked one to RouteFrame, never touching the ring.
class ReceivePipeline {
 public:
  // The mode is the device session's (or a test's), read on every road.
  ReceivePipeline(CPorotocalAnalyse& analyser, const ReceiveModeSwitch& mode);
  ~ReceivePipeline();
  ReceivePipeline(const ReceivePipeline&) = delete;
  ReceivePipeline& operator=(const ReceivePipeline&) = delete;

  const ReceiveModeSwitch& Mode() const { return m_mode; }

  // Before the first chunk: listeners see every chunk after its ring write.
  void AddChunkListener(ChunkListener& listener);

  bool Start();  // the parser thread
  void Stop();   // bounded

  // The serial worker's bulk road, on its thread.
  void AcceptChunk(const uint8_t* bytes, size_t count);
  // A frame checked by another source, on that source's thread: by receive
  // mode, or as a replay routes it.
  void RouteFrame(const uint8_t* frame, size_t length) { m_router.RouteFrame(frame, length); }
  void RouteReplayedFrame(const uint8_t* frame, size_t length) {
    m_router.RouteReplayedFrame(frame, length);
  }
  // A byte handed over one at a time in a bulk mode.
  void FeedByte(uint8_t byte) { m_router.FeedByte(byte); }

  LinkCounters Counters() const;
  bool ParserBusy() const { return m_parser.Busy(); }
  RingParser& Parser() { return m_parser; }
  FrameRouter& Router() { return m_router; }

 private:
  const ReceiveModeSwitch& m_mode;
  ReceiveRing m_ring;
  ChunkReceiver m_receiver{m_ring};
  FrameRouter m_router;
  RingParser m_parser;
  std::vector<ChunkListener*> m_listeners;
};
