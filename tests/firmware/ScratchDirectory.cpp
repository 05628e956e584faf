#include "tests/firmware/ScratchDirectory.h"

#include <cstdlib>
#include <string>

ScratchDirectory::ScratchDirectory() {
  std::string pattern =
      (std::filesystem::temp_directory_path() / "tavrik-firmware-XXXXXX").string();
  if (::mkdtemp(pattern.data())) m_path = pattern;
}

ScratchDirectory::~ScratchDirectory() {
  std::error_code ignored;
  if (!m_path.empty()) std::filesystem::remove_all(m_path, ignored);
}
