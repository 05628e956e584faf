#include "view3d/model/DibDecoder.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdlib>
#include <new>
#include <stdexcept>

#include "view3d/model/ByteCursor.h"

namespace {

constexpr size_t kFileHeaderSize = 14;
constexpr uint32_t kCoreHeaderSize = 12;
constexpr uint32_t kInfoHeaderSize = 40;
constexpr uint32_t kRgb = 0;
constexpr uint32_t kRle8 = 1;
constexpr uint32_t kRle4 = 2;
constexpr uint32_t kBitFields = 3;

struct Colour {
  uint8_t r = 0, g = 0, b = 0;
};

// One channel of a 16- or 32-bit pixel: where its bits lie and how to widen
// them to eight.
struct Channel {
  uint32_t mask = 0;
  int shift = 0;
  int bits = 0;

  static Channel of(uint32_t mask) {
    Channel c;
    c.mask = mask;
    if (mask != 0) {
      c.shift = std::countr_zero(mask);
      c.bits = std::popcount(mask);
    }
    return c;
  }
  uint8_t value(uint32_t pixel) const {
    if (bits == 0) return 0;
    const uint32_t raw = (pixel & mask) >> shift;
    if (bits >= 8) return static_cast<uint8_t>(raw >> (bits - 8));
    // Repeat the bits below themselves so that all ones widen to 255.
    uint32_t wide = raw << (8 - bits);
    for (int filled = bits; filled < 8; filled += bits) wide |= wide >> bits;
    return static_cast<uint8_t>(wide);
  }
};

struct Header {
  bool core = false;
  int32_t width = 0;
  int32_t height = 0;  // always positive here; topDown tells the row order
  bool topDown = false;
  int bitCount = 0;
  uint32_t compression = kRgb;
  uint32_t imageSize = 0;
  uint32_t usedColours = 0;
};

class Decoder {
 public:
  explicit Decoder(std::span<const uint8_t> bytes) : m_bytes(bytes) {}

  BitmapResult run() {
    BitmapResult result;
    result.status = decode(result);
    if (result.status != BitmapStatus::Ok) result.image.reset();
    return result;
  }

 private:
  BitmapStatus decode(BitmapResult& result) {
    size_t base = 0;
    uint64_t pixelOffset = 0;
    const bool fileHeader = m_bytes.size() >= 2 && m_bytes[0] == 'B' && m_bytes[1] == 'M';
    if (fileHeader) {
      ByteCursor in(m_bytes, 10);
      pixelOffset = in.u32();
      if (!in.ok()) return BitmapStatus::ConversionError;
      base = kFileHeaderSize;
    }

    ByteCursor in(m_bytes, base);
    const uint32_t headerSize = in.u32();
    if (!in.ok()) return BitmapStatus::ConversionError;
    if (headerSize != kCoreHeaderSize && headerSize != kInfoHeaderSize) {
      return BitmapStatus::UnknownFormat;
    }
    if (!in.holds(1, headerSize - 4)) return BitmapStatus::ConversionError;
    Header h;
    if (!readHeader(in, headerSize, h)) return BitmapStatus::ConversionError;

    // Bit-field masks follow the information header; 16 and 32 bits without
    // them use the standard 5-5-5 and 8-8-8 layouts.
    if (h.compression == kBitFields) {
      const uint32_t red = in.u32(), green = in.u32(), blue = in.u32();
      if (!in.ok() || red == 0 || green == 0 || blue == 0) return BitmapStatus::ConversionError;
      m_channels = {Channel::of(red), Channel::of(green), Channel::of(blue)};
    } else if (h.bitCount == 16) {
      m_channels = {Channel::of(0x7C00), Channel::of(0x03E0), Channel::of(0x001F)};
    } else if (h.bitCount == 32) {
      m_channels = {Channel::of(0xFF0000), Channel::of(0xFF00), Channel::of(0xFF)};
    }

    uint64_t entries = h.usedColours;
    if (entries == 0 && h.bitCount <= 8) entries = uint64_t{1} << h.bitCount;
    const uint64_t entrySize = h.core ? 3 : 4;
    if (!in.holds(entries, entrySize)) return BitmapStatus::ConversionError;
    readPalette(in, entries, entrySize);
    if (!in.ok()) return BitmapStatus::ConversionError;

    if (fileHeader) {
      if (pixelOffset < base + headerSize || pixelOffset > m_bytes.size()) {
        return BitmapStatus::ConversionError;
      }
    } else {
      pixelOffset = in.position();
    }

    try {
      auto image = std::make_unique<RGBImage>();
      image->width = h.width;
      image->height = h.height;
      image->data.assign(static_cast<size_t>(h.width) * static_cast<size_t>(h.height) * 3, 0);
      m_image = image.get();
      const bool converted = (h.compression == kRle8 || h.compression == kRle4)
                                 ? decodeRunLength(h, static_cast<size_t>(pixelOffset))
                                 : decodeRows(h, static_cast<size_t>(pixelOffset));
      if (!converted) return BitmapStatus::ConversionError;
      result.image = std::move(image);
    } catch (const std::bad_alloc&) {
      return BitmapStatus::OutOfMemory;
    } catch (const std::length_error&) {
      return BitmapStatus::OutOfMemory;
    }
    return BitmapStatus::Ok;
  }

