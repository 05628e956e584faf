#pragma once

#include <functional>
#include <string>

// Puts a downloaded file in place. The download lies next to its target as
// "<target>.update"; it is checked against its listed digest (when there is
// one), the installed file is deleted, the download renamed into its place
// with the old file's permission bits, and then, when listed so, started.
// Every step reports to the log; a failed step leaves the old file or the
// ".update" file as they were, except a download that fails its digest
// check, which is removed.
class UpdateInstaller {
 public:
  struct Request {
    std::string localPath;  // the target; the download is localPath + ".update"
    std::string name;       // for messages
    bool execute = false;
    std::string executeParameters;
    bool registerFile = false;
    std::string sha256;  // empty: no check
  };

  using Log = std::function<void(const std::string& text)>;

  explicit UpdateInstaller(Log log);

  // The end of a successful download: check, delete, install(). True when
  // the new file is in place.
  bool finishDownload(const Request& request);

  // Renames the download into place, then starts it if listed so. "Register"
  // has no meaning on this system and is only noted in the log.
  bool install(const Request& request, unsigned int mode);

  static std::string downloadPath(const std::string& localPath) { return localPath + ".update"; }

 private:
  Log m_log;
};
