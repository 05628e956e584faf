#include "SimProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <cstdio>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

pid_t Spawn(const std::vector<std::string>& arguments, int* stdoutFd) {
  int pipeFds[2];
  if (::pipe2(pipeFds, O_CLOEXEC) != 0) return -1;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
  std::vector<std::string> all{TAVRIK_UNITSIM_PATH};
  all.insert(all.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (std::string& a : all) argv.push_back(a.data());
  argv.push_back(nullptr);
  pid_t pid = -1;
  if (posix_spawn(&pid, all[0].c_str(), &actions, nullptr, argv.data(), environ) != 0) pid = -1;
  posix_spawn_file_actions_destroy(&actions);
  ::close(pipeFds[1]);
  *stdoutFd = pipeFds[0];
  return pid;
}

// The tool's standard output is line by line and ends when the tool does.
std::string ReadLine(FILE* out) {
  char line[512];
  if (!out || !std::fgets(line, sizeof line, out)) return {};
  std::string text(line);
  if (!text.empty() && text.back() == '\n') text.pop_back();
  return text;
}

int WaitForExit(pid_t pid) {
  int status = 0;
  ::waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace

SimProcess::SimProcess(const std::vector<std::string>& arguments) {
  int stdoutFd = -1;
  m_pid = Spawn(arguments, &stdoutFd);
  m_stdout = ::fdopen(stdoutFd, "r");
  m_devicePath = ReadLine(m_stdout);
  if (m_pid < 0 || m_devicePath.empty()) return;
  m_line = ::open(m_devicePath.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (m_line < 0) return;
  termios raw{};
  ::tcgetattr(m_line, &raw);
  ::cfmakeraw(&raw);
  ::tcsetattr(m_line, TCSANOW, &raw);
}

SimProcess::~SimProcess() {
  if (m_pid > 0) Terminate();
  if (m_line >= 0) ::close(m_line);
  if (m_stdout) std::fclose(m_stdout);
}

void SimProcess::Write(const std::string& bytes) {
  Write(std::vector<uint8_t>(bytes.begin(), bytes.end()));
}

void SimProcess::Write(const std::vector<uint8_t>& bytes) {
  size_t done = 0;
  int idleSeconds = 0;
  // A unit that stops taking input must fail the test, not hang it.
  while (done < bytes.size() && idleSeconds < 10) {
    const ssize_t n = ::write(m_line, bytes.data() + done, bytes.size() - done);
    if (n > 0) {
      done += size_t(n);
      idleSeconds = 0;
      continue;
    }
    pollfd ready{m_line, POLLOUT, 0};
    const int polled = ::poll(&ready, 1, 1000);
    if (polled < 0) return;
    if (polled == 0) ++idleSeconds;
  }
}

std::vector<uint8_t> SimProcess::ReadSome() {
  std::vector<uint8_t> bytes;
  bytes.swap(m_unread);
  if (!bytes.empty()) return bytes;
  pollfd ready{m_line, POLLIN, 0};
  const int patienceMs = int(std::chrono::milliseconds(kPatience).count());
  if (::poll(&ready, 1, patienceMs) != 1) return bytes;
  uint8_t chunk[4096];
  const ssize_t n = ::read(m_line, chunk, sizeof chunk);
  if (n > 0) bytes.assign(chunk, chunk + n);
  return bytes;
}

std::vector<uint8_t> SimProcess::Read(size_t count) {
  std::vector<uint8_t> bytes;
  while (bytes.size() < count) {
    const auto more = ReadSome();
    if (more.empty()) break;
    bytes.insert(bytes.end(), more.begin(), more.end());
  }
  if (bytes.size() > count) {
    m_unread.assign(bytes.begin() + std::ptrdiff_t(count), bytes.end());
    bytes.resize(count);
  }
  return bytes;
}

std::string SimProcess::ReadUntil(const std::string& text) {
  std::string seen;
  const auto deadline = Clock::now() + kPatience;
  size_t found = std::string::npos;
  while ((found = seen.find(text)) == std::string::npos) {
    const auto more = ReadSome();
    if (more.empty() || Clock::now() >= deadline) return {};
    seen.append(more.begin(), more.end());
  }
  const size_t end = found + text.size();
  m_unread.assign(seen.begin() + std::ptrdiff_t(end), seen.end());
  seen.resize(end);
  return seen;
}

std::string SimProcess::Terminate(int* exitStatus) {
  if (m_pid <= 0) return {};
  ::kill(m_pid, SIGTERM);
  std::string last;
  for (std::string line; !(line = ReadLine(m_stdout)).empty();) last = line;
  const int status = WaitForExit(m_pid);
  m_pid = -1;
  if (exitStatus) *exitStatus = status;
  return last;
}
