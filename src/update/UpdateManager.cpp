#include "update/UpdateManager.h"

#include <pthread.h>
#include <sched.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "update/ThreadStarter.h"
#include "update/common/ProgramDirectory.h"
#include "update/common/ServerListReader.h"
#include "update/common/TextFormat.h"
#include "update/common/UpdateFileList.h"
#include "update/common/UpdateInstaller.h"

#ifndef TAVRIK_UPDATE_HOST
#define TAVRIK_UPDATE_HOST "updates.tavrik.invalid"
#endif

namespace {

constexpr auto kSchedulePeriod = std::chrono::milliseconds(50);

// An empty file of our own in the temporary directory, as "Xml......".
std::string makeTemporaryFile() {
  std::error_code error;
  const std::filesystem::path directory = std::filesystem::temp_directory_path(error);
  if (error) return {};
  std::string pattern = (directory / "XmlXXXXXX").string();
  const int fd = ::mkstemp(pattern.data());
  if (fd < 0) return {};
  ::close(fd);
  return pattern;
}

std::string readWholeFile(std::FILE* file) {
  std::string text;
  char block[4096];
  size_t n;
  while ((n = std::fread(block, 1, sizeof block, file)) > 0) text.append(block, n);
  return text;
}

std::string environment(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

void lowerPriority() {
  sched_param none{};
  none.sched_priority = 0;
  if (pthread_setschedparam(pthread_self(), SCHED_IDLE, &none) != 0)
    setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), 19);
}

}  // namespace

UpdateManager::UpdateManager() = default;

UpdateManager::~UpdateManager() {
  stop(StopMode::AbortRunning);
  if (m_thread.joinable()) m_thread.join();
  m_starter.reset();
  // Nothing starts any more. A job started just as stop() looked at the
  // list is aborted here; whatever runs ends promptly, and its end handling
  // still takes the lock, so the waiting happens outside it.
  for (CInetFile* job : m_jobs.snapshot()) {
    job->abort();
    if (job->startCount() > 0) job->wait();
  }
  reapEndedJobs();
  // The ones never started. A list job's temporary file is otherwise
  // removed by its end handling, which these never reach.
  for (CInetFile* job : m_jobs.snapshot()) {
    const CInetFile::Target& target = job->target();
    if (target.type != CInetFile::kUpdateFile && !target.localPath.empty())
      std::remove(target.localPath.c_str());
  }
  m_jobs.clear();
}

void UpdateManager::setLogSink(UpdateLogSink sink) {
  m_log.setSink(std::move(sink));
}

void UpdateManager::setUpdatedFilesCallback(UpdatedFilesCallback callback) {
  std::lock_guard<std::mutex> lock(m_lock);
  m_onUpdated = std::move(callback);
}

std::string UpdateManager::builtInServerListUrl() {
  return std::string("https://") + TAVRIK_UPDATE_HOST + "/insV39/ver.txt";
}

std::string UpdateManager::updatedFilesStatusLine(const std::vector<std::string>& files) {
  std::string names;
  for (const std::string& file : files) {
    if (!names.empty()) names += "、";
    names += file;
  }
  return textf("已更新 %u 个文件：%s，下次启动时生效", static_cast<unsigned>(files.size()),
               names.c_str());
}

bool UpdateManager::start() {
  return start(Options{});
}

bool UpdateManager::start(const Options& options) {
  std::lock_guard<std::mutex> lock(m_lock);
  if (m_started) return false;
  m_programDirectory = options.programDirectory.empty() ? ProgramDirectory::ofRunningExecutable()
                                                        : options.programDirectory;
  m_updateFiles = std::make_unique<UpdateFileList>(m_programDirectory);
  std::string argumentText;
  if (options.argumentText) {
    argumentText = *options.argumentText;
  } else {
    const std::string configured = environment("TAVRIK_UPDATE_URL");
    argumentText = (configured.empty() ? builtInServerListUrl() : configured) + "  ";
  }
  m_extraCaFile = environment("TAVRIK_UPDATE_CA");
  try {
    m_starter = std::make_unique<ThreadStarter>();
    m_thread = std::thread(&UpdateManager::threadMain, this, argumentText, options.idlePriority);
  } catch (const std::system_error&) {
    m_starter.reset();
    return false;
  }
  m_started = true;
  m_log.trace("Thread started\n");
  return true;
}

