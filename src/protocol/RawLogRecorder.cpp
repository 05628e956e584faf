#include "protocol/RawLogRecorder.h"

#include <cerrno>
#include <system_error>

namespace {
constexpr size_t kStreamBuffer = size_t(64) << 10;

// std::strerror may share its buffer between threads; the category's text
// does not.
std::string SystemErrorText(int code) {
  return std::generic_category().message(code != 0 ? code : EIO);
}

// Whatever the stream still holds goes out if it can; empty when it all did.
std::string FlushAndClose(std::FILE* file) {
  errno = 0;
  if (std::fflush(file) != 0) {
    const std::string error = SystemErrorText(errno);
    std::fclose(file);
    return error;
  }
  errno = 0;
  return std::fclose(file) == 0 ? std::string() : SystemErrorText(errno);
}
}  // namespace

RawLogRecorder::RawLogRecorder(ErrorHandler onError) : m_onError(std::move(onError)) {}

RawLogRecorder::~RawLogRecorder() {
  Stop();
}

bool RawLogRecorder::Start(const std::string& path) {
  Stop();
  std::FILE* file = std::fopen(path.c_str(), "wb+");
  if (file == nullptr) return false;
  std::setvbuf(file, nullptr, _IOFBF, kStreamBuffer);
  std::lock_guard guard(m_lock);
  m_file = file;
  m_path = path;
  m_endedByError = false;
  m_written.store(0, std::memory_order_relaxed);
  // The stream is in place before the flag says so.
  m_active.store(true, std::memory_order_release);
  return true;
}

RawLogRecorder::StopResult RawLogRecorder::Stop() {
  StopResult result;
  std::FILE* file = nullptr;
  {
    std::lock_guard guard(m_lock);
    m_active.store(false, std::memory_order_release);
    std::swap(file, m_file);
    result.path = m_path;
    if (file == nullptr) {
      result.outcome =
          m_endedByError ? StopResult::Outcome::EndedByError : StopResult::Outcome::NotRecording;
      m_endedByError = false;
      return result;
    }
  }
  // Up to a stream buffer of text goes to the disk here, with the worker
  // already free to carry on.
  result.error = FlushAndClose(file);
  result.outcome = result.error.empty() ? StopResult::Outcome::Saved : StopResult::Outcome::Failed;
  return result;
}

std::string RawLogRecorder::Path() const {
  std::lock_guard guard(m_lock);
  return m_path;
}

bool RawLogRecorder::Append(std::string_view text) {
  if (text.empty()) return true;
  errno = 0;
  const size_t written = std::fwrite(text.data(), 1, text.size(), m_file);
  m_written.fetch_add(written, std::memory_order_relaxed);
  return written == text.size();
}

void RawLogRecorder::OnChunk(const Chunk& chunk) {
  if (!m_active.load(std::memory_order_acquire)) return;
  std::string failedPath, error;
  std::FILE* file = nullptr;
  {
    std::lock_guard guard(m_lock);
    if (m_file == nullptr) return;
    if (Append(chunk.firstText) && Append(chunk.restText)) return;
    error = SystemErrorText(errno);
    failedPath = m_path;
    std::swap(file, m_file);
    m_endedByError = true;
    m_active.store(false, std::memory_order_release);
  }
  // The file keeps every byte written before the error.
  FlushAndClose(file);
  if (m_onError) m_onError(failedPath, error);
}
