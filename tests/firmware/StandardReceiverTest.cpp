#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "device/FirmwareLoader.h"
#include "tests/firmware/LoaderLineDriver.h"
#include "tests/firmware/ScratchDirectory.h"
#include "tests/firmware/TestImages.h"

extern char** environ;

namespace {

using Bytes = std::vector<uint8_t>;
namespace fs = std::filesystem;

// A pseudo-terminal whose device end, in raw mode, leads to a YMODEM
// receiver we did not write (lrzsz's rb), behind a script that plays the boot
// loader's greeting first and then carries the bytes at the pace of a serial
// line. The loader talks to the master end.
class StandardReceiver {
 public:
  static constexpr int kLineBaud = 460800;

  explicit StandardReceiver(const fs::path& directory) {
    m_master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    char name[128];
    if (m_master < 0 || ::grantpt(m_master) != 0 || ::unlockpt(m_master) != 0 ||
        ::ptsname_r(m_master, name, sizeof name) != 0)
      return;
    const int device = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (device < 0) return;
    termios raw{};
    ::tcgetattr(device, &raw);
    ::cfmakeraw(&raw);
    ::tcsetattr(device, TCSANOW, &raw);
    ::fcntl(m_master, F_SETFL, ::fcntl(m_master, F_GETFL) | O_NONBLOCK);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, device, STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, device, STDOUT_FILENO);
    const std::string log = (directory / "receiver.log").string();
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, log.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
    std::vector<std::string> arguments{TAVRIK_PYTHON3,     TAVRIK_RECEIVER_SCRIPT,
                                       directory.string(), std::to_string(kLineBaud),
                                       TAVRIK_RB_PATH,     "--ymodem",
                                       "--binary",         "--overwrite"};
    std::vector<char*> argv;
    for (std::string& a : arguments) argv.push_back(a.data());
    argv.push_back(nullptr);
    if (posix_spawn(&m_pid, argv[0], &actions, nullptr, argv.data(), environ) != 0) m_pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    // The device end stays open here too, so the line keeps its raw mode and
    // is not hung up while the script hands over to the receiver.
    m_device = device;
  }
  ~StandardReceiver() {
    if (m_pid > 0) {
      ::kill(m_pid, SIGTERM);
      Wait();
    }
    if (m_device >= 0) ::close(m_device);
    if (m_master >= 0) ::close(m_master);
  }

  bool Started() const { return m_pid > 0; }
  int MasterFd() const { return m_master; }
  // The receiver's exit status.
  int Wait() {
    int status = 0;
    if (m_pid > 0) ::waitpid(m_pid, &status, 0);
    m_pid = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

 private:
  int m_master = -1;
  int m_device = -1;
  pid_t m_pid = -1;
};

Bytes FileBytes(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

std::string Log(const fs::path& directory) {
  const Bytes bytes = FileBytes(directory / "receiver.log");
  return std::string(bytes.begin(), bytes.end());
}

TEST(StandardReceiverTest, AYmodemReceiverWeDidNotWriteTakesTheImage) {
  if (std::string(TAVRIK_RB_PATH).empty()) GTEST_SKIP() << "lrzsz's rb is not installed";
  // Short, a whole number of blocks (its size cuts the block of zeros), and
  // past block 255 so the block number wraps.
  for (size_t size : {size_t(300), size_t(1024), size_t(40'000)}) {
    ScratchDirectory dir;
    StandardReceiver receiver(dir.Path());
    ASSERT_TRUE(receiver.Started());
    FirmwareLoader loader;
    LoaderLineDriver driver(receiver.MasterFd(), loader);
    const Bytes image = test_images::Pattern(size);
    const auto outcome = driver.Run(loader.Start(image, "APP.hex"), std::chrono::seconds(60));
    ASSERT_TRUE(outcome.finished) << size << ": " << outcome.failure << "\n" << Log(dir.Path());
    EXPECT_EQ(receiver.Wait(), 0) << Log(dir.Path());
    EXPECT_TRUE(FileBytes(dir / "APP.hex") == image) << size << "\n" << Log(dir.Path());
  }
}

}  // namespace
