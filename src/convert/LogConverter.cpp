#include "convert/LogConverter.h"

#include <algorithm>
#include <cerrno>
#include <memory>
#include <vector>

#include "convert/ConvertedTextFormat.h"
#include "protocol/HexText.h"

namespace {

constexpr size_t kFlushAt = size_t(4) << 20;

bool WriteOut(std::FILE* target, std::string& text, int& errorNumber) {
  errno = 0;
  const bool ok = text.empty() || std::fwrite(text.data(), 1, text.size(), target) == text.size();
  if (!ok) errorNumber = errno;
  text.clear();
  return ok;
}

}  // namespace

LogConverter::LogConverter(CPorotocalRtkAnalyse& analyser, const ConvertColumns& columns,
                           size_t blockChars)
    : m_analyser(analyser), m_columns(columns), m_blockChars(std::max<size_t>(blockChars, 2)) {}

LogConverter::Result LogConverter::Convert(std::FILE* log, std::FILE* target, uint64_t logSize,
                                           const Progress& progress) {
  if (!progress) return Convert(log, target, logSize, Observer());
  return Convert(log, target, logSize, [&progress](const Step& step) {
    progress(step.done, step.total);
    return true;
  });
}

LogConverter::Result LogConverter::Convert(std::FILE* log, std::FILE* target, uint64_t logSize,
                                           const Observer& observer) {
  Result result;
  std::string out = HeaderLine(m_columns);
  out.reserve(kFlushAt + 4096);

  FrameScanner scanner(m_analyser);
  HexStreamDecoder decoder;
  std::unique_ptr<char[]> text(new char[m_blockChars]);
  // Bytes not yet consumed by the scanner (an unfinished frame) stay at the
  // front; a block's decoded bytes go behind them.
  std::vector<uint8_t> bytes(kFrame220Length + m_blockChars / 2 + 1);
  size_t pending = 0;
  uint64_t done = 0;

  auto onFrame = [&](const uint8_t*, size_t) {
    DecodeCurrentFrame(m_analyser);
    AppendRow(out, m_analyser.Decoded(), m_columns);
    ++result.rows;
  };

  for (;;) {
    errno = 0;
    const size_t read = std::fread(text.get(), 1, m_blockChars, log);
    if (read < m_blockChars && std::ferror(log)) {
      result.status = Status::ReadError;
      result.errorNumber = errno;
      break;
    }
    const bool atEnd = read < m_blockChars && std::feof(log);
    pending += decoder.Decode(text.get(), read, bytes.data() + pending);
    const size_t used = scanner.Scan(bytes.data(), pending, atEnd, onFrame);
    std::copy(bytes.begin() + long(used), bytes.begin() + long(pending), bytes.begin());
    pending -= used;
    if (out.size() >= kFlushAt && !WriteOut(target, out, result.errorNumber)) {
      result.status = Status::WriteError;
      break;
    }
    done += read;
    if (atEnd) break;
    // Rows are appended whole, so stopping between blocks never leaves half
    // a row behind.
    if (observer && !observer(Step{done, logSize, result.rows})) {
      result.status = Status::Cancelled;
      break;
    }
  }
  // The last block's report; there is nothing left to stop.
  if (result.status == Status::Ok && observer) observer(Step{done, logSize, result.rows});

  if (result.status == Status::Ok || result.status == Status::Cancelled) {
    errno = 0;
    const bool written = WriteOut(target, out, result.errorNumber) && std::fflush(target) == 0 &&
                         !std::ferror(target);
    if (!written) {
      if (result.errorNumber == 0) result.errorNumber = errno;
      result.status = Status::WriteError;
    }
  }
  result.framesFailed = scanner.FramesFailed();
  result.bytesSkipped = scanner.BytesSkipped();
  return result;
}
