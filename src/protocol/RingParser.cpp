#include "protocol/RingParser.h"

#include <algorithm>

#include "protocol/FrameRouter.h"
#include "protocol/ThreadPriority.h"

RingParser::RingParser(ReceiveRing& ring, FrameRouter& router) : m_ring(ring), m_router(router) {}

RingParser::~RingParser() {
  Stop();
}

bool RingParser::Start() {
  if (m_thread.joinable()) return true;
  m_stop.store(false);
  try {
    m_thread = std::thread(&RingParser::Run, this);
  } catch (const std::system_error&) {
    return false;
  }
  return true;
}

void RingParser::Stop() {
  if (!m_thread.joinable()) return;
  m_stop.store(true);
  m_ring.Wake();
  m_thread.join();
}

void RingParser::Run() {
  RaiseThreadPriority();
  while (!m_stop.load()) {
    m_ring.WaitForData();
    if (m_stop.load()) break;
    ParseAvailable();
  }
}

void RingParser::RecoverFromOverrun(uint64_t written) {
  // The writer lapped us: everything older than one ring is gone and the
  // oldest part still there is what it overwrites next. Keep the newest half
  // and count what was lost.
  const uint64_t resume = written - ReceiveRing::kSize / 2;
  m_scanner.SkipUnread(resume - m_read);
  m_read = resume;
  m_overruns.Set(m_overruns.Get() + 1);
}

void RingParser::ParseAvailable() {
  m_busy.store(true, std::memory_order_release);
  auto onFrame = [this](const uint8_t* frame, size_t length) {
    m_router.RouteFrame(frame, length);
  };
  for (;;) {
    const uint64_t written = m_ring.TotalWritten();
    if (written - m_read > ReceiveRing::kSize) RecoverFromOverrun(written);
    const uint64_t available = written - m_read;
    if (available == 0) break;
    const size_t offset = size_t(m_read % ReceiveRing::kSize);
    const size_t toEnd = ReceiveRing::kSize - offset;
    // Past the ring's end the mirror holds the start of the ring, so a frame
    // that straddles the end is still one contiguous piece.
    const size_t span = available <= toEnd
                            ? size_t(available)
                            : toEnd + std::min(size_t(available - toEnd), ReceiveRing::kMirror);
    const size_t consumed = m_scanner.Scan(m_ring.At(offset), span, false, onFrame);
    m_read += consumed;
    if (consumed == 0 || consumed < std::min<uint64_t>(available, toEnd)) break;
  }
  m_consumed.Set(m_read);
  m_busy.store(false, std::memory_order_release);
}
