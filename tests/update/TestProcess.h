#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

// Programs the tests start: found on PATH, no shell in between.
class TestProcess {
 public:
  // Runs to its end with its output going to `output` (appended); true
  // when it exits with 0.
  static bool run(const std::vector<std::string>& argv, const std::string& output = "/dev/null");
  // Starts it and returns its process id (or -1).
  static pid_t spawn(const std::vector<std::string>& argv, const std::string& output = {});
  // Ends a spawned process and collects it.
  static void end(pid_t pid);
};
