#pragma once

#include <cstddef>
#include <cstdint>

#include "protocol/AtomicValue.h"
#include "protocol/FrameHeader.h"
#include "protocol/PorotocalAnalyse.h"

// Finds Frame120 and Frame220 in a byte stream and has the analyser check
// them. Shared by every whole-frame consumer: the live receive ring, log
// replay and log conversion.
//
// Each candidate is sized by its own header, is handled as soon as all its
// bytes are there, and a candidate that fails its check only moves the search
// on by one byte, so a false header in noise cannot swallow a real frame.
class FrameScanner {
 public:
  explicit FrameScanner(CPorotocalAnalyse& analyser) : m_analyser(analyser) {}

  // Scans data[0, count). For every frame that passes its check the frame is
  // left in the analyser and onFrame(frame, length) is called. Returns how many bytes were
  // consumed; the rest (an unfinished frame, or a last byte that may open
  // one) must be offered again with more data behind it. With atEnd no more
  // data will come: a cut-off frame is then no frame and the scan goes past.
  template <typename OnFrame>
  size_t Scan(const uint8_t* data, size_t count, bool atEnd, OnFrame&& onFrame);

  // Counters are written by the scanning thread only and readable anywhere.
  uint64_t FramesPassed() const { return m_passed.Get(); }
  uint64_t FramesFailed() const { return m_failed.Get(); }
  uint64_t BytesSkipped() const { return m_skipped.Get(); }
  void AddSkipped(uint64_t n) { m_skipped.Set(m_skipped.Get() + n); }

 private:
  static const uint8_t* FindHeaderStart(const uint8_t* p, const uint8_t* end) {
    // 0xAA and 0xBA differ only in bit 4.
    while (p < end && (*p | 0x10) != 0xBA) ++p;
    return p;
  }

  CPorotocalAnalyse& m_analyser;
  AtomicValue<uint64_t> m_passed, m_failed, m_skipped;
};

template <typename OnFrame>
size_t FrameScanner::Scan(const uint8_t* data, size_t count, bool atEnd, OnFrame&& onFrame) {
  const uint8_t* const end = data + count;
  const uint8_t* p = data;
  uint64_t passed = 0, failed = 0, skipped = 0;
  while (p < end) {
    const uint8_t* header = FindHeaderStart(p, end);
    skipped += uint64_t(header - p);
    p = header;
    if (p == end) break;
    if (p + 1 == end) {
      if (!atEnd) break;
      ++skipped;
      ++p;
      break;
    }
    const int length = FrameLengthForHeader(p[0], p[1]);
    if (length == 0) {
      ++skipped;
      ++p;
      continue;
    }
    if (end - p < length) {
      if (!atEnd) break;
      ++skipped;
      ++p;
      continue;
    }
    m_analyser.LoadFrame(length, p);
    if (m_analyser.CheckFrame()) {
      ++passed;
      onFrame(p, size_t(length));
      p += length;
    } else {
      ++failed;
      ++skipped;
      ++p;
    }
  }
  if (passed) m_passed.Set(m_passed.Get() + passed);
  if (failed) m_failed.Set(m_failed.Get() + failed);
  if (skipped) AddSkipped(skipped);
  return size_t(p - data);
}
