#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>

#include "protocol/AtomicValue.h"
#include "protocol/Crc16.h"
#include "protocol/FrameHeader.h"
#include "protocol/PorotocalAnalyse.h"

// Finds Frame120, Frame220 and Frame76 in a byte stream and has the analyser
// check them. Shared by every whole-frame consumer: the live receive ring,
// log replay and log conversion.
//
// Each candidate is sized by its own header, is handled as soon as all its
// bytes are there, and a candidate that fails its check only moves the search
// on by one byte, so a false header in noise cannot swallow a real frame.
//
// A Frame76 is checked by an 8-bit sum only, which noise passes one time in
// 256. So it is taken only once the stream has shown two of them back to
// back (the second starting where the first ended), and from then on while
// they keep following each other.
class FrameScanner {
 public:
  explicit FrameScanner(CPorotocalAnalyse& analyser) : m_analyser(analyser) {}

  // Scans data[0, count). For every frame that passes its check the frame is
  // left in the analyser and onFrame(frame, length) is called. Returns how
  // many bytes were consumed; the rest (an unfinished frame, or a last byte
  // that may open one) must be offered again with more data behind it. With
  // atEnd no more data will come: a cut-off frame is then no frame and the
  // scan goes past.
  template <typename OnFrame>
  size_t Scan(const uint8_t* data, size_t count, bool atEnd, OnFrame&& onFrame);

  // The stream lost n bytes that were never offered (a ring overrun).
  void SkipUnread(uint64_t n) {
    m_skipped.Set(m_skipped.Get() + n);
    m_streamPosition += n;
    m_nextFrame76 = kNoRun;
  }

  // Counters are written by the scanning thread only and readable anywhere.
  uint64_t FramesPassed() const { return m_passed.Get(); }
  uint64_t FramesFailed() const { return m_failed.Get(); }
  uint64_t BytesSkipped() const { return m_skipped.Get(); }

 private:
  static constexpr uint64_t kNoRun = std::numeric_limits<uint64_t>::max();

  static const uint8_t* FindHeaderStart(const uint8_t* p, const uint8_t* end) {
    // 0xAA and 0xBA differ only in bit 4; 0xDA opens a Frame76.
    while (p < end && (*p | 0x10) != 0xBA && *p != kHeader76) ++p;
    return p;
  }
  static bool Frame76At(const uint8_t* p) {
    return IsFrame76Header(p[0], p[1]) && Sum8(p, kFrame76Length - 1) == p[kFrame76Length - 1];
  }

  CPorotocalAnalyse& m_analyser;
  AtomicValue<uint64_t> m_passed, m_failed, m_skipped;
  uint64_t m_streamPosition = 0;    // stream offset of data[0] in the current scan
  uint64_t m_nextFrame76 = kNoRun;  // where a run of Frame76 continues
};

template <typename OnFrame>
size_t FrameScanner::Scan(const uint8_t* data, size_t count, bool atEnd, OnFrame&& onFrame) {
  const uint8_t* const end = data + count;
  const uint8_t* p = data;
  uint64_t passed = 0, failed = 0, skipped = 0;
  auto take = [&](int length) {
    m_analyser.LoadFrame(length, p);
    if (!m_analyser.CheckFrame()) return false;
    ++passed;
    onFrame(p, size_t(length));
    p += length;
    return true;
  };
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
    const uint64_t position = m_streamPosition + uint64_t(p - data);
    if (const int length = FrameLengthForHeader(p[0], p[1]); length != 0) {
      if (end - p < length) {
        if (!atEnd) break;
        ++skipped;
        ++p;
        continue;
      }
      if (take(length)) {
        m_nextFrame76 = kNoRun;
      } else {
        ++failed;
        ++skipped;
        ++p;
      }
      continue;
    }
    if (IsFrame76Header(p[0], p[1])) {
      const bool inRun = position == m_nextFrame76;
      // Outside a run the frame after it must be seen too.
      const ptrdiff_t needed = inRun ? kFrame76Length : 2 * kFrame76Length;
      if (end - p < needed) {
        if (!atEnd) break;
      } else if (Frame76At(p) && (inRun || Frame76At(p + kFrame76Length)) && take(kFrame76Length)) {
        m_nextFrame76 = position + kFrame76Length;
        continue;
      }
      if (inRun) m_nextFrame76 = kNoRun;
    }
    ++skipped;
    ++p;
  }
  if (passed) m_passed.Set(m_passed.Get() + passed);
  if (failed) m_failed.Set(m_failed.Get() + failed);
  if (skipped) m_skipped.Set(m_skipped.Get() + skipped);
  const size_t consumed = size_t(p - data);
  m_streamPosition += consumed;
  return consumed;
}
