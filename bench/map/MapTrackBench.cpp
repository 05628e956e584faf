// The map window marking a long drive. Prints how long a mark takes from
// the call to the next rendered frame with 1000 and with 200000 points on
// the track, their ratio, and the CPU use of the program together with its
// browser processes while it marks at the 150 ms rate, on a fresh track and
// on the long one. Needs an X server:
//   xvfb-run -a -s "-screen 0 1920x1080x24" bench-map-track [SECONDS]
// (SECONDS of marking for each CPU figure, default 60; with "cpu" after
// it only the CPU use on a fresh track).
#include <unistd.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QPushButton>
#include <QTimer>
#include <QVariantList>
#include <QWebEnginePage>
#include <cmath>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>

#include "map/CExplorer_map.h"
#include "map/MapStartup.h"
#include "map/Navigate.h"
#include "map/NavigateIds.h"
#include "services/ScriptedWindowServices.h"
#include "tests/map/OfflineBrowser.h"

namespace {

constexpr int kCallsMeasured = 100;
constexpr int kShortTrack = 1000;
constexpr int kLongTrack = 200000;
constexpr int kBatch = 10000;

// A car in town: about 15 m/s, turning this way and that on several
// scales, so the track wanders, crosses itself and comes back.
class Drive {
 public:
  void Next(double& longitude, double& latitude) {
    constexpr double kStepMetres = 15.0 * 0.15;
    constexpr double kMetresPerDegree = 111195.0;
    ++m_step;
    m_heading += 0.03 * std::sin(m_step / 170.0) + 0.02 * std::sin(m_step / 23.0) +
                 0.004 * std::sin(m_step / 1900.0);
    m_latitude += kStepMetres * std::cos(m_heading) / kMetresPerDegree;
    m_longitude += kStepMetres * std::sin(m_heading) /
                   (kMetresPerDegree * std::cos(m_latitude * M_PI / 180.0));
    longitude = m_longitude;
    latitude = m_latitude;
  }

