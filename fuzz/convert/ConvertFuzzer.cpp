// Arbitrary text converted as a log: never a crash, and never more rows than
// the text could hold whole frames.
#include <cstdio>
#include <cstdlib>

#include "convert/LogConverter.h"
#include "protocol/PorotocalRtkAnalyse.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::FILE* in = ::fmemopen(const_cast<uint8_t*>(data), size, "rb");
  if (in == nullptr) return 0;  // fmemopen refuses an empty buffer on some systems
  std::FILE* out = std::fopen("/dev/null", "wb");
  if (out == nullptr) std::abort();
  CPorotocalRtkAnalyse analyser;
  ConvertColumns all;
  all.selected.fill(true);
  LogConverter converter(analyser, all);
  const LogConverter::Result result = converter.Convert(in, out, size);
  if (result.status != LogConverter::Status::Ok) std::abort();
  if (result.rows > size / (2 * 120)) std::abort();
  std::fclose(in);
  std::fclose(out);
  return 0;
}
