#include "update/common/ProgramDirectory.h"

#include <unistd.h>

#include <filesystem>
#include <string_view>
#include <system_error>

namespace fs = std::filesystem;

std::string ProgramDirectory::ofRunningExecutable() {
  std::error_code error;
  const fs::path executable = fs::read_symlink("/proc/self/exe", error);
  if (error) return {};
  return executable.parent_path().string();
}

bool ProgramDirectory::leftToPackageManager(const std::string& directory) {
  std::error_code error;
  const fs::path real = fs::weakly_canonical(directory, error);
  if (error || directory.empty()) return true;
  static constexpr std::string_view kSystemTrees[] = {"/usr",       "/bin",      "/sbin",   "/lib",
                                                      "/lib32",     "/lib64",    "/libx32", "/snap",
                                                      "/nix/store", "/gnu/store"};
  const std::string text = real.string();
  for (std::string_view tree : kSystemTrees) {
    if (text.compare(0, tree.size(), tree) == 0 &&
        (text.size() == tree.size() || text[tree.size()] == '/'))
      return true;
  }
  return ::access(text.c_str(), W_OK) != 0;
}
