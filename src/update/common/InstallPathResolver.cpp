#include "update/common/InstallPathResolver.h"

#include <algorithm>
#include <filesystem>
#include <iterator>
#include <system_error>

namespace fs = std::filesystem;

namespace {

InstallPathResolver::Resolution refuse(std::string reason) {
  InstallPathResolver::Resolution refused;
  refused.reason = std::move(reason);
  return refused;
}

bool isAbsolute(const std::string& part) {
  if (!part.empty() && part[0] == '/') return true;
  // "C:..." is rooted on the system the list may have been written for.
  return part.size() >= 2 && part[1] == ':' &&
         ((part[0] >= 'A' && part[0] <= 'Z') || (part[0] >= 'a' && part[0] <= 'z'));
}

// Empty when the part is acceptable, else the reason it is not.
std::string checkPart(std::string& part) {
  std::replace(part.begin(), part.end(), '\\', '/');
  if (part.find("..") != std::string::npos) return "路径含有“..”";
  if (isAbsolute(part)) return "路径是绝对路径";
  return {};
}

bool isInside(const fs::path& inner, const fs::path& outer) {
  auto i = inner.begin();
  for (auto o = outer.begin(); o != outer.end(); ++o, ++i) {
    if (o->empty()) continue;  // the trailing "" of "dir/"
    if (i == inner.end() || *i != *o) return false;
  }
  return i != inner.end();  // the directory itself is no file inside it
}

// A directory link that leads nowhere now could lead outside later, when the
// file is written; such paths are refused while they are checked.
bool passesDanglingLink(const fs::path& programDirectory, const fs::path& full) {
  fs::path prefix = programDirectory;
  auto part = full.begin();
  for (auto o = programDirectory.begin(); o != programDirectory.end(); ++o) ++part;
  for (; part != full.end() && std::next(part) != full.end(); ++part) {
    prefix /= *part;
    std::error_code error;
    if (fs::is_symlink(fs::symlink_status(prefix, error)) && !fs::exists(prefix, error))
      return true;
  }
  return false;
}

}  // namespace

InstallPathResolver::InstallPathResolver(std::string programDirectory)
    : m_programDirectory(std::move(programDirectory)) {
  std::error_code error;
  const fs::path absolute = fs::absolute(m_programDirectory, error);
  if (!error) m_programDirectory = absolute.lexically_normal().string();
  while (m_programDirectory.size() > 1 && m_programDirectory.back() == '/')
    m_programDirectory.pop_back();
}

InstallPathResolver::Resolution InstallPathResolver::resolve(const std::string& installDir,
                                                             const std::string& localPath,
                                                             const std::string& fileName) const {
  if (installDir == "WINDOWSDIR" || installDir == "SYSTEMDIR")
    return refuse("安装目录 " + installDir + " 在此系统上不存在");
  if (m_programDirectory.empty() || m_programDirectory[0] != '/') return refuse("程序目录未知");
  std::string local = localPath;
  std::string name = fileName;
  for (std::string* part : {&local, &name}) {
    std::string reason = checkPart(*part);
    if (!reason.empty()) return refuse(std::move(reason));
  }
  fs::path full(m_programDirectory);
  if (!local.empty()) full /= local;
  full /= name;
  full = full.lexically_normal();
  if (name.empty() || !full.has_filename()) return refuse("文件名为空");

  std::error_code error;
  const fs::path realProgram = fs::weakly_canonical(m_programDirectory, error);
  if (error) return refuse("程序目录无法解析");
  const fs::path realFull = fs::weakly_canonical(full, error);
  if (error || !isInside(realFull, realProgram) || !isInside(full, fs::path(m_programDirectory)) ||
      passesDanglingLink(fs::path(m_programDirectory), full))
    return refuse("路径指向程序目录之外");

  Resolution accepted;
  accepted.accepted = true;
  accepted.fullPath = full.string();
  return accepted;
}
