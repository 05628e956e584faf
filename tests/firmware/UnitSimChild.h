#pragma once

#include <sys/types.h>

#include <cstdio>
#include <string>
#include <vector>

// tavrik-unitsim run as a child process; its first output line names the
// device end of its pseudo-terminal.
class UnitSimChild {
 public:
  explicit UnitSimChild(const std::vector<std::string>& arguments);
  ~UnitSimChild();
  UnitSimChild(const UnitSimChild&) = delete;
  UnitSimChild& operator=(const UnitSimChild&) = delete;

  bool Started() const { return !m_devicePath.empty(); }
  const std::string& DevicePath() const { return m_devicePath; }

  // SIGTERM, then the statistics line the unit prints as it ends.
  std::string Terminate();

 private:
  pid_t m_pid = -1;
  std::FILE* m_stdout = nullptr;
  std::string m_devicePath;
};