  static bool validDepth(const Header& h) {
    if (h.core) return h.bitCount == 1 || h.bitCount == 4 || h.bitCount == 8 || h.bitCount == 24;
    switch (h.compression) {
      case kRgb:
        return h.bitCount == 1 || h.bitCount == 4 || h.bitCount == 8 || h.bitCount == 16 ||
               h.bitCount == 24 || h.bitCount == 32;
      case kRle8:
        return h.bitCount == 8 && !h.topDown;
      case kRle4:
        return h.bitCount == 4 && !h.topDown;
      case kBitFields:
        return h.bitCount == 16 || h.bitCount == 32;
      default:
        return false;  // JPEG, PNG and others are not bitmaps we convert
    }
  }

  static bool readHeader(ByteCursor& in, uint32_t headerSize, Header& h) {
    int64_t height = 0;
    if (headerSize == kCoreHeaderSize) {
      h.core = true;
      h.width = in.u16();
      height = in.u16();
      in.skip(2);  // planes
      h.bitCount = in.u16();
    } else {
      h.width = in.i32();
      height = in.i32();
      in.skip(2);  // planes
      h.bitCount = in.u16();
      h.compression = in.u32();
      h.imageSize = in.u32();
      in.skip(8);  // resolution
      h.usedColours = in.u32();
      in.skip(4);  // important colours
    }
    if (!in.ok()) return false;
    h.topDown = height < 0;
    height = std::llabs(height);
    if (h.width <= 0 || height <= 0 || h.width > DibDecoder::kMaxSide ||
        height > DibDecoder::kMaxSide || int64_t{h.width} * height > DibDecoder::kMaxPixels) {
      return false;
    }
    h.height = static_cast<int32_t>(height);
    return validDepth(h);
  }

  void readPalette(ByteCursor& in, uint64_t entries, uint64_t entrySize) {
    m_palette.clear();
    m_palette.reserve(static_cast<size_t>(std::min<uint64_t>(entries, 256)));
    for (uint64_t i = 0; i < entries; ++i) {
      Colour c;
      c.b = in.u8();
      c.g = in.u8();
      c.r = in.u8();
      if (entrySize == 4) in.skip(1);
      // Indices reach at most 255; the rest of a long table is only skipped.
      if (m_palette.size() < 256) m_palette.push_back(c);
    }
  }

  Colour paletteColour(uint32_t index) const {
    return index < m_palette.size() ? m_palette[index] : Colour{};
  }