 private:
  long m_step = 0;
  double m_heading = 0.7;
  double m_longitude = 116.3;
  double m_latitude = 39.9;
};

// Runs the event loop, without spinning, until the condition holds or the
// time is up.
bool RunUntil(const std::function<bool()>& done, int maxMs) {
  QElapsedTimer timer;
  timer.start();
  while (!done()) {
    if (timer.elapsed() > maxMs) return false;
    QEventLoop loop;
    QTimer::singleShot(20, &loop, &QEventLoop::quit);
    loop.exec();
  }
  return true;
}

QVariant RunScript(QWebEnginePage* page, const QString& script, int maxMs = 600000) {
  auto result = std::make_shared<std::pair<bool, QVariant>>(false, QVariant());
  page->runJavaScript(script, [result](const QVariant& value) { *result = {true, value}; });
  RunUntil([&] { return result->first; }, maxMs);
  return result->second;
}

// CPU seconds of the process and of every process below it (the browser's
// helper processes), from /proc.
double TreeCpuSeconds(pid_t root) {
  struct Entry {
    pid_t pid;
    pid_t parent;
    double seconds;
  };
  std::vector<Entry> all;
  const double ticks = double(sysconf(_SC_CLK_TCK));
  for (const QString& name : QDir("/proc").entryList(QDir::Dirs)) {
    bool numeric = false;
    const pid_t pid = name.toInt(&numeric);
    if (!numeric) continue;
    QFile stat(QString("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly)) continue;
    const QByteArray line = stat.readAll();
    // Fields after the command name, which may hold spaces, in parentheses.
    const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
    if (fields.size() < 13) continue;
    all.push_back(
        {pid, pid_t(fields[1].toInt()), (fields[11].toDouble() + fields[12].toDouble()) / ticks});
  }
  std::vector<pid_t> tree{root};
  double seconds = 0;
  for (size_t i = 0; i < tree.size(); ++i) {
    for (const Entry& entry : all) {
      if (entry.pid == tree[i]) seconds += entry.seconds;
      if (entry.parent == tree[i]) tree.push_back(entry.pid);
    }
  }
  return seconds;
}

class Bench {
 public:
  Bench()
      : m_window(m_services, [this](double& lon, double& lat) {
          m_drive.Next(lon, lat);
          return true;
        }) {}

  bool Open() {
    bool ready = false;
    bool loaded = false;
    auto connection = QObject::connect(&m_window, &Navigate::PageReady, [&](bool ok) {
      ready = true;
      loaded = ok;
    });
    m_window.ShowOrRaise();
    RunUntil([&] { return ready; }, 120000);
    QObject::disconnect(connection);
    // Let the tiles fail and the offline background settle.
    RunUntil([&] { return false; }, 2000);
    return loaded;
  }

  void Start() {
    for (auto* button : m_window.findChildren<QPushButton*>()) {
      if (button->property("controlId").toInt() == NavigateIds::kStartButton) button->click();
    }
  }

  int Points() { return RunScript(Page(), "geoState().points").toInt(); }

  // Marks along the drive straight in the page, in big batches, until the
  // track has this many points.
  void GrowTrackTo(int points) {
    while (Points() < points) {
      const int count = std::min(kBatch, points - Points());
      QStringList texts;
      for (int i = 0; i < count; ++i) {
        double lon = 0;
        double lat = 0;
        m_drive.Next(lon, lat);
        texts
            << QString("'%1','%2'").arg(Navigate::FormatDegrees(lon), Navigate::FormatDegrees(lat));
      }
      RunScript(Page(), QString("(function (p) { for (var i = 0; i < p.length; i += 2)"
                                " justmarkfun(p[i], p[i + 1]); return true; })([%1])")
                            .arg(texts.join(',')));
    }
  }

  // The window's own marks, timed by the page.
  struct Timing {
    double frameMs;
    double scriptMs;
  };
  Timing TimeMarks() {
    RunScript(Page(), "geoFrameTimes.start(); true");
    const int target = Points() + kCallsMeasured;
    RunUntil([&] { return Points() >= target; }, 600000);
    RunUntil([&] { return false; }, 500);
    const QVariantList log = RunScript(Page(), "geoFrameTimes.stop()").toList();
    Timing sum{0, 0};
    for (const QVariant& entry : log) {
      sum.frameMs += entry.toMap().value("frameMs").toDouble();
      sum.scriptMs += entry.toMap().value("scriptMs").toDouble();
    }
    const double n = std::max<double>(1, log.size());
    return {sum.frameMs / n, sum.scriptMs / n};
  }

  double CpuPercentWhileMarking(int seconds) {
    const double before = TreeCpuSeconds(getpid());
    QElapsedTimer wall;
    wall.start();
    RunUntil([&] { return wall.elapsed() >= seconds * 1000; }, seconds * 1000 + 1000);
    const double used = TreeCpuSeconds(getpid()) - before;
    return 100.0 * used / (wall.elapsed() / 1000.0);
  }

  void Close() { m_window.accept(); }

 private:
  QWebEnginePage* Page() { return m_window.Browser().Document(); }

  ScriptedWindowServices m_services;
  Drive m_drive;
  Navigate m_window;
};

}  // namespace

int main(int argc, char** argv) {
  const int seconds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 60;
  BlockRemoteHostsForBrowser();
  PrepareMapBeforeApplication();
  QApplication app(argc, argv);
  QApplication::setApplicationName("Tavrik");
  QDir::setCurrent(TAVRIK_MAP_BENCH_PAGE_DIR);

  Bench bench;
  if (!bench.Open()) {
    std::fprintf(stderr, "the map page did not load from %s\n", TAVRIK_MAP_BENCH_PAGE_DIR);
    return 1;
  }
  if (argc > 2 && std::string(argv[2]) == "cpu") {
    bench.Start();
    std::printf("cpu use %.1f %% of one core\n", bench.CpuPercentWhileMarking(seconds));
    return 0;
  }
  bench.Start();
  bench.GrowTrackTo(kShortTrack);
  const auto shortTrack = bench.TimeMarks();
  QElapsedTimer growing;
  growing.start();
  bench.GrowTrackTo(kLongTrack);
  const double growSeconds = growing.elapsed() / 1000.0;
  const auto longTrack = bench.TimeMarks();
  const double longCpu = bench.CpuPercentWhileMarking(seconds);

  bench.Close();
  if (!bench.Open()) return 1;
  bench.Start();
  const double freshCpu = bench.CpuPercentWhileMarking(seconds);
  bench.Close();

  std::printf("ms per call at %d points %.2f\n", kShortTrack, shortTrack.frameMs);
  std::printf("ms per call at %d points %.2f\n", kLongTrack, longTrack.frameMs);
  std::printf("ratio %.2f\n", longTrack.frameMs / shortTrack.frameMs);
  std::printf("cpu use %.1f %% of one core\n", freshCpu);
  std::printf("ms of script per call at %d points %.3f\n", kShortTrack, shortTrack.scriptMs);
  std::printf("ms of script per call at %d points %.3f\n", kLongTrack, longTrack.scriptMs);
  std::printf("cpu use at %d points %.1f %% of one core\n", kLongTrack, longCpu);
  std::printf("seconds to mark %d points in a row %.1f\n", kLongTrack - kShortTrack, growSeconds);
  return 0;
}
