// bench-view3d [--seconds N] [--frames N]
// Opens the 3D window on the generated aircraft with an attitude that keeps
// moving, then prints the milliseconds one frame takes (drawn and put on the
// screen) and the CPU the process uses while the window runs on its own
// 150 ms timer for N seconds (60 by default).
#include <sys/resource.h>

#define GL_GLEXT_PROTOTYPES
#include <GL/gl.h>
#include <GL/glext.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QSurfaceFormat>
#include <QTemporaryDir>
#include <QTimer>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

#include "services/ScriptedWindowServices.h"
#include "tools/model/AircraftBuilder.h"
#include "tools/model/AircraftFiles.h"
#include "view3d/CMs3dDlg.h"
#include "view3d/Ms3dView.h"

namespace {

double CpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
         (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

int Option(int argc, char** argv, const char* name, int fallback) {
  for (int i = 1; i + 1 < argc; ++i) {
    if (std::strcmp(argv[i], name) == 0) return std::max(1, std::atoi(argv[i + 1]));
  }
  return fallback;
}

}  // namespace

int main(int argc, char** argv) {
  // Frames are timed as drawn, not as the display's refresh paces them.
  QSurfaceFormat unpaced = Ms3dView::surfaceFormat();
  unpaced.setSwapInterval(0);
  QSurfaceFormat::setDefaultFormat(unpaced);
  QApplication app(argc, argv);
  const int seconds = Option(argc, argv, "--seconds", 60);
  const int frames = Option(argc, argv, "--frames", 200);

  QTemporaryDir dir;
  QDir::setCurrent(dir.path());
  if (!WriteAircraftFiles(".", AircraftBuilder::build())) {
    std::fprintf(stderr, "bench-view3d: cannot write the model\n");
    return 1;
  }

  QElapsedTimer clock;
  clock.start();
  // A slow, steady manoeuvre: every angle changes on every tick.
  auto source = [&clock](double& pitch, double& roll, double& yaw) {
    const double t = clock.elapsed() / 1000.0;
    pitch = 20 * std::sin(0.7 * t);
    roll = 35 * std::sin(0.45 * t + 1);
    yaw = std::fmod(12 * t, 360.0);
    return true;
  };
  ScriptedWindowServices services;
  CMs3dDlg dialog(services, source);
  dialog.show();
  while (!dialog.view()->isValid() && clock.elapsed() < 10000) app.processEvents();
  if (!dialog.view()->isValid() || dialog.scene().model() == nullptr) {
    std::fprintf(stderr, "bench-view3d: no GL view\n");
    return 1;
  }

  // Each frame as the timer asks for it: a tick, then the event loop until
  // the frame has been drawn and put on the screen.
  Ms3dView& view = *dialog.view();
  int swapped = 0;
  QObject::connect(&view, &QOpenGLWindow::frameSwapped, [&swapped] { ++swapped; });
  QElapsedTimer frameClock;
  frameClock.start();
  for (int i = 0; i < frames; ++i) {
    const int before = swapped;
    dialog.OnTimer();
    while (swapped == before) app.processEvents(QEventLoop::AllEvents);
  }
  view.makeCurrent();
  glFinish();
  view.doneCurrent();
  std::printf("ms per frame %.2f\n", frameClock.nsecsElapsed() / 1e6 / frames);

  // The scene's own share: the GL calls of one frame, finished, without
  // putting the picture on the screen.
  view.makeCurrent();
  glBindFramebuffer(GL_FRAMEBUFFER, view.defaultFramebufferObject());
  QElapsedTimer sceneClock;
  sceneClock.start();
  for (int i = 0; i < frames; ++i) {
    dialog.scene().yaw = static_cast<float>(i);
    dialog.scene().render();
    glFinish();
  }
  std::printf("ms per scene render %.2f\n", sceneClock.nsecsElapsed() / 1e6 / frames);
  view.doneCurrent();

  QTimer::singleShot(seconds * 1000, &app, &QApplication::quit);
  const double cpuBefore = CpuSeconds();
  QElapsedTimer wall;
  wall.start();
  app.exec();
  const double cpu = CpuSeconds() - cpuBefore;
  std::printf("cpu use %.1f %% of one core\n", 100.0 * cpu / (wall.nsecsElapsed() / 1e9));
  return 0;
}
