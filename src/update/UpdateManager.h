#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "update/CInetFile.h"
#include "update/CInetFiles.h"
#include "update/CServers.h"
#include "update/DownloadEndListener.h"
#include "update/UpdateLog.h"

class ThreadStarter;
class UpdateFileList;

// The background update check. start() runs a thread at idle priority that
// fetches the server list, then the first server's XML file list, and then,
// one download at a time in list order, every listed file newer than the
// installed one; each download is written beside its target as ".update" and
// then put in its place. The downloads, and the programs they start, keep
// the scheduling of the thread that called start(). Everything it does is
// told through the log sink (status lines stamped "hh:mm:ss"); when files
// were replaced, the updated-files callback hears which.
//
// The server list comes from TAVRIK_UPDATE_URL when set, else from the
// built-in address (builtInServerListUrl()). TAVRIK_UPDATE_CA names a PEM
// file of extra certificates to trust besides the system's store. Only
// HTTPS is spoken and nothing is ever written outside the program directory;
// a program directory we may not write, or one owned by the system's
// packages, is left to the package manager and nothing is downloaded.
//
// Main window use: setLogSink() and setUpdatedFilesCallback() once, start()
// at initialisation, stop() after the start-output command, and
// stop(StopMode::AbortRunning) at close. stop() never blocks; the destructor
// joins the threads and waits for no network, only for a running end of a
// download to finish its work on local files.
class UpdateManager final : public DownloadEndListener {
 public:
  enum class StopMode {
    LetRunningFinish,  // a running download completes and is handled
    AbortRunning,      // a running download ends at once (code 8)
  };

  struct Options {
    std::string programDirectory;  // empty: the running executable's directory
    // Replaces "<server-list URL>  ": a URL, a space, then "auto" or not.
    std::optional<std::string> argumentText;
    bool idlePriority = true;  // off in tests on busy machines
  };

  // Called once all downloads of a file list have ended, when at least one
  // file was replaced, on a download thread: hand it to the GUI thread.
  using UpdatedFilesCallback =
      std::function<void(const std::vector<std::string>& files, const std::string& statusLine)>;

  UpdateManager();
  // Stops (aborting a running download) and joins every thread.
  ~UpdateManager() override;
  UpdateManager(const UpdateManager&) = delete;
  UpdateManager& operator=(const UpdateManager&) = delete;

  void setLogSink(UpdateLogSink sink);
  void setUpdatedFilesCallback(UpdatedFilesCallback callback);

  // Starts the update thread once; false if it is already started or
  // cannot be created.
  bool start();
  bool start(const Options& options);

  // Ends the scheduling: no queued download starts any more. Always true.
  bool stop(StopMode mode = StopMode::LetRunningFinish);

  // "https://<TAVRIK_UPDATE_HOST>/insV39/ver.txt"
  static std::string builtInServerListUrl();
  // The window's status line for the given replaced files.
  static std::string updatedFilesStatusLine(const std::vector<std::string>& files);

  // The end of a download job, on the job's thread.
  void onDownloadEnd(uint32_t word, CInetFile* job) override;

 private:
  void threadMain(std::string argumentText, bool idlePriority);
  void schedule();
  void reapEndedJobs();
  // These run under m_lock.
  void requestServerList(const std::string& url);
  void requestFileList();
  void serverListEnded(CInetFile& job, int result);
  void fileListEnded(CInetFile& job, int result);
  void updateFileEnded(CInetFile& job, int result);
  void addJob(CInetFile::Target target);

  UpdateLog m_log;
  std::mutex m_lock;       // held by schedule and the end of every download
  std::mutex m_startLock;  // held while a job is started, and by stop()
  std::condition_variable m_wake;
  std::string m_serverListUrl;
  bool m_auto = true;
  int m_maxJobs = 5;
  int m_nCurThreadCount = 0;
  CInetFiles m_jobs;
  std::vector<CInetFile*> m_endedJobs;  // removed from m_jobs, waiting to be joined
  std::unique_ptr<UpdateFileList> m_updateFiles;
  std::unique_ptr<ThreadStarter> m_starter;  // starts the download threads
  CServers m_servers;
  int m_filesToUpdate = 0;
  int64_t m_totalLength = 0;
  std::atomic<bool> m_finished{false};
  bool m_started = false;
  std::string m_programDirectory;
  std::string m_extraCaFile;
  std::vector<std::string> m_updatedFiles;
  UpdatedFilesCallback m_onUpdated;
  std::thread m_thread;
};
