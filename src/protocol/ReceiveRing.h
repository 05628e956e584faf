#pragma once

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>

#include "protocol/FrameBuilder.h"

// The receive ring: one writer (the serial worker) copies chunks in, one
// reader (the frame parser) takes frames out. Neither takes a lock for the
// data; the writer publishes how much it has written after copying, then
// sets the data event.
//
// The first bytes of the ring are mirrored past its end, so that any frame
// starting before the end can be read in one contiguous piece.
class ReceiveRing {
 public:
  static constexpr size_t kSize = 102400;
  static constexpr size_t kMirror = kFrame220Length;

  // The ring pieces one chunk landed in, in order; rest is empty unless the
  // chunk was split at the ring's end.
  struct Pieces {
    const uint8_t* first = nullptr;
    size_t firstLength = 0;
    const uint8_t* rest = nullptr;
    size_t restLength = 0;
  };

  ReceiveRing();

  // Writer side. count must not exceed kSize.
  Pieces Write(const uint8_t* data, size_t count);
  size_t WriteIndex() const { return m_writeIndex; }  // writer thread only

  // Reader side.
  uint64_t TotalWritten() const { return m_totalWritten.load(std::memory_order_acquire); }
  // Bytes from ring offset `offset` on; valid up to kSize + kMirror.
  const uint8_t* At(size_t offset) const { return m_storage.get() + offset; }

  // The data event: auto-reset, set after every chunk.
  void SetDataEvent();
  // Waits until the event is set or Wake() is called; returns the event.
  bool WaitForData();
  void Wake();  // releases a waiting reader, for shutdown

 private:
  void CopyIn(size_t offset, const uint8_t* data, size_t count);

  std::unique_ptr<uint8_t[]> m_storage;
  size_t m_writeIndex = 0;
  std::atomic<uint64_t> m_totalWritten{0};

  std::mutex m_eventLock;
  std::condition_variable m_eventChanged;
  bool m_dataEvent = false;
  bool m_wake = false;
};
