#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

// Plays a raw log back as a second source of the receive road: it reads the
// log with the same hex decoder and frame scanner as the conversion, on a
// thread of its own below normal priority, and hands every frame that passes
// its check to the frame sink (the router's replay entry), never to the
// receive ring. One replay at a time.
class LogReplay {
 public:
  // 1x is the unit's own pace, 100 frames a second.
  enum class Speed { X1, X2, X5, X10, Fastest };
  using FrameSink = std::function<void(const uint8_t* frame, size_t length)>;
  // Asked after every frame; true ends the replay (a port was opened).
  using StopCheck = std::function<bool()>;
  enum class End { Finished, Stopped, ReadError };
  // On the replay thread, once, when the replay is over.
  using EndHandler = std::function<void(End end, uint64_t frames)>;

  explicit LogReplay(FrameSink sink);
  ~LogReplay();
  LogReplay(const LogReplay&) = delete;
  LogReplay& operator=(const LogReplay&) = delete;

  // False, and nothing started, when the log cannot be opened or a replay
  // already runs.
  bool Start(const std::string& path, Speed speed, StopCheck shouldStop, EndHandler onEnd);
  // Ends a running replay at once and waits for its thread.
  void Stop();
  bool Running() const { return m_running.load(std::memory_order_acquire); }

  void SetSpeed(Speed speed) { m_speed.store(speed, std::memory_order_relaxed); }
  Speed CurrentSpeed() const { return m_speed.load(std::memory_order_relaxed); }
  uint64_t CharactersRead() const { return m_read.load(std::memory_order_relaxed); }
  uint64_t LogSize() const { return m_size.load(std::memory_order_relaxed); }
  uint64_t FramesReplayed() const { return m_frames.load(std::memory_order_relaxed); }
  // The log's damage as the scanner found it: failed checks, stray bytes.
  uint64_t FramesFailed() const { return m_failed.load(std::memory_order_relaxed); }
  uint64_t BytesSkipped() const { return m_skipped.load(std::memory_order_relaxed); }

  static std::chrono::microseconds FramePeriod(Speed speed);

 private:
  void Run(std::FILE* log, StopCheck shouldStop, EndHandler onEnd);
  // Waits until `until`, or less when stopped; false when stopped.
  bool Pace(std::chrono::steady_clock::time_point until);
  void Join();

  FrameSink m_sink;
  std::thread m_thread;
  std::atomic<bool> m_running{false};
  std::atomic<Speed> m_speed{Speed::X1};
  std::atomic<uint64_t> m_read{0}, m_size{0}, m_frames{0}, m_failed{0}, m_skipped{0};
  std::mutex m_stopLock;
  std::condition_variable m_stopChanged;
  bool m_stop = false;
};
