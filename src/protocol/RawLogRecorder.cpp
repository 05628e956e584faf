#include "protocol/RawLogRecorder.h"

#include <cerrno>
#include <cstring>

namespace {
constexpr size_t kStreamBuffer = size_t(64) << 10;
}

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
  m_written.store(0, std::memory_order_relaxed);
  // The stream is in place before the flag says so.
  m_active.store(true, std::memory_order_release);
  return true;
}

bool RawLogRecorder::Stop() {
  std::lock_guard guard(m_lock);
  m_active.store(false, std::memory_order_release);
  if (m_file == nullptr) return false;
  std::fclose(m_file);
  m_file = nullptr;
  return true;
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
  {
    std::lock_guard guard(m_lock);
    if (m_file == nullptr) return;
    if (Append(chunk.firstText) && Append(chunk.restText)) return;
    error = std::strerror(errno != 0 ? errno : EIO);
    failedPath = m_path;
    // Whatever the stream still holds goes out if it can; the file keeps
    // every byte written before the error.
    std::fclose(m_file);
    m_file = nullptr;
    m_active.store(false, std::memory_order_release);
  }
  if (m_onError) m_onError(failedPath, error);
}
