// Pushes frames from tavrik-unitsim, unpaced (as fast as the pseudo-terminal
// carries them), through the serial worker into the receive ring, with the
// frame parser reading the ring on its own thread, and prints the byte rate,
// the bytes lost on the way and what the parser made of them.

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QCoreApplication>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <string>

#include "protocol/PorotocalRtkAnalyse.h"
#include "protocol/ReceivePipeline.h"
#include "protocol/SampleHub.h"
#include "serial/CSerialPort.h"
#include "serial/PortErrorReporter.h"
#include "serial/SerialPortOwner.h"

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kFrames = 250000;
constexpr uint64_t kFrameBytes = 120;
const std::string kStartCommand = "*PA AUTO START\r\n";
const std::string kStartReply = "*PA AUTO START 1\r\n";
// 921600 baud, ten bits a byte.
constexpr double kLineBytesPerSecond921600 = 92160.0;

// The unit as a child process; its first output line is the device path.
class UnitProcess {
 public:
  explicit UnitProcess(const std::string& frames) {
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0) return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
    std::string path = TAVRIK_UNITSIM_PATH, baud = "--baud=0", rate = "--rate=0",
                stopped = "--stopped", seed = "--seed=1", count = "--frames=" + frames;
    char* argv[] = {path.data(), baud.data(),  rate.data(), stopped.data(),
                    seed.data(), count.data(), nullptr};
    if (posix_spawn(&m_pid, path.c_str(), &actions, nullptr, argv, environ) != 0) m_pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    ::close(fds[1]);
    m_out = fds[0];
    m_devicePath = ReadLine();
  }
  ~UnitProcess() { Stop(); }
  const std::string& DevicePath() const { return m_devicePath; }
  // SIGTERM; returns the statistics line.
  std::string Stop() {
    if (m_pid <= 0) return {};
    ::kill(m_pid, SIGTERM);
    std::string last, line;
    while (!(line = ReadLine()).empty()) last = line;
    ::waitpid(m_pid, nullptr, 0);
    ::close(m_out);
    m_pid = -1;
    return last;
  }

 private:
  std::string ReadLine() {
    std::string line;
    char c;
    pollfd ready{m_out, POLLIN, 0};
    while (::poll(&ready, 1, 10'000) == 1 && ::read(m_out, &c, 1) == 1 && c != '\n') line += c;
    return line;
  }
  pid_t m_pid = -1;
  int m_out = -1;
  std::string m_devicePath;
};

// Live frames throughout, as after "开始输出".
class LiveMode : public ReceiveModeSwitch {
 public:
  LiveMode() { Set(ReceiveMode::Live); }
};

// Stands in for the main window: chunks go down the receive pipeline as the
// program's own owner hands them on, and the pipeline decodes the frames.
class RingOwner : public SerialPortOwner, public PortErrorReporter {
 public:
  RingOwner() { m_pipeline.Start(); }

  ReceiveMode CurrentReceiveMode() const override { return m_mode.Get(); }
  void AcceptChunk(const uint8_t* bytes, int count) override {
    m_pipeline.AcceptChunk(bytes, size_t(count));
    std::lock_guard guard(m_lock);
    m_received += uint64_t(count);
    if (m_received >= m_expected) m_done.notify_all();
  }
  void HandOverBytes(const uint8_t*, size_t, OwnerReceipt receipt) override { receipt.Complete(); }
  void OnPortGone() override {}
  void ShowPortError(const QString&, const QString& text, OwnerReceipt receipt) override {
    std::fprintf(stderr, "port error: %s\n", text.toLocal8Bit().constData());
    receipt.Complete();
  }

  void Expect(uint64_t bytes) {
    std::lock_guard guard(m_lock);
    m_expected = bytes;
  }
  // Waits until the expected bytes came or none came for a while.
  uint64_t WaitForAll() {
    std::unique_lock guard(m_lock);
    uint64_t seen = m_received;
    while (m_received < m_expected) {
      if (!m_done.wait_for(guard, std::chrono::seconds(3),
                           [&] { return m_received >= m_expected; }) &&
          m_received == seen) {
        break;
      }
      seen = m_received;
    }
    return m_received;
  }
  ReceivePipeline& Pipeline() { return m_pipeline; }
  uint64_t LiveFrames() const { return m_analyser.Samples()->LatestSequence(); }

 private:
  CPorotocalRtkAnalyse m_analyser{CPorotocalRtkAnalyse::Publishing::ToHub};
  LiveMode m_mode;
  ReceivePipeline m_pipeline{m_analyser, m_mode};
  std::mutex m_lock;
  std::condition_variable m_done;
  uint64_t m_received = 0;
  uint64_t m_expected = UINT64_MAX;
};

void BM_UnitThroughWorkerIntoRing(benchmark::State& state) {
  for (auto _ : state) {
    UnitProcess unit(std::to_string(kFrames));
    RingOwner owner;
    CSerialPort port(owner);
    if (unit.DevicePath().empty() ||
        !port.InitialisePort(owner, QString::fromStdString(unit.DevicePath()), 921600) ||
        !port.StartWorker()) {
      state.SkipWithError("the virtual unit could not be opened");
      return;
    }
    const uint64_t expected = kStartReply.size() + kFrames * kFrameBytes;
    owner.Expect(expected);
    const auto start = Clock::now();
    port.QueueWrite(QByteArray::fromStdString(kStartCommand));
    const uint64_t received = owner.WaitForAll();
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    port.ShutdownPort();
    owner.Pipeline().Stop();
    const std::string stats = unit.Stop();

    const double bytesPerSecond = double(received) / seconds;
    const double lost = double(expected) - double(received);
    state.SetIterationTime(seconds);
    state.counters["bytes_per_s"] = bytesPerSecond;
    state.counters["lost_bytes"] = lost;
    state.counters["x_921600_line"] = bytesPerSecond / kLineBytesPerSecond921600;
    state.counters["frames_parsed"] = double(owner.Pipeline().Counters().framesPassed);
    state.counters["ring_overruns"] = double(owner.Pipeline().Counters().overruns);
    std::printf(
        "serial worker into ring: %.0f bytes/s (%.1f x the 921600 baud line rate), "
        "%.0f bytes lost of %llu; parser: %llu frames passed, %llu failed, %llu overruns\n"
        "unit: %s\n",
        bytesPerSecond, bytesPerSecond / kLineBytesPerSecond921600, lost,
        (unsigned long long)expected, (unsigned long long)owner.Pipeline().Counters().framesPassed,
        (unsigned long long)owner.Pipeline().Counters().framesFailed,
        (unsigned long long)owner.Pipeline().Counters().overruns, stats.c_str());
  }
}
BENCHMARK(BM_UnitThroughWorkerIntoRing)
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
