#include "convert/LogConverter.h"

#include <memory>
#include <vector>

#include "convert/ConvertedTextFormat.h"
#include "protocol/HexText.h"

namespace {

constexpr size_t kFlushAt = size_t(4) << 20;

bool WriteOut(std::FILE* target, std::string& text) {
  const bool ok = text.empty() || std::fwrite(text.data(), 1, text.size(), target) == text.size();
  text.clear();
  return ok;
}

}  // namespace

LogConverter::LogConverter(CPorotocalRtkAnalyse& analyser, const ConvertColumns& columns)
    : m_analyser(analyser), m_columns(columns) {}

LogConverter::Result LogConverter::Convert(std::FILE* log, std::FILE* target, uint64_t logSize,
                                           const Progress& progress) {
  Result result;
  std::string out = HeaderLine(m_columns);
  out.reserve(kFlushAt + 4096);

  FrameScanner scanner(m_analyser);
  HexStreamDecoder decoder;
  std::unique_ptr<char[]> text(new char[kBlockChars]);
  // Bytes not yet consumed by the scanner (an unfinished frame) stay at the
  // front; a block's decoded bytes go behind them.
  std::vector<uint8_t> bytes(kFrame220Length + kBlockChars / 2 + 1);
  size_t pending = 0;
  uint64_t done = 0;

  auto onFrame = [&](const uint8_t*, size_t) {
    DecodeCurrentFrame(m_analyser);
    AppendRow(out, m_analyser.Decoded(), m_columns);
    ++result.rows;
  };

  for (;;) {
    const size_t read = std::fread(text.get(), 1, kBlockChars, log);
    if (read < kBlockChars && std::ferror(log)) {
      result.status = Status::ReadError;
      break;
    }
    const bool atEnd = read < kBlockChars && std::feof(log);
    pending += decoder.Decode(text.get(), read, bytes.data() + pending);
    const size_t used = scanner.Scan(bytes.data(), pending, atEnd, onFrame);
    std::copy(bytes.begin() + long(used), bytes.begin() + long(pending), bytes.begin());
    pending -= used;
    if (out.size() >= kFlushAt && !WriteOut(target, out)) {
      result.status = Status::WriteError;
      break;
    }
    done += read;
    if (progress) progress(done, logSize);
    if (atEnd) break;
  }

  if (result.status == Status::Ok &&
      (!WriteOut(target, out) || std::fflush(target) != 0 || std::ferror(target))) {
    result.status = Status::WriteError;
  }
  result.framesFailed = scanner.FramesFailed();
  result.bytesSkipped = scanner.BytesSkipped();
  return result;
}
