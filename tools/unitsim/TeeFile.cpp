#include "tools/unitsim/TeeFile.h"

#include <cerrno>
#include <cstring>

namespace {

// Large enough that an unpaced stream costs few writes.
constexpr size_t kBufferSize = 1 << 20;

}  // namespace

std::unique_ptr<TeeFile> TeeFile::Open(const std::string& path, std::string* error) {
  std::FILE* file = std::fopen(path.c_str(), "ab");
  if (!file) {
    *error = path + ": " + std::strerror(errno);
    return nullptr;
  }
  std::setvbuf(file, nullptr, _IOFBF, kBufferSize);
  return std::unique_ptr<TeeFile>(new TeeFile(file));
}

TeeFile::~TeeFile() {
  std::fclose(m_file);
}

void TeeFile::Append(const uint8_t* bytes, size_t count) {
  std::fwrite(bytes, 1, count, m_file);
}