  // Output rows run bottom first whatever the file's order.
  void put(const Header& h, int32_t x, int32_t fileRow, Colour c) {
    const int32_t row = h.topDown ? h.height - 1 - fileRow : fileRow;
    uint8_t* p = m_image->data.data() + (static_cast<size_t>(row) * h.width + x) * 3;
    p[0] = c.r;
    p[1] = c.g;
    p[2] = c.b;
  }

  bool decodeRows(const Header& h, size_t pixelOffset) {
    const uint64_t stride = ((uint64_t{static_cast<uint32_t>(h.width)} * h.bitCount + 31) / 32) * 4;
    if (stride * static_cast<uint64_t>(h.height) > m_bytes.size() - pixelOffset) return false;
    for (int32_t row = 0; row < h.height; ++row) {
      const uint8_t* line = m_bytes.data() + pixelOffset + stride * row;
      for (int32_t x = 0; x < h.width; ++x) put(h, x, row, pixel(h, line, x));
    }
    return true;
  }

  Colour pixel(const Header& h, const uint8_t* line, int32_t x) const {
    switch (h.bitCount) {
      case 1:
        return paletteColour((line[x >> 3] >> (7 - (x & 7))) & 1);
      case 4:
        return paletteColour((line[x >> 1] >> ((x & 1) ? 0 : 4)) & 0x0F);
      case 8:
        return paletteColour(line[x]);
      case 16: {
        const uint32_t v = line[2 * x] | (line[2 * x + 1] << 8);
        return {m_channels[0].value(v), m_channels[1].value(v), m_channels[2].value(v)};
      }
      case 24:
        return {line[3 * x + 2], line[3 * x + 1], line[3 * x]};
      default: {
        const uint8_t* p = line + 4 * static_cast<size_t>(x);
        const uint32_t v = p[0] | (p[1] << 8) | (p[2] << 16) | (uint32_t{p[3]} << 24);
        return {m_channels[0].value(v), m_channels[1].value(v), m_channels[2].value(v)};
      }
    }
  }

  // Run-length pixels are written as they come; what the runs skip stays
  // black. Data that ends early ends the picture.
  bool decodeRunLength(const Header& h, size_t pixelOffset) {
    size_t end = m_bytes.size();
    if (h.imageSize != 0 && h.imageSize < end - pixelOffset) end = pixelOffset + h.imageSize;
    const bool four = h.compression == kRle4;
    size_t p = pixelOffset;
    int64_t x = 0, y = 0;
    auto plot = [&](uint32_t index) {
      if (x < h.width && y < h.height) {
        put(h, static_cast<int32_t>(x), static_cast<int32_t>(y), paletteColour(index));
      }
      ++x;
    };
    while (p + 2 <= end && y < h.height) {
      const uint8_t count = m_bytes[p];
      const uint8_t value = m_bytes[p + 1];
      p += 2;
      if (count > 0) {
        for (int i = 0; i < count; ++i) {
          plot(four ? ((i & 1) ? (value & 0x0F) : (value >> 4)) : value);
        }
        continue;
      }
      if (value == 0) {  // end of line
        x = 0;
        ++y;
      } else if (value == 1) {  // end of bitmap
        break;
      } else if (value == 2) {  // move right and up
        if (p + 2 > end) break;
        x += m_bytes[p];
        y += m_bytes[p + 1];
        p += 2;
      } else {  // a literal run, padded to a whole 16-bit word
        const size_t dataBytes = four ? (value + 1u) / 2 : value;
        if (dataBytes > end - p) break;
        for (int i = 0; i < value; ++i) {
          plot(four ? ((i & 1) ? (m_bytes[p + i / 2] & 0x0F) : (m_bytes[p + i / 2] >> 4))
                    : m_bytes[p + i]);
        }
        p += dataBytes + (dataBytes & 1);
      }
    }
    return true;
  }

  std::span<const uint8_t> m_bytes;
  std::vector<Colour> m_palette;
  std::array<Channel, 3> m_channels{};
  RGBImage* m_image = nullptr;
};

}  // namespace

BitmapResult DibDecoder::decode(std::span<const uint8_t> bytes) {
  return Decoder(bytes).run();
}
