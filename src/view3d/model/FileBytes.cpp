#include "view3d/model/FileBytes.h"

#include <cstdio>
#include <memory>
#include <new>

namespace {
// Far beyond any model or texture; a directory may report a size like this.
constexpr long kLargestFile = 1L << 30;
}  // namespace

FileBytes::Result FileBytes::read(const std::string& path, std::vector<uint8_t>& bytes) {
  bytes.clear();
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"),
                                                       &std::fclose);
  if (!file) return Result::NotOpened;
  if (std::fseek(file.get(), 0, SEEK_END) != 0) return Result::NotRead;
  const long size = std::ftell(file.get());
  if (size <= 0 || size > kLargestFile || std::fseek(file.get(), 0, SEEK_SET) != 0)
    return Result::NotRead;
  try {
    bytes.resize(static_cast<size_t>(size));
  } catch (const std::bad_alloc&) {
    return Result::NotRead;
  }
  if (std::fread(bytes.data(), 1, bytes.size(), file.get()) != bytes.size()) {
    bytes.clear();
    return Result::NotRead;
  }
  return Result::Ok;
}
