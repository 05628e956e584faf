#pragma once

#include <string>

// printf-style formatting into a std::string, for the fixed message texts of
// the update check ("正在更新文件：%s", ...).
std::string textf(const char* format, ...) __attribute__((format(printf, 1, 2)));
