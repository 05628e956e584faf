#pragma once

#include <atomic>
#include <cstdint>
#include <thread>

#include "protocol/AtomicValue.h"
#include "protocol/FrameScanner.h"
#include "protocol/PorotocalRtkAnalyse.h"
#include "protocol/ReceiveRing.h"

class FrameRouter;

// Takes frames out of the receive ring on a thread of its own and hands each
// checked frame to the router, which decodes it for the current receive mode.
class RingParser {
 public:
  RingParser(ReceiveRing& ring, FrameRouter& router);
  ~RingParser();
  RingParser(const RingParser&) = delete;
  RingParser& operator=(const RingParser&) = delete;

  // Best effort at the highest priority the process may give a thread.
  bool Start();
  void Stop();  // bounded: wakes the thread and joins it

  // One pass over everything the writer has published. The thread calls it
  // after every data event; tests may call it directly instead of Start().
  void ParseAvailable();

  bool Busy() const { return m_busy.load(std::memory_order_acquire); }
  uint64_t FramesPassed() const { return m_scanner.FramesPassed(); }
  uint64_t FramesFailed() const { return m_scanner.FramesFailed(); }
  uint64_t BytesSkipped() const { return m_scanner.BytesSkipped(); }
  uint64_t Overruns() const { return m_overruns.Get(); }
  uint64_t BytesConsumed() const { return m_consumed.Get(); }

 private:
  void Run();
  void RecoverFromOverrun(uint64_t written);

  ReceiveRing& m_ring;
  FrameRouter& m_router;
  // Checks frames on this thread only; the router decodes them.
  CPorotocalRtkAnalyse m_checker;
  FrameScanner m_scanner{m_checker};

  uint64_t m_read = 0;  // total bytes consumed; parser thread only
  AtomicValue<uint64_t> m_overruns;
  AtomicValue<uint64_t> m_consumed;  // m_read, published for other threads
  std::atomic<bool> m_busy{false};
  std::atomic<bool> m_stop{false};
  std::thread m_thread;
};
