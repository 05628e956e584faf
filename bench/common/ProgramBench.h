#pragma once

#include <sys/resource.h>

#include <QComboBox>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <functional>
#include <memory>

#include "mainwindow/ControlMap.h"
#include "mainwindow/TavrikDlg.h"
#include "services/ScriptedWindowServices.h"

// What the program benchmarks share: the virtual unit as a child process,
// the main window on scripted services in a working directory of its own,
// and the figures they print the same way.
namespace bench {

inline double CpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
         double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

inline long PeakRssKb() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

// Runs the event loop (without spinning) until the condition holds or the
// time is up.
inline void RunUntil(int ms, const std::function<bool()>& done, int pollMs = 50) {
  QEventLoop loop;
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, [&] {
    if (done()) loop.quit();
  });
  poll.start(pollMs);
  QTimer::singleShot(ms, &loop, &QEventLoop::quit);
  if (!done()) loop.exec();
}

// tavrik-unitsim on a pseudo-terminal of its own.
class Unit {
 public:
  explicit Unit(const QStringList& args) {
    m_process.start(TAVRIK_UNITSIM_BIN, args);
    if (m_process.waitForStarted(5000) && m_process.waitForReadyRead(5000)) {
      m_device = QString::fromLocal8Bit(m_process.readLine()).trimmed();
    }
    if (m_device.isEmpty()) std::fprintf(stderr, "benchmark: tavrik-unitsim did not start\n");
  }
  ~Unit() { Stop(); }
  void Stop() {
    if (m_process.state() == QProcess::NotRunning) return;
    m_process.terminate();
    m_process.waitForFinished(5000);
  }
  const QString& Device() const { return m_device; }

 private:
  QProcess m_process;
  QString m_device;
};

// The main window as the program runs it: its configuration file in a
// scratch working directory, the display ticks fired at their periods.
class Program {
 public:
  Program(WindowServices& services, ScriptedWindowServices& ticks,
          const char* config = "KDV1\r\nx\r\n") {
    // The window looks for updates at start: unless the benchmark chose a
    // server of its own, it asks one that cannot exist, so a build with a
    // real update host configured contacts nothing and replaces nothing.
    if (!qEnvironmentVariableIsSet("TAVRIK_UPDATE_URL"))
      qputenv("TAVRIK_UPDATE_URL", "https://tests.invalid/insV39/ver.txt");
    QDir::setCurrent(m_dir.path());
    QFile file("config");
    file.open(QIODevice::WriteOnly);
    file.write(config);
    file.close();
    m_window = std::make_unique<CTavrikDlg>(services);
    QObject::connect(&m_refresh, &QTimer::timeout, [&ticks] { ticks.FireTicks(150); });
    QObject::connect(&m_instruments, &QTimer::timeout, [&ticks] { ticks.FireTicks(500); });
    m_refresh.start(150);
    m_instruments.start(500);
    m_window->Initialise();
    m_window->show();
  }
  CTavrikDlg& Window() { return *m_window; }
  const ControlMap& Controls() const { return m_window->Controls(); }
  void Click(int id) { Controls().As<QPushButton>(id)->click(); }
  QString Path(const char* name) const { return m_dir.filePath(name); }
  void OpenPort(const QString& device) {
    Controls().As<QComboBox>(1041)->setEditText(device);
    Controls().As<QComboBox>(1040)->setCurrentText("921600");
    Click(1008);
  }

 private:
  QTemporaryDir m_dir;
  std::unique_ptr<CTavrikDlg> m_window;
  QTimer m_refresh, m_instruments;
};

}  // namespace bench
