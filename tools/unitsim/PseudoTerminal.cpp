#include "PseudoTerminal.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace {

std::string SystemError(const char* what) {
  return std::string(what) + ": " + std::strerror(errno);
}

}  // namespace

std::unique_ptr<PseudoTerminal> PseudoTerminal::Open(std::string* error) {
  const int master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (master < 0) {
    *error = SystemError("posix_openpt");
    return nullptr;
  }
  char name[128];
  if (::grantpt(master) != 0 || ::unlockpt(master) != 0 ||
      ::ptsname_r(master, name, sizeof name) != 0) {
    *error = SystemError("pseudo-terminal set-up");
    ::close(master);
    return nullptr;
  }
  const int device = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (device < 0) {
    *error = SystemError(name);
    ::close(master);
    return nullptr;
  }
  termios raw{};
  ::tcgetattr(device, &raw);
  ::cfmakeraw(&raw);
  ::tcsetattr(device, TCSANOW, &raw);
  ::fcntl(master, F_SETFL, ::fcntl(master, F_GETFL) | O_NONBLOCK);
  return std::unique_ptr<PseudoTerminal>(new PseudoTerminal(master, device, name));
}

PseudoTerminal::PseudoTerminal(int master, int device, std::string devicePath)
    : m_master(master), m_device(device), m_devicePath(std::move(devicePath)) {}

PseudoTerminal::~PseudoTerminal() {
  if (!m_linkPath.empty()) ::unlink(m_linkPath.c_str());
  CloseMaster();
  if (m_device >= 0) ::close(m_device);
}

bool PseudoTerminal::LinkTo(const std::string& path, std::string* error) {
  struct stat existing {};
  if (::lstat(path.c_str(), &existing) == 0) {
    if (!S_ISLNK(existing.st_mode)) {
      *error = path + " exists and is not a symbolic link";
      return false;
    }
    ::unlink(path.c_str());
  }
  if (::symlink(m_devicePath.c_str(), path.c_str()) != 0) {
    *error = SystemError(path.c_str());
    return false;
  }
  m_linkPath = path;
  return true;
}

ssize_t PseudoTerminal::Read(uint8_t* bytes, size_t count) {
  return m_master < 0 ? -1 : ::read(m_master, bytes, count);
}

ssize_t PseudoTerminal::Write(const uint8_t* bytes, size_t count) {
  return m_master < 0 ? -1 : ::write(m_master, bytes, count);
}

bool PseudoTerminal::DeviceSettings(termios* settings) const {
  return ::tcgetattr(m_device, settings) == 0;
}

void PseudoTerminal::CloseMaster() {
  if (m_master >= 0) ::close(m_master);
  m_master = -1;
}
