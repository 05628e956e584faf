#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>

#include "protocol/NavSample.h"

// Where decoded samples meet their readers: the latest sample and a bounded
// history, both readable from any thread while a decoder publishes.
//
// Every slot is a sequence lock whose payload is copied through atomics, so a
// reader never sees a sample mixing two frames and never holds up the writer.
// A reader that falls more than a history behind loses the oldest samples
// first and is told how many.
class SampleHub {
 public:
  // Over 6 s of the fastest frame stream a 921600-baud line carries, so a GUI
  // stall of half a second loses nothing.
  static constexpr size_t kHistory = 8192;

  // A reader's place in the history.
  struct Cursor {
    uint64_t next = 1;    // sequence number of the next sample to read
    uint64_t missed = 0;  // samples overwritten before this reader got to them
  };

  SampleHub();
  ~SampleHub();
  SampleHub(const SampleHub&) = delete;
  SampleHub& operator=(const SampleHub&) = delete;

  // Stores a copy numbered one past the last and returns its number.
  uint64_t Publish(const NavSample& sample);

  // The newest sample; false (and `out` untouched) before the first.
  bool Latest(NavSample& out) const;
  uint64_t LatestSequence() const { return m_latest.load(std::memory_order_acquire); }

  // A cursor that reads from the next sample published on.
  Cursor CursorAtEnd() const { return Cursor{LatestSequence() + 1, 0}; }
  // Copies up to `max` samples from the cursor on into `out`, oldest first,
  // and moves the cursor past them. Returns how many were copied.
  size_t Drain(Cursor& cursor, NavSample* out, size_t max) const;

  // Forgets every sample. Only while no decoder publishes (tests, a fresh start).
  void Reset();

 private:
  static constexpr size_t kWords = (sizeof(NavSample) + 7) / 8;
  struct Slot {
    std::atomic<uint64_t> version{0};  // 2n-1 while sample n is written, 2n once it is
    std::atomic<uint64_t> words[kWords];
  };
  enum class Read { Ok, Overwritten };

  Read ReadSlot(uint64_t sequence, NavSample& out) const;

  std::unique_ptr<Slot[]> m_slots;
  std::atomic<uint64_t> m_latest{0};
  std::mutex m_writerLock;  // decoders may take turns; readers never take it
};
