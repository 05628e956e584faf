#pragma once

#include <string>

// Where a listed file goes on this machine. Everything the update check
// writes stays inside the program directory: an entry whose "FileName" or
// "LocalPath" is absolute, contains "..", or leads (after symbolic links)
// outside the program directory is refused, and so are the install
// directories "WINDOWSDIR" and "SYSTEMDIR", which this system does not have.
// Any other "InstallDir" (the usual "CURRENTDIR", but also a lower-case
// "windowsdir", which names no known directory) means the program directory.
// Both '/' and '\' separate path parts, since lists are written for either
// system.
class InstallPathResolver {
 public:
  struct Resolution {
    bool accepted = false;
    std::string fullPath;  // program directory/LocalPath/FileName
    std::string reason;    // why it was refused, for the log
  };

  explicit InstallPathResolver(std::string programDirectory);

  Resolution resolve(const std::string& installDir, const std::string& localPath,
                     const std::string& fileName) const;

  const std::string& programDirectory() const { return m_programDirectory; }

 private:
  std::string m_programDirectory;
};
