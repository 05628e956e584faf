// Arbitrary text through both hex readers: the strict rule never writes more
// than half the text, and the streaming decoder gives the same bytes however
// the text is cut into pieces.
#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <vector>

#include "protocol/HexText.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const char* text = reinterpret_cast<const char*>(data);
  std::vector<uint8_t> strict(size / 2 + 1);
  if (DecodeHexText(text, size, strict.data()) > size / 2) std::abort();

  HexStreamDecoder whole;
  std::vector<uint8_t> all(size / 2 + 1);
  const size_t n = whole.Decode(text, size, all.data());
  if (n > size / 2) std::abort();

  HexStreamDecoder pieces;
  std::vector<uint8_t> out;
  const size_t step = size > 0 ? 1 + data[0] % 7 : 1;
  for (size_t i = 0; i < size; i += step) {
    const size_t len = std::min(step, size - i);
    std::vector<uint8_t> part(len / 2 + 1);
    part.resize(pieces.Decode(text + i, len, part.data()));
    out.insert(out.end(), part.begin(), part.end());
  }
  if (out.size() != n || !std::equal(out.begin(), out.end(), all.begin())) std::abort();

  // Re-encoding what was decoded and reading it back gives the same bytes.
  const std::string again = ToHexText(all.data(), n);
  std::vector<uint8_t> back(n + 1);
  if (DecodeHexText(again.data(), again.size(), back.data()) != n ||
      !std::equal(all.begin(), all.begin() + ptrdiff_t(n), back.begin())) {
    std::abort();
  }
  return 0;
}
