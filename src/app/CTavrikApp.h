#pragma once

#include <QApplication>

// The application: sets up fonts and names, runs the main window until the
// user closes it.
class CTavrikApp final : public QApplication {
 public:
  CTavrikApp(int& argc, char** argv);
  int Run();

 private:
  static void RaisePriority();
};
