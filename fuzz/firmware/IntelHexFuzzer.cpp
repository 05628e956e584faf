// Random and mutated HEX files through the reader. Checksums are rarely
// right by chance, so with the first byte's low bit set every line that has
// the shape of a record gets its checksum repaired first: the reader then
// sees whole files of sound records as well as files with one bad record.
// A second, plain reading of the rules decides what the reader must answer:
// any bad record refuses the file and yields no image; sound files yield
// exactly the data bytes of their data records.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "device/IntelHexReader.h"

namespace {

int Digit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// The record's bytes when the line has a record's shape; checksum not checked.
bool Shape(std::string_view line, std::vector<uint8_t>& bytes) {
  bytes.clear();
  if (line.size() < 11 || line[0] != ':' || (line.size() - 1) % 2 != 0) return false;
  for (size_t i = 1; i + 1 < line.size(); i += 2) {
    const int high = Digit(line[i]), low = Digit(line[i + 1]);
    if (high < 0 || low < 0) return false;
    bytes.push_back(uint8_t(high * 16 + low));
  }
  return bytes.size() == size_t(bytes[0]) + 5 && bytes[3] <= 5;
}

std::vector<std::string> Lines(std::string_view text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    lines.emplace_back(text.substr(start, end - start));
    start = end + 1;
  }
  return lines;
}

std::string_view Trimmed(std::string_view line) {
  while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t'))
    line.remove_suffix(1);
  return line;
}

void RepairChecksums(std::string& text) {
  std::string repaired;
  std::vector<uint8_t> bytes;
  static const char kHex[] = "0123456789ABCDEF";
  for (std::string line : Lines(text)) {
    std::string_view record = Trimmed(line);
    if (Shape(record, bytes)) {
      unsigned sum = 0;
      for (size_t i = 0; i + 1 < bytes.size(); ++i) sum += bytes[i];
      const uint8_t check = uint8_t(0x100 - (sum & 0xFF));
      line[record.size() - 2] = kHex[check >> 4];
      line[record.size() - 1] = kHex[check & 0xF];
    }
    repaired += line + "\n";
  }
  text = repaired;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
  if (data[0] & 1) RepairChecksums(text);

  bool sound = true;
  bool ended = false;
  std::vector<uint8_t> image, bytes;
  for (const std::string& line : Lines(text)) {
    const std::string_view record = Trimmed(line);
    if (record.empty()) continue;
    unsigned sum = 0;
    const bool shaped = Shape(record, bytes);
    for (uint8_t b : bytes) sum += b;
    if (!shaped || (sum & 0xFF) != 0) {
      sound = false;
      break;
    }
    if (bytes[3] == 0) image.insert(image.end(), bytes.begin() + 4, bytes.end() - 1);
    if (bytes[3] == 1) ended = true;
  }

  const IntelHexReader::Result result = IntelHexReader::Read(text);
  if (result.Sound() != sound) std::abort();
  if (!sound) {
    if (!result.image.empty() || result.endOfFileSeen || result.faultLine < 1 ||
        result.fault.empty())
      std::abort();
    return 0;
  }
  if (result.image != image || result.endOfFileSeen != ended) std::abort();
  return 0;
}