bool UpdateManager::stop(StopMode mode) {
  // No manager lock here: the end of a download holds it while it reads the
  // installed files, and the window's close must not wait for that.
  {
    // After this no job starts; a job started just before is in the list.
    std::lock_guard<std::mutex> starting(m_startLock);
    m_finished = true;
  }
  if (mode == StopMode::AbortRunning) m_jobs.abortAll();
  m_wake.notify_all();
  return true;
}

void UpdateManager::threadMain(std::string argumentText, bool idlePriority) {
  if (idlePriority) lowerPriority();
  if (ProgramDirectory::leftToPackageManager(m_programDirectory)) {
    m_log.log(textf("程序目录 %s 不可写或属于系统安装的软件包，更新交由系统的软件包管理器",
                    m_programDirectory.c_str()));
    return;
  }
  {
    std::lock_guard<std::mutex> lock(m_lock);
    if (!argumentText.empty()) {
      const size_t space = argumentText.find(' ');
      if (space != std::string::npos && space > 0) {
        m_serverListUrl = argumentText.substr(0, space);
        if (argumentText.compare(space + 1, std::string::npos, "auto") == 0) m_auto = true;
      }
    }
    if (m_serverListUrl.empty()) {
      std::fputs("请输传递服务器列表参数 格式： ...exe http://..../..serverlist.txt auto\n",
                 stdout);
      std::fflush(stdout);
      return;
    }
    requestServerList(m_serverListUrl);
  }
  for (;;) {
    schedule();
    reapEndedJobs();
    std::unique_lock<std::mutex> lock(m_lock);
    m_wake.wait_for(lock, kSchedulePeriod, [this] { return m_finished.load(); });
    if (m_finished) break;
  }
  reapEndedJobs();
}

void UpdateManager::schedule() {
  std::lock_guard<std::mutex> lock(m_lock);
  std::lock_guard<std::mutex> starting(m_startLock);
  if (m_finished || m_nCurThreadCount >= m_maxJobs) return;
  // Only the first job is looked at and a job leaves the list when it has
  // ended, so downloads run one after another in the order they were made.
  CInetFile* job = m_jobs.first();
  if (job == nullptr || job->startCount() != 0) return;
  if (job->target().type == CInetFile::kUpdateFile)
    m_log.log(textf("正在更新文件：%s", job->target().name.c_str()));
  // Started from the update thread itself, the download would inherit its
  // idle priority for good.
  bool started = false;
  m_starter->run([job, &started] { started = job->start(); });
  if (started) {
    ++m_nCurThreadCount;
    m_log.trace("m_nCurThreadCount++\n");
  }
}

void UpdateManager::reapEndedJobs() {
  std::vector<CInetFile*> ended;
  {
    std::lock_guard<std::mutex> lock(m_lock);
    ended.swap(m_endedJobs);
  }
  for (CInetFile* job : ended) delete job;  // joins its thread
}

void UpdateManager::addJob(CInetFile::Target target) {
  m_jobs.add(new CInetFile(*this, m_log, std::move(target), m_extraCaFile));
}

void UpdateManager::requestServerList(const std::string& url) {
  CInetFile::Target target;
  target.type = CInetFile::kServerList;
  target.url = url;
  target.localPath = makeTemporaryFile();
  m_updateFiles->clear();
  m_log.log("正在连接获取服务器列表");
  addJob(std::move(target));
}

void UpdateManager::requestFileList() {
  const std::optional<CServer> server = m_servers.first();  // the others stand by unused
  if (!server) return;
  m_log.trace(server->url + "\n");
  CInetFile::Target target;
  target.type = CInetFile::kFileList;
  target.url = server->url;
  target.serverLabel = server->name;
  target.localPath = makeTemporaryFile();
  m_updateFiles->clear();
  m_log.log(textf("正在连接：%s", server->name.c_str()));
  addJob(std::move(target));
}

