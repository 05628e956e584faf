// How fast a reply reaches the user while the unit streams at the most the
// line carries: the main window against tavrik-unitsim (KDV1, frames back to
// back at 921600 baud), settings changed for a given time (default 60 s),
// one command after the reply to the one before, as a person works. The unit
// logs when each answer's last byte went out; the program's message boxes
// are timed on the same clock. Prints the worst and median delay and the
// program's CPU use. Usage: bench-reply-latency [SECONDS]
#include <QApplication>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <mutex>
#include <sstream>
#include <vector>

#include "bench/common/ProgramBench.h"

namespace {

using Clock = std::chrono::steady_clock;

// The scripted services with every message box timed as it opens.
class TimedServices final : public WindowServices {
 public:
  int MessageBox(QWidget* owner, const QString& text, const QString& caption,
                 MessageButtons buttons, MessageIcon icon) override {
    {
      std::lock_guard guard(m_lock);
      m_shown.push_back(Clock::now());
    }
    return m_inner.MessageBox(owner, text, caption, buttons, icon);
  }
  std::optional<QString> OpenFileName(QWidget* o, const FileDialogSpec& s) override {
    return m_inner.OpenFileName(o, s);
  }
  std::optional<QString> SaveFileName(QWidget* o, const FileDialogSpec& s) override {
    return m_inner.SaveFileName(o, s);
  }
  int RunModal(QDialog& dialog) override { return m_inner.RunModal(dialog); }
  TickId StartTick(int periodMs, std::function<void()> callback) override {
    return m_inner.StartTick(periodMs, std::move(callback));
  }
  void StopTick(TickId id) override { m_inner.StopTick(id); }
  void PostToGui(std::function<void()> call, QObject* context) override {
    m_inner.PostToGui(std::move(call), context);
  }
  bool CallOnGui(std::function<void()> call) override { return m_inner.CallOnGui(std::move(call)); }
  void ReleaseWaiters() override { m_inner.ReleaseWaiters(); }

  size_t Shown() {
    std::lock_guard guard(m_lock);
    return m_shown.size();
  }
  std::vector<Clock::time_point> Times() {
    std::lock_guard guard(m_lock);
    return m_shown;
  }
  ScriptedWindowServices& Inner() { return m_inner; }

 private:
  ScriptedWindowServices m_inner;
  std::mutex m_lock;
  std::vector<Clock::time_point> m_shown;
};

std::vector<Clock::time_point> ReadReplyTimes(const QString& path) {
  std::vector<Clock::time_point> times;
  std::ifstream in(path.toStdString());
  std::string line;
  while (std::getline(in, line)) {
    long long ns = 0;
    std::istringstream(line) >> ns;
    times.push_back(Clock::time_point(std::chrono::nanoseconds(ns)));
  }
  return times;
}

}  // namespace

int main(int argc, char** argv) {
  const int seconds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 60;
  if (qEnvironmentVariableIsEmpty("DISPLAY")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  QApplication::setApplicationName("Tavrik");

  QTemporaryDir dir;
  const QString replyLog = dir.filePath("replies.log");
  bench::Unit unit(
      {"--variant", "KDV1", "--baud", "921600", "--rate", "0", "--reply-log", replyLog});
  if (unit.Device().isEmpty()) return 1;
  TimedServices services;
  bench::Program program(services, services.Inner());
  program.OpenPort(unit.Device());
  const ControlMap& c = program.Controls();

  // The unit streams from its start; the settings are made while it does,
  // so every frame in between goes the reply road.
  const double cpuBefore = bench::CpuSeconds();
  const auto start = Clock::now();
  size_t sent = 0;
  bool lost = false;
  while (Clock::now() - start < std::chrono::seconds(seconds)) {
    const size_t before = services.Shown();
    if (sent % 2 == 0) {
      c.As<QComboBox>(1052)->setCurrentIndex(int(sent / 2 % 3));
      c.As<QPushButton>(1053)->click();
    } else {
      c.As<QPushButton>(1159)->click();  // the serial number
    }
    ++sent;
    bench::RunUntil(
        5000, [&] { return services.Shown() > before; }, 1);
    if (services.Shown() == before) {
      lost = true;
      break;
    }
    bench::RunUntil(100, [] { return false; });  // a person's pause
  }
  const double elapsed = std::chrono::duration<double>(Clock::now() - start).count();
  const double cpu = bench::CpuSeconds() - cpuBefore;
  c.As<QPushButton>(1008)->click();
  unit.Stop();

  const std::vector<Clock::time_point> shown = services.Times();
  const std::vector<Clock::time_point> replies = ReadReplyTimes(replyLog);
  std::vector<double> delays;
  for (size_t i = 0; i < std::min(shown.size(), replies.size()); ++i) {
    delays.push_back(std::chrono::duration<double, std::milli>(shown[i] - replies[i]).count());
  }
  std::sort(delays.begin(), delays.end());
  std::printf("seconds measured       %.1f\n", elapsed);
  std::printf("commands sent          %zu\n", sent);
  std::printf("replies answered       %zu of %zu sent by the unit%s\n", shown.size(),
              replies.size(), lost ? " (a reply was lost)" : "");
  if (!delays.empty()) {
    std::printf("worst delay            %.2f ms\n", delays.back());
    std::printf("median delay           %.2f ms\n", delays[delays.size() / 2]);
  }
  std::printf("cpu use                %.2f %% of one core\n", 100.0 * cpu / elapsed);
  return 0;
}
