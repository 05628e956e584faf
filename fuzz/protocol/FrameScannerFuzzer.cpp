// Arbitrary bytes through the frame scanner, whole and in pieces: every frame
// it hands on passes its check (CRC, or the sum of a Frame76), and both ways
// find the same frames.
#include <cstdlib>
#include <vector>

#include "protocol/BigEndian.h"
#include "protocol/Crc16.h"
#include "protocol/FrameScanner.h"
#include "protocol/PorotocalRtkAnalyse.h"

namespace {

std::vector<size_t> Scan(const uint8_t* data, size_t size, size_t piece) {
  CPorotocalRtkAnalyse analyser;
  FrameScanner scanner(analyser);
  std::vector<size_t> lengths;
  auto onFrame = [&](const uint8_t* frame, size_t length) {
    if (length == 76) {
      if (Sum8(frame, 75) != frame[75]) std::abort();
    } else if (length != 120 && length != 220) {
      std::abort();
    } else if (Crc16Modbus(frame, length - 2) != be::ReadU16(frame + length - 2)) {
      std::abort();
    }
    DecodeCurrentFrame(analyser);
    lengths.push_back(length);
  };
  std::vector<uint8_t> pending;
  for (size_t i = 0; i < size || i == 0; i += piece) {
    const size_t n = std::min(piece, size - i);
    pending.insert(pending.end(), data + i, data + i + n);
    const bool atEnd = i + n >= size;
    const size_t used = scanner.Scan(pending.data(), pending.size(), atEnd, onFrame);
    if (used > pending.size()) std::abort();
    pending.erase(pending.begin(), pending.begin() + long(used));
    if (atEnd) break;
  }
  return lengths;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const size_t piece = size > 0 ? 1 + data[0] % 251 : 1;
  if (Scan(data, size, size + 1) != Scan(data, size, piece)) std::abort();
  return 0;
}
