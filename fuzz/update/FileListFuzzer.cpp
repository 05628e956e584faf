// Arbitrary bytes read as an update file list: never a crash, and no entry
// that is let in points anywhere but below the program directory.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "update/common/UpdateFileList.h"

namespace {

// A directory that does not exist, so nothing the list names is found
// installed and the fuzzer touches no real files.
const std::string kProgram = "/nonexistent-tavrik-fuzz/program";

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  UpdateFileList files(kProgram);
  std::vector<UpdateFileList::Refusal> refusals;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  if (!files.loadFromXmlText(text, &refusals)) {
    if (files.size() != 0 || !refusals.empty()) std::abort();
    return 0;
  }
  const size_t listed = files.size();
  // Nothing is installed; only names the system cannot hold drop out.
  if (files.pruneAndCount() > static_cast<int>(listed)) std::abort();
  if (files.totalLength() < 0) std::abort();
  while (auto file = files.takeNext()) {
    const std::string& path = file->fullPath;
    if (path.compare(0, kProgram.size() + 1, kProgram + "/") != 0) std::abort();
    if (path.find("..") != std::string::npos || path.size() == kProgram.size() + 1) std::abort();
    if (!file->needsUpdateFlag) std::abort();
  }
  return 0;
}
