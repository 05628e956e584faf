#pragma once

#include <sys/types.h>
#include <termios.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

// A pseudo-terminal pair (POSIX). The program opens the device end like a
// serial port; the unit talks through the master end. The device end is
// held open here too, in raw mode, so it neither echoes before a program sets
// its own mode nor hangs up the master while no program has it open.
class PseudoTerminal {
 public:
  // Null, with a reason in `error`, when no terminal could be made.
  static std::unique_ptr<PseudoTerminal> Open(std::string* error);
  ~PseudoTerminal();
  PseudoTerminal(const PseudoTerminal&) = delete;
  PseudoTerminal& operator=(const PseudoTerminal&) = delete;

  const std::string& DevicePath() const { return m_devicePath; }
  int MasterFd() const { return m_master; }

  // Makes `path` a symbolic link to the device (an existing link there is
  // replaced; anything else is left alone). Removed again on destruction.
  bool LinkTo(const std::string& path, std::string* error);

  // Non-blocking; -1 with errno EAGAIN when nothing can be moved now.
  ssize_t Read(uint8_t* bytes, size_t count);
  ssize_t Write(const uint8_t* bytes, size_t count);
  // The line settings a program applied to the device end.
  bool DeviceSettings(termios* settings) const;
  // Hangs up the line, as pulling the cable does.
  void CloseMaster();

 private:
  PseudoTerminal(int master, int device, std::string devicePath);

  int m_master;
  int m_device;
  std::string m_devicePath;
  std::string m_linkPath;
};
