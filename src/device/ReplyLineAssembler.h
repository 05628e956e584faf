#pragma once

#include <cstddef>
#include <cstdint>

#include "device/ReplyLineBuffer.h"

// Gathers the unit's reply lines byte by byte. A line starts on '*', or on a
// sign when no line has been started since the last completed one, so the
// signs inside a line never restart it. A line ends on CR LF; the LF and what
// follows are still stored, and only 31 bytes without a new start reset the
// assembler, which keeps stray output from filling the buffer.
class ReplyLineAssembler {
 public:
  // The byte that completes the line being collected: LF right after CR.
  bool EndsLine(uint8_t byte) const;

  // Called once the completed line was interpreted, matched or not.
  void LineInterpreted() { m_signStartBlocked = false; }

  // Stores the byte into the running line, then lets it start a new line.
  void Take(uint8_t byte);

  ReplyLineBuffer& Buffer() { return m_buffer; }
  const ReplyLineBuffer& Buffer() const { return m_buffer; }

  // Bytes stored since the line started; at a line end the last one is the CR.
  size_t StoreIndex() const { return m_storeIndex; }
  bool IsCollecting() const { return m_collecting; }

 private:
  static constexpr size_t kLastStoreIndex = 30;

  void Store(uint8_t byte);
  void Reset();

  ReplyLineBuffer m_buffer;
  bool m_collecting = false;
  bool m_signStartBlocked = false;
  size_t m_storeIndex = 0;
  uint8_t m_lastStored = 0;
};
