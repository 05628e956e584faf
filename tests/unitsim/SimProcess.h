#pragma once

#include <sys/types.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

// tavrik-unitsim run as a child process, and the program's end of its
// pseudo-terminal opened as a raw serial line.
class SimProcess {
 public:
  static constexpr std::chrono::seconds kPatience{30};

  explicit SimProcess(const std::vector<std::string>& arguments);
  ~SimProcess();
  SimProcess(const SimProcess&) = delete;
  SimProcess& operator=(const SimProcess&) = delete;

  bool Started() const { return m_line >= 0; }
  const std::string& DevicePath() const { return m_devicePath; }

  void Write(const std::string& bytes);
  void Write(const std::vector<uint8_t>& bytes);
  // Exactly `count` bytes, or fewer when they do not come within the patience.
  std::vector<uint8_t> Read(size_t count);
  // Whatever has come, waiting up to the patience for the first byte.
  std::vector<uint8_t> ReadSome();
  // Everything up to and including `text`; empty if it never came.
  std::string ReadUntil(const std::string& text);

  // SIGTERM; returns the statistics line and the exit status.
  std::string Terminate(int* exitStatus = nullptr);

 private:
  pid_t m_pid = -1;
  FILE* m_stdout = nullptr;
  int m_line = -1;
  std::string m_devicePath;
  std::vector<uint8_t> m_unread;  // read from the line beyond what was asked for
};
