#include "update/common/CommandLineWords.h"

std::optional<std::vector<std::string>> CommandLineWords::split(std::string_view text) {
  std::vector<std::string> words;
  std::string word;
  bool inWord = false;  // "" makes a word even though it adds no character
  size_t i = 0;
  while (i < text.size()) {
    const char c = text[i];
    if (c == ' ' || c == '\t' || c == '\n') {
      if (inWord) words.push_back(std::move(word));
      word.clear();
      inWord = false;
      ++i;
    } else if (c == '\\') {
      inWord = true;
      if (i + 1 >= text.size()) {
        word += c;
        ++i;
      } else {
        if (text[i + 1] != '\n') word += text[i + 1];  // backslash-newline joins lines
        i += 2;
      }
    } else if (c == '\'') {
      const size_t close = text.find('\'', i + 1);
      if (close == std::string_view::npos) return std::nullopt;
      word.append(text.substr(i + 1, close - i - 1));
      inWord = true;
      i = close + 1;
    } else if (c == '"') {
      inWord = true;
      ++i;
      for (;;) {
        if (i >= text.size()) return std::nullopt;
        const char d = text[i];
        if (d == '"') {
          ++i;
          break;
        }
        if (d == '\\' && i + 1 < text.size()) {
          const char e = text[i + 1];
          if (e == '$' || e == '`' || e == '"' || e == '\\') {
            word += e;
            i += 2;
            continue;
          }
          if (e == '\n') {
            i += 2;
            continue;
          }
        }
        word += d;
        ++i;
      }
    } else {
      word += c;
      inWord = true;
      ++i;
    }
  }
  if (inWord) words.push_back(std::move(word));
  return words;
}
