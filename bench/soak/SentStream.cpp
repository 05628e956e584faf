#include "bench/soak/SentStream.h"

#include <algorithm>
#include <cstring>
#include <string_view>

#include "protocol/FrameScanner.h"
#include "protocol/HexText.h"
#include "protocol/PorotocalRtkAnalyse.h"

namespace {

constexpr std::string_view kAnswerStart = "*PA AUTO ";
constexpr std::string_view kStopAnswer = "*PA AUTO STOP 1\r\n";
constexpr std::string_view kSerialNumberAnswer = "*PA AUTO SN=";
constexpr std::string_view kStatusAnswer = "*PA AUTO STATUS";
// No answer of the unit is longer; a longer "line" is noise that happens to
// spell the start of one.
constexpr size_t kLongestAnswer = 64;
constexpr size_t kBlock = size_t(64) << 10;
// The log's run is looked for this far into the bulk road.
constexpr size_t kSearchSpan = size_t(1) << 20;
constexpr size_t kProbeLength = 64;

}  // namespace

bool SentStream::Open(const QString& teePath) {
  m_file.setFileName(teePath);
  if (!m_file.open(QIODevice::ReadOnly)) return false;
  m_size = m_file.size();
  if (m_size > 0) {
    m_data = m_file.map(0, m_size);
    if (m_data == nullptr) return false;
  }
  SplitRoads();
  return true;
}

void SentStream::SplitRoads() {
  const std::string_view all(reinterpret_cast<const char*>(m_data), size_t(m_size));
  size_t bulkStart = 0;
  size_t lastStopEnd = std::string_view::npos;  // end of the last stop answer on the bulk road
  for (size_t at = all.find(kAnswerStart); at != std::string_view::npos;
       at = all.find(kAnswerStart, at + 1)) {
    const size_t crlf = all.find("\r\n", at);
    if (crlf == std::string_view::npos || crlf - at > kLongestAnswer) continue;
    const size_t end = crlf + 2;
    const std::string_view line = all.substr(at, end - at);
    const bool perByte = line.starts_with(kSerialNumberAnswer) || line.starts_with(kStatusAnswer) ||
                         (line == kStopAnswer && lastStopEnd == at);
    if (!perByte) {
      if (line == kStopAnswer) lastStopEnd = end;
      continue;
    }
    if (at > bulkStart) m_bulk.emplace_back(bulkStart, at);
    bulkStart = end;
    ++m_perByteAnswers;
    lastStopEnd = std::string_view::npos;
    at = end - 1;
  }
  if (size_t(m_size) > bulkStart) m_bulk.emplace_back(bulkStart, size_t(m_size));
  m_bulkBytes = 0;
  for (const Piece& piece : m_bulk) m_bulkBytes += piece.second - piece.first;
}

void SentStream::ForEachBulkPiece(const std::function<void(const uint8_t*, size_t)>& sink) const {
  for (const Piece& piece : m_bulk) {
    for (size_t at = piece.first; at < piece.second; at += kBlock) {
      sink(m_data + at, std::min(kBlock, piece.second - at));
    }
  }
}

uint64_t SentStream::CountFrames() const {
  CPorotocalRtkAnalyse checker;
  FrameScanner scanner(checker);
  std::vector<uint8_t> pending;
  ForEachBulkPiece([&](const uint8_t* bytes, size_t count) {
    pending.insert(pending.end(), bytes, bytes + count);
    const size_t consumed = scanner.Scan(pending.data(), pending.size(), false, [](auto, auto) {});
    pending.erase(pending.begin(), pending.begin() + std::ptrdiff_t(consumed));
  });
  return scanner.FramesPassed();
}

SentStream::LogComparison SentStream::CompareLog(const QString& logPath) const {
  LogComparison result;
  QFile file(logPath);
  if (!file.open(QIODevice::ReadOnly)) return result;
  result.readable = true;
  const qint64 textSize = file.size();
  if (textSize == 0) {
    result.contiguous = true;
    return result;
  }
  const char* text = reinterpret_cast<const char*>(file.map(0, textSize));
  if (text == nullptr) {
    result.readable = false;
    return result;
  }

  // The log, decoded a block at a time as the comparison asks for it.
  HexStreamDecoder decoder;
  std::vector<uint8_t> logBlock(kBlock + 1);
  size_t blockFill = 0, blockAt = 0;
  qint64 textAt = 0;
  auto nextLogBytes = [&]() -> bool {
    while (blockAt == blockFill && textAt < textSize) {
      const qint64 length = std::min<qint64>(3 * qint64(kBlock), textSize - textAt);
      blockFill = decoder.Decode(text + textAt, size_t(length), logBlock.data());
      blockAt = 0;
      textAt += length;
    }
    return blockAt < blockFill;
  };

  // Where the log's first bytes stand in the bulk road.
  std::vector<uint8_t> head;
  for (const Piece& piece : m_bulk) {
    const size_t want =
        std::min(piece.second - piece.first, kSearchSpan + kProbeLength - head.size());
    head.insert(head.end(), m_data + piece.first, m_data + piece.first + want);
    if (head.size() >= kSearchSpan + kProbeLength) break;
  }
  if (!nextLogBytes()) {
    result.contiguous = true;
    return result;
  }
  const size_t probe = std::min(kProbeLength, blockFill);
  const auto found = std::search(head.begin(), head.end(), logBlock.begin(),
                                 logBlock.begin() + std::ptrdiff_t(probe));
  if (found == head.end()) {
    result.logBytes = blockFill;
    return result;
  }
  result.offset = uint64_t(found - head.begin());

  // From there every byte of the log must follow the bulk road.
  uint64_t skip = result.offset;
  bool matching = true;
  for (const Piece& piece : m_bulk) {
    size_t at = piece.first;
    const size_t length = piece.second - piece.first;
    if (skip >= length) {
      skip -= length;
      continue;
    }
    at += size_t(skip);
    skip = 0;
    while (at < piece.second && nextLogBytes()) {
      const size_t n = std::min(piece.second - at, blockFill - blockAt);
      if (std::memcmp(m_data + at, logBlock.data() + blockAt, n) != 0) {
        matching = false;
        break;
      }
      at += n;
      blockAt += n;
      result.logBytes += n;
    }
    if (!matching || !nextLogBytes()) break;
  }
  // Log bytes left over once the bulk road has ended were never sent.
  if (matching && nextLogBytes()) matching = false;
  while (nextLogBytes()) {
    result.logBytes += blockFill - blockAt;
    blockAt = blockFill;
  }
  result.contiguous = matching;
  return result;
}
