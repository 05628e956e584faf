#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>

#include "convert/ConvertColumns.h"
#include "protocol/FrameScanner.h"
#include "protocol/PorotocalRtkAnalyse.h"

// Turns a raw log (hex text) into the converted column file: the header, then
// one row per frame in the log that passes its check. The log is read and the
// file written in large blocks; a log of any size converts in bounded memory.
class LogConverter {
 public:
  enum class Status { Ok, ReadError, WriteError, Cancelled };

  struct Result {
    Status status = Status::Ok;
    uint64_t rows = 0;
    uint64_t framesFailed = 0;
    uint64_t bytesSkipped = 0;
    int errorNumber = 0;  // errno of a read or write error
  };

  // Called after each block with the characters read so far and the total
  // (0 when the size is unknown).
  using Progress = std::function<void(uint64_t done, uint64_t total)>;

  // Where a conversion stands after a block.
  struct Step {
    uint64_t done = 0;   // characters of log read
    uint64_t total = 0;  // the log's size, 0 when unknown
    uint64_t rows = 0;   // rows made so far
  };
  // Asked after each block; false stops the conversion there with
  // Status::Cancelled, and the target keeps the header and every row made
  // so far, each one whole.
  using Observer = std::function<bool(const Step& step)>;

  // The analyser is the converter's own (configured for the heading
  // convention), never the program's live one: a conversion must not
  // disturb the display or a replay.
  LogConverter(CPorotocalRtkAnalyse& analyser, const ConvertColumns& columns,
               size_t blockChars = kBlockChars);

  Result Convert(std::FILE* log, std::FILE* target, uint64_t logSize = 0,
                 const Progress& progress = {});
  Result Convert(std::FILE* log, std::FILE* target, uint64_t logSize, const Observer& observer);

  static constexpr size_t kBlockChars = size_t(4) << 20;

 private:
  CPorotocalRtkAnalyse& m_analyser;
  ConvertColumns m_columns;
  size_t m_blockChars;
};
