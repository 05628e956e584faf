// Any bytes as a BMP file: decoded or refused, never read past the end, and
// a decoded picture always holds width x height pixels.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "view3d/model/DibDecoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const BitmapResult result = DibDecoder::decode({data, size});
  if (result.status == BitmapStatus::Ok) {
    const RGBImage& image = *result.image;
    if (image.width <= 0 || image.height <= 0 ||
        image.data.size() != static_cast<size_t>(image.width) * image.height * 3) {
      std::abort();
    }
  } else if (result.image) {
    std::abort();
  }
  return 0;
}
