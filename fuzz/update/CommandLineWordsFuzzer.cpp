// Arbitrary parameter texts split into words: never a crash, and a text
// without quotes or backslashes splits exactly at its blanks.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "update/common/CommandLineWords.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const auto words = CommandLineWords::split(text);
  if (text.find_first_of("'\"\\") != std::string_view::npos) return 0;
  if (!words) std::abort();
  size_t characters = 0;
  for (const auto& word : *words) {
    if (word.empty() || word.find_first_of(" \t\n") != std::string::npos) std::abort();
    characters += word.size();
  }
  size_t plain = 0;
  for (char c : text) plain += c != ' ' && c != '\t' && c != '\n';
  if (characters != plain) std::abort();
  return 0;
}
