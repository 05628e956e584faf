#pragma once

#include <filesystem>
#include <string>
#include <vector>

// Runs command lines through /bin/sh and collects what they print, for the
// suites that drive the installation tools, dpkg and the launcher.
class ShellCommand {
 public:
  struct Result {
    int exitCode = -1;   // -1 when the command did not end normally
    std::string output;  // standard output and standard error together
  };

  static Result Run(const std::string& commandLine);
  // The text as one shell word.
  static std::string Quote(const std::string& text);
  static std::string Quote(const std::filesystem::path& path) { return Quote(path.string()); }
  // The output's lines, without their line ends.
  static std::vector<std::string> Lines(const std::string& text);
};