void UpdateManager::onDownloadEnd(uint32_t word, CInetFile* job) {
  std::vector<std::string> updated;
  UpdatedFilesCallback onUpdated;
  {
    std::lock_guard<std::mutex> lock(m_lock);
    m_log.trace(
        textf("Enter DownLoadFileEnd wParam = %u, lParam = %p\n", word, static_cast<void*>(job)));
    const int type = static_cast<int>(word >> 16);
    const int result = static_cast<int>(word & 0xFFFFu);
    if (type == CInetFile::kServerList) {
      serverListEnded(*job, result);
    } else if (type == CInetFile::kFileList) {
      fileListEnded(*job, result);
    } else {
      updateFileEnded(*job, result);
    }
    m_jobs.remove(job);
    m_endedJobs.push_back(job);
    if (m_jobs.count() == 0 && type == CInetFile::kUpdateFile) {
      m_log.log("更新完毕");
      m_log.trace("更新完毕Thread End\n");
      updated.swap(m_updatedFiles);
      onUpdated = m_onUpdated;
    }
    --m_nCurThreadCount;
  }
  if (!updated.empty() && onUpdated) onUpdated(updated, updatedFilesStatusLine(updated));
}

void UpdateManager::serverListEnded(CInetFile& job, int result) {
  const std::string& path = job.target().localPath;
  std::FILE* file = path.empty() ? nullptr : std::fopen(path.c_str(), "r");
  if (file == nullptr) return;
  // A failed download may have left part of a list; none of it is trusted.
  unsigned count = 0;
  if (result == CInetFile::kOk) {
    for (ServerListReader::Entry& entry : ServerListReader::read(readWholeFile(file))) {
      m_servers.add(std::make_unique<CServer>(std::move(entry.name), std::move(entry.url)));
      ++count;
    }
  }
  if (count == 0) {
    m_log.log("获得服务器列表失败");
  } else {
    m_log.log(textf("获取服务器列表成功,共取得 %u 个可选服务器", count));
    if (m_auto) requestFileList();
  }
  std::fclose(file);
  std::remove(path.c_str());
}

void UpdateManager::fileListEnded(CInetFile& job, int result) {
  const CInetFile::Target& list = job.target();
  if (result != CInetFile::kOk) {
    m_log.log(textf("%s：%s", job.errorText().c_str(), list.serverLabel.c_str()));
    if (!list.localPath.empty()) std::remove(list.localPath.c_str());
    return;
  }
  m_log.log(textf("获取更新文件列表成功：%s", list.serverLabel.c_str()));
  std::vector<UpdateFileList::Refusal> refusals;
  if (m_updateFiles->loadFromXml(list.localPath, &refusals)) {
    for (const UpdateFileList::Refusal& refused : refusals)
      m_log.log(textf("拒绝更新文件 [%s]：%s", refused.fileName.c_str(), refused.reason.c_str()));
    m_filesToUpdate = m_updateFiles->pruneAndCount();
    m_totalLength = m_updateFiles->totalLength();
    if (m_filesToUpdate != 0) {
      m_log.log(textf("需更新文件总数: %u, 文件总长度: %llu KB",
                      static_cast<unsigned>(m_filesToUpdate),
                      static_cast<unsigned long long>(m_totalLength >> 10)));
    } else {
      m_log.log("你当前的版本是最新的");
      m_log.trace("当前版本是最新版Thread End\n");
    }
  }
  while (std::unique_ptr<CUpdateFile> entry = m_updateFiles->takeNext()) {
    CInetFile::Target target;
    target.type = CInetFile::kUpdateFile;
    target.url = entry->url;
    target.serverLabel = list.serverLabel;
    target.localPath = entry->fullPath;
    target.name = entry->fileName;
    target.registerFile = entry->registerFile;
    target.execute = entry->execute;
    target.executeParameters = entry->executeParameters;
    target.sha256 = entry->sha256;
    addJob(std::move(target));
  }
  std::remove(list.localPath.c_str());
}

void UpdateManager::updateFileEnded(CInetFile& job, int result) {
  const CInetFile::Target& file = job.target();
  if (result != CInetFile::kOk) {
    m_log.log(textf("下载文件失败 [%s], 错误代码 [%u]", file.name.c_str(),
                    static_cast<unsigned>(result)));
    return;
  }
  UpdateInstaller installer([this](const std::string& text) { m_log.log(text); });
  UpdateInstaller::Request request;
  request.localPath = file.localPath;
  request.name = file.name;
  request.execute = file.execute;
  request.executeParameters = file.executeParameters;
  request.registerFile = file.registerFile;
  request.sha256 = file.sha256;
  if (installer.finishDownload(request)) m_updatedFiles.push_back(file.name);
}
