#pragma once

#include <QFile>
#include <QString>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

// What the virtual unit sent, read back from its --tee copy, and the share
// of it that the program's bulk road took: everything except the answers
// that arrived while the program read the line byte by byte (Command mode).
// Those are the lines that answer the commands sent from Command mode: the
// serial number, the status and the stop that the "停止输出" button sends
// after the stream was already stopped (so it follows a stop answer
// directly). Every other byte (frames, noise, the answers to a start or to a
// stop sent while frames were still being read) went into the receive ring,
// and the raw log holds exactly these bytes.
class SentStream {
 public:
  struct LogComparison {
    bool readable = false;
    bool contiguous = false;  // the log is one unbroken run of the bulk road
    uint64_t logBytes = 0;
    uint64_t offset = 0;  // where that run starts in the bulk road
  };

  // False when the copy cannot be read.
  bool Open(const QString& teePath);

  uint64_t TeeBytes() const { return uint64_t(m_size); }
  uint64_t BulkBytes() const { return m_bulkBytes; }
  size_t PerByteAnswers() const { return m_perByteAnswers; }

  // The frames the program's own frame scanner finds in the bulk road, fed
  // to it in pieces as the ring parser is, and with no end of data: a frame
  // that a false header in the noise before it still holds back would be
  // taken by the parser only with more bytes behind it, and none come.
  uint64_t CountFrames() const;

  // Decodes the raw log (hex text) and compares it with the bulk road.
  LogComparison CompareLog(const QString& logPath) const;

 private:
  using Piece = std::pair<size_t, size_t>;  // [begin, end) in the copy

  void ForEachBulkPiece(const std::function<void(const uint8_t*, size_t)>& sink) const;
  void SplitRoads();

  QFile m_file;
  const uint8_t* m_data = nullptr;
  qint64 m_size = 0;
  std::vector<Piece> m_bulk;
  uint64_t m_bulkBytes = 0;
  size_t m_perByteAnswers = 0;
};
