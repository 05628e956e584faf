#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Reads a whole file into one buffer with one read call. A file that opens
// but cannot be read through (a directory, an empty file, a read error) is
// told apart from one that does not open at all, since the bitmap reader
// reports only the first.
class FileBytes {
 public:
  enum class Result { Ok, NotOpened, NotRead };
  static Result read(const std::string& path, std::vector<uint8_t>& bytes);
};
