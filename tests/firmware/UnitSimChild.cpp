#include "tests/firmware/UnitSimChild.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

std::string ReadLine(std::FILE* out) {
  char line[512];
  if (!out || !std::fgets(line, sizeof line, out)) return {};
  std::string text(line);
  if (!text.empty() && text.back() == '\n') text.pop_back();
  return text;
}

}  // namespace

UnitSimChild::UnitSimChild(const std::vector<std::string>& arguments) {
  int fds[2];
  if (::pipe2(fds, O_CLOEXEC) != 0) return;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
  // A fixed seed keeps the unit from announcing the one it drew.
  std::vector<std::string> all{TAVRIK_UNITSIM_PATH, "--seed", "1"};
  all.insert(all.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (std::string& argument : all) argv.push_back(argument.data());
  argv.push_back(nullptr);
  if (posix_spawn(&m_pid, all[0].c_str(), &actions, nullptr, argv.data(), environ) != 0) m_pid = -1;
  posix_spawn_file_actions_destroy(&actions);
  ::close(fds[1]);
  m_stdout = ::fdopen(fds[0], "r");
  if (m_pid > 0) m_devicePath = ReadLine(m_stdout);
}

UnitSimChild::~UnitSimChild() {
  Terminate();
  if (m_stdout) std::fclose(m_stdout);
}

std::string UnitSimChild::Terminate() {
  if (m_pid <= 0) return {};
  ::kill(m_pid, SIGTERM);
  std::string last;
  for (std::string line; !(line = ReadLine(m_stdout)).empty();) last = line;
  int status = 0;
  ::waitpid(m_pid, &status, 0);
  m_pid = -1;
  return last;
}
