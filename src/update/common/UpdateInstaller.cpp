#include "update/common/UpdateInstaller.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <optional>
#include <vector>

#include "update/common/CommandLineWords.h"
#include "update/common/DetachedProcess.h"
#include "update/common/Sha256.h"
#include "update/common/TextFormat.h"

UpdateInstaller::UpdateInstaller(Log log) : m_log(std::move(log)) {}

bool UpdateInstaller::finishDownload(const Request& request) {
  const std::string download = downloadPath(request.localPath);
  if (!request.sha256.empty()) {
    const std::optional<std::string> digest = Sha256::ofFile(download);
    if (!digest || !Sha256::matches(request.sha256, *digest)) {
      m_log(textf("文件校验失败 [%s]", request.name.c_str()));
      ::unlink(download.c_str());
      return false;
    }
  }
  struct stat downloaded {};
  unsigned int mode = ::stat(download.c_str(), &downloaded) == 0 ? downloaded.st_mode & 0777 : 0644;
  // A new program that is to be started must be executable wherever it is
  // readable.
  if (request.execute) mode |= (mode & 0444) >> 2;
  struct stat installed {};
  if (::lstat(request.localPath.c_str(), &installed) == 0) {
    if (S_ISREG(installed.st_mode)) mode = installed.st_mode & 0777;
    if (::unlink(request.localPath.c_str()) != 0) {
      m_log(textf("删除文件失败 [%s]", request.name.c_str()));
      return false;
    }
  }
  return install(request, mode);
}

bool UpdateInstaller::install(const Request& request, unsigned int mode) {
  const std::string download = downloadPath(request.localPath);
  ::chmod(download.c_str(), mode);
  if (std::rename(download.c_str(), request.localPath.c_str()) != 0) {
    m_log(textf("重命名文件失败 [%s]", request.name.c_str()));
    return false;
  }
  m_log(textf("下载文件成功 [%s]", request.name.c_str()));
  if (request.execute) {
    const std::optional<std::vector<std::string>> arguments =
        CommandLineWords::split(request.executeParameters);
    if (!arguments || !DetachedProcess::start(request.localPath, *arguments))
      m_log(textf("启动文件失败 [%s]", request.name.c_str()));
  }
  if (request.registerFile) m_log(textf("跳过注册 [%s]：此系统没有组件注册", request.name.c_str()));
  return true;
}
