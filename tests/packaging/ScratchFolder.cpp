#include "tests/packaging/ScratchFolder.h"

#include <cstdlib>
#include <stdexcept>
#include <string>

ScratchFolder::ScratchFolder() {
  std::string pattern =
      (std::filesystem::temp_directory_path() / "tavrik-packaging-XXXXXX").string();
  if (!::mkdtemp(pattern.data())) throw std::runtime_error("cannot create " + pattern);
  // Canonical, so paths the launcher reports (pwd -P) compare equal.
  m_path = std::filesystem::canonical(pattern);
}

ScratchFolder::~ScratchFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(m_path, ignored);
}
