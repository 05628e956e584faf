#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>

#include "ConvertColumns.h"
#include "FrameScanner.h"
#include "PorotocalAnalyse.h"

// Turns a raw log (hex text) into the converted column file: the header, then
// one row per frame in the log that passes its check. The log is read and the
// file written in large blocks; a log of any size converts in bounded memory.
class LogConverter {
 public:
  enum class Status { Ok, ReadError, WriteError };

  struct Result {
    Status status = Status::Ok;
    uint64_t rows = 0;
    uint64_t framesFailed = 0;
    uint64_t bytesSkipped = 0;
  };

  // Called after each block with the characters read so far and the total
  // (0 when the size is unknown).
  using Progress = std::function<void(uint64_t done, uint64_t total)>;

  LogConverter(CPorotocalAnalyse& analyser, const ConvertColumns& columns);

  Result Convert(std::FILE* log, std::FILE* target, uint64_t logSize = 0,
                 const Progress& progress = {});

  static constexpr size_t kBlockChars = size_t(4) << 20;

 private:
  CPorotocalAnalyse& m_analyser;
  ConvertColumns m_columns;
};
