// Arbitrary bytes through the per-byte synchroniser and its decoder.
#include <cstdlib>

#include "protocol/Crc16.h"
#include "protocol/PorotocalRtkAnalyse.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  CPorotocalRtkAnalyse analyser;
  // The first byte picks the heading convention so both yaw readings run.
  if (size > 0 && (data[0] & 1)) analyser.SetConfigLine2("zhengfu180");
  for (size_t i = 0; i < size; ++i) {
    const bool complete = analyser.FeedByte(data[i]);
    if (complete) {
      // A completed frame ends here and carries a matching sum.
      if (i + 1 < 76 || Sum8(data + i + 1 - 76, 75) != data[i]) std::abort();
      DecodeCurrentFrame(analyser);
    }
    if (analyser.BufferPosition() < 0 ||
        analyser.BufferPosition() >= CPorotocalRtkAnalyse::kBufferSize) {
      std::abort();
    }
  }
  return 0;
}
