#pragma once

#include <cstdint>
#include <string>

// One file of the update file list, or the installed file it is compared
// with. Entries of a downloaded list get their values from the list's
// children; readLocalInfo() fills them from the file at `fullPath`.
class CUpdateFile {
 public:
  explicit CUpdateFile(std::string fullPath = {});
  virtual ~CUpdateFile() = default;

  // Size, name, versions (from the embedded version marker) and last-write
  // time of the file at fullPath. True if the file could be read or at least
  // its time taken; a file without a marker keeps empty versions.
  bool readLocalInfo();

  // Whether this listed entry is newer than the installed file at fullPath:
  // always when nothing is installed there; by last-write time when the
  // listed "FileVersion" is empty; by version number otherwise, an installed
  // file without a version counting older than any listed version. An
  // installed file that cannot be read is left alone. The result is also kept
  // in needsUpdateFlag.
  bool needsUpdate();

  int64_t length = 0;
  std::string fileName;
  std::string fileVersion;
  std::string productVersion;
  bool registerFile = false;
  std::string installDir = "CURRENTDIR";
  bool zipFile = false;         // read and kept; no effect
  bool forceOverwrite = false;  // read and kept; no effect
  bool execute = false;
  std::string executeParameters;
  std::string localPath;
  uint64_t fileDate = 0;  // 100 ns units since 1601-01-01 UTC
  std::string fullPath;
  std::string url;
  std::string userName;  // read and kept; downloads carry no credentials
  std::string password;  // read and kept; downloads carry no credentials
  std::string sha256;    // hex digest the download must match, when given
  bool needsUpdateFlag = false;
};
