#include "tests/packaging/ShellCommand.h"

#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <sstream>

ShellCommand::Result ShellCommand::Run(const std::string& commandLine) {
  Result result;
  const std::string withErrors = "( " + commandLine + " ) 2>&1";
  std::FILE* pipe = ::popen(withErrors.c_str(), "r");
  if (!pipe) return result;
  std::array<char, 4096> buffer;
  size_t n;
  while ((n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
    result.output.append(buffer.data(), n);
  const int status = ::pclose(pipe);
  if (WIFEXITED(status)) result.exitCode = WEXITSTATUS(status);
  return result;
}

std::string ShellCommand::Quote(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) {
    if (c == '\'')
      quoted += "'\\''";
    else
      quoted += c;
  }
  return quoted + "'";
}

std::vector<std::string> ShellCommand::Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}
