#pragma once

#include <string>

// The directory our program files live in, and whether we may update them.
class ProgramDirectory {
 public:
  // The directory of the running executable; empty if it cannot be found.
  static std::string ofRunningExecutable();

  // True when the files in `directory` are not ours to replace: we cannot
  // write there, or it belongs to the system's installed packages (/usr and
  // the like). Those updates are the package manager's business.
  static bool leftToPackageManager(const std::string& directory);
};
