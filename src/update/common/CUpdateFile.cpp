#include "update/common/CUpdateFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <optional>

#include "update/common/FileTime.h"
#include "update/common/VersionMarker.h"
#include "update/common/VersionNumber.h"

CUpdateFile::CUpdateFile(std::string path) : fullPath(std::move(path)) {}

bool CUpdateFile::readLocalInfo() {
  if (fullPath.empty()) return false;
  bool read = false;
  const int fd = ::open(fullPath.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd >= 0) {
    struct stat info {};
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode)) {
      length = static_cast<int64_t>(info.st_size);
      const size_t slash = fullPath.find_last_of('/');
      fileName = slash == std::string::npos ? fullPath : fullPath.substr(slash + 1);
      if (std::optional<VersionMarker::Versions> versions = VersionMarker::find(fd)) {
        fileVersion = versions->fileVersion;
        productVersion = versions->productVersion;
      }
      read = true;
    }
    ::close(fd);
  }
  // The time is taken on its own, so a file we may not open still dates.
  struct stat info {};
  if (::stat(fullPath.c_str(), &info) == 0 && S_ISREG(info.st_mode)) {
    fileDate = FileTime::fromUnix(info.st_mtim);
    read = true;
  }
  return read;
}

bool CUpdateFile::needsUpdate() {
  struct stat info {};
  if (::stat(fullPath.c_str(), &info) != 0) {
    // Nothing installed there yet; any other failure means something is
    // there that we cannot look at, which is better left alone.
    needsUpdateFlag = errno == ENOENT || errno == ENOTDIR;
    return needsUpdateFlag;
  }
  CUpdateFile installed(fullPath);
  if (!installed.readLocalInfo()) {
    needsUpdateFlag = false;
  } else if (fileVersion.empty()) {
    needsUpdateFlag = installed.fileDate < fileDate;
  } else if (installed.fileVersion.empty()) {
    needsUpdateFlag = true;
  } else {
    needsUpdateFlag = VersionNumber::compare(installed.fileVersion, fileVersion) < 0;
  }
  return needsUpdateFlag;
}
