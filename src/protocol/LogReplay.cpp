#include "protocol/LogReplay.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

#include "protocol/FrameBuilder.h"
#include "protocol/FrameScanner.h"
#include "protocol/HexText.h"
#include "protocol/PorotocalRtkAnalyse.h"
#include "protocol/ThreadPriority.h"

namespace {
constexpr size_t kBlockChars = size_t(1) << 20;
// About a tenth of a second of frames at 1x.
constexpr size_t kPacedSliceChars = size_t(4) << 10;
}  // namespace

LogReplay::LogReplay(FrameSink sink) : m_sink(std::move(sink)) {}

LogReplay::~LogReplay() {
  Stop();
}

std::chrono::microseconds LogReplay::FramePeriod(Speed speed) {
  switch (speed) {
    case Speed::X1:
      return std::chrono::microseconds(10000);
    case Speed::X2:
      return std::chrono::microseconds(5000);
    case Speed::X5:
      return std::chrono::microseconds(2000);
    case Speed::X10:
      return std::chrono::microseconds(1000);
    case Speed::Fastest:
      break;
  }
  return std::chrono::microseconds(0);
}

bool LogReplay::Start(const std::string& path, Speed speed, StopCheck shouldStop,
                      EndHandler onEnd) {
  if (Running()) return false;
  Join();  // a replay that ended by itself
  std::FILE* log = std::fopen(path.c_str(), "rb");
  if (log == nullptr) return false;
  std::fseek(log, 0, SEEK_END);
  const long size = std::ftell(log);
  std::fseek(log, 0, SEEK_SET);
  m_size.store(size > 0 ? uint64_t(size) : 0, std::memory_order_relaxed);
  m_read.store(0, std::memory_order_relaxed);
  m_frames.store(0, std::memory_order_relaxed);
  m_failed.store(0, std::memory_order_relaxed);
  m_skipped.store(0, std::memory_order_relaxed);
  m_speed.store(speed, std::memory_order_relaxed);
  {
    std::lock_guard guard(m_stopLock);
    m_stop = false;
  }
  m_running.store(true, std::memory_order_release);
  try {
    m_thread = std::thread(&LogReplay::Run, this, log, std::move(shouldStop), std::move(onEnd));
  } catch (const std::system_error&) {
    m_running.store(false, std::memory_order_release);
    std::fclose(log);
    return false;
  }
  return true;
}

void LogReplay::Stop() {
  {
    std::lock_guard guard(m_stopLock);
    m_stop = true;
  }
  m_stopChanged.notify_all();
  Join();
}

void LogReplay::Join() {
  if (m_thread.joinable() && m_thread.get_id() != std::this_thread::get_id()) m_thread.join();
}

bool LogReplay::Pace(std::chrono::steady_clock::time_point until) {
  std::unique_lock guard(m_stopLock);
  return !m_stopChanged.wait_until(guard, until, [this] { return m_stop; });
}

void LogReplay::Run(std::FILE* log, StopCheck shouldStop, EndHandler onEnd) {
  LowerThreadPriority();
  using Clock = std::chrono::steady_clock;
  // Frames are checked by an analyser of the replay's own; the sink decodes
  // them into the program's.
  CPorotocalRtkAnalyse checker;
  FrameScanner scanner(checker);
  HexStreamDecoder decoder;
  std::unique_ptr<char[]> text(new char[kBlockChars]);
  std::vector<uint8_t> bytes(kFrame220Length + kBlockChars / 2 + 1);
  size_t pending = 0;
  End end = End::Finished;
  bool ended = false;
  Clock::time_point next = Clock::now();
  Speed pacedAt = CurrentSpeed();

  auto onFrame = [&](const uint8_t* frame, size_t length) {
    if (ended) return;
    m_sink(frame, length);
    m_frames.fetch_add(1, std::memory_order_relaxed);
    const Speed speed = CurrentSpeed();
    if (speed != pacedAt) {
      pacedAt = speed;
      next = Clock::now();
    }
    if (speed != Speed::Fastest) {
      // Deadlines from the start, not a sleep per frame, so the pace holds.
      next += FramePeriod(speed);
      if (!Pace(next)) {
        end = End::Stopped;
        ended = true;
        return;
      }
    } else {
      std::lock_guard guard(m_stopLock);
      if (m_stop) {
        end = End::Stopped;
        ended = true;
        return;
      }
    }
    if (shouldStop && shouldStop()) {
      end = End::Stopped;
      ended = true;
    }
  };

  while (!ended) {
    const size_t read = std::fread(text.get(), 1, kBlockChars, log);
    if (read < kBlockChars && std::ferror(log)) {
      end = End::ReadError;
      break;
    }
    const bool lastBlock = read < kBlockChars && std::feof(log);
    size_t done = 0;
    do {
      // Paced, the block goes to the scanner in small slices, so the position
      // and the scanner's counters move while the frames are waited for.
      const size_t slice =
          CurrentSpeed() == Speed::Fastest ? read - done : std::min(read - done, kPacedSliceChars);
      pending += decoder.Decode(text.get() + done, slice, bytes.data() + pending);
      done += slice;
      const bool atEnd = lastBlock && done == read;
      const size_t used = scanner.Scan(bytes.data(), pending, atEnd, onFrame);
      std::copy(bytes.begin() + long(used), bytes.begin() + long(pending), bytes.begin());
      pending -= used;
      m_read.fetch_add(slice, std::memory_order_relaxed);
      m_failed.store(scanner.FramesFailed(), std::memory_order_relaxed);
      m_skipped.store(scanner.BytesSkipped(), std::memory_order_relaxed);
    } while (!ended && done < read);
    if (lastBlock) break;
    if (shouldStop && shouldStop()) {
      end = End::Stopped;
      break;
    }
    std::lock_guard guard(m_stopLock);
    if (m_stop) {
      end = End::Stopped;
      break;
    }
  }
  std::fclose(log);
  const uint64_t frames = FramesReplayed();
  m_running.store(false, std::memory_order_release);
  if (onEnd) onEnd(end, frames);
}
