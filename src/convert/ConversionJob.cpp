#include "convert/ConversionJob.h"

#include <cerrno>
#include <filesystem>
#include <system_error>

#include "convert/ConvertedTextFormat.h"

namespace fs = std::filesystem;

namespace {

constexpr size_t kTargetBuffer = size_t(1) << 20;

}  // namespace

bool NameTheSameFile(const std::string& a, const std::string& b) {
  if (a.empty() || b.empty()) return false;
  std::error_code error;
  return fs::equivalent(fs::path(a), fs::path(b), error) && !error;
}

ConversionJob::ConversionJob(Request request) : m_request(std::move(request)) {
  ApplyConfig(m_analyser, m_request.config);
}

ConversionJob::~ConversionJob() = default;

ConversionJob::Opening ConversionJob::Open() {
  if (NameTheSameFile(m_request.sourcePath, m_request.targetPath)) return Opening::SameFile;
  if (NameTheSameFile(m_request.busyPath, m_request.targetPath)) return Opening::TargetBusy;

  std::error_code error;
  // A folder opens for reading here, but holds no log.
  if (!m_request.sourcePath.empty() && !fs::is_directory(m_request.sourcePath, error)) {
    m_source.reset(std::fopen(m_request.sourcePath.c_str(), "rb"));
  }
  if (m_source) {
    const uintmax_t size = fs::file_size(m_request.sourcePath, error);
    m_logSize = error ? 0 : uint64_t(size);
  }
  if (!m_request.targetPath.empty()) {
    m_target.reset(std::fopen(m_request.targetPath.c_str(), "wb+"));
  }
  if (!m_target) {
    m_source.reset();
    return Opening::TargetFailed;
  }
  std::setvbuf(m_target.get(), nullptr, _IOFBF, kTargetBuffer);
  return m_source ? Opening::Ready : Opening::SourceFailed;
}

LogConverter::Result ConversionJob::Run(const LogConverter::Observer& observer) {
  LogConverter::Result result;
  if (!m_target) {
    m_source.reset();
    return result;
  }
  if (m_source) {
    LogConverter converter(m_analyser, m_request.columns, m_request.blockChars);
    result = converter.Convert(m_source.get(), m_target.get(), m_logSize, observer);
    m_source.reset();
  } else {
    const std::string header = HeaderLine(m_request.columns);
    errno = 0;
    if (std::fwrite(header.data(), 1, header.size(), m_target.get()) != header.size()) {
      result.status = LogConverter::Status::WriteError;
      result.errorNumber = errno;
    }
  }
  // Closing writes what the stream still holds; a full disk may show only here.
  errno = 0;
  const bool closed = std::fclose(m_target.release()) == 0;
  if (!closed && result.status != LogConverter::Status::WriteError &&
      result.status != LogConverter::Status::ReadError) {
    result.status = LogConverter::Status::WriteError;
    result.errorNumber = errno;
  }
  return result;
}
