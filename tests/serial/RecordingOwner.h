#pragma once

#include <QByteArray>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>
#include <vector>

#include "serial/SerialPortOwner.h"

// A port owner for tests. The test's own thread plays the owner's thread: it
// takes the per-byte hand-overs from a queue and completes them when it
// chooses, as a window handling a message would.
class RecordingOwner : public SerialPortOwner {
 public:
  struct HandOver {
    QByteArray bytes;
    OwnerReceipt receipt;
  };
  static constexpr std::chrono::seconds kPatience{20};

  void SetMode(ReceiveMode mode) { m_mode.store(mode); }

  ReceiveMode CurrentReceiveMode() const override { return m_mode.load(); }
  void AcceptChunk(const uint8_t* bytes, int count) override;
  void HandOverBytes(const uint8_t* bytes, size_t count, OwnerReceipt receipt) override;
  void OnPortGone() override;

  // Waits (bounded) until the chunks hold at least `count` bytes.
  bool WaitForChunkBytes(size_t count);
  std::vector<QByteArray> Chunks() const;
  // The next hand-over, or none within the patience.
  std::optional<HandOver> NextHandOver();
  bool WaitForPortGone();
  int PortGoneCount() const { return m_portGone.load(); }

 private:
  std::atomic<ReceiveMode> m_mode{ReceiveMode::Idle};
  mutable std::mutex m_lock;
  std::condition_variable m_changed;
  std::vector<QByteArray> m_chunks;
  size_t m_chunkBytes = 0;
  std::deque<HandOver> m_handOvers;
  std::atomic<int> m_portGone{0};
};
