#pragma once

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <memory>

#include "device/DeviceSession.h"
#include "mainwindow/ConsolePanel.h"
#include "mainwindow/DisplayPump.h"
#include "mainwindow/OdometerPanel.h"
#include "mainwindow/TavrikDlg.h"
#include "protocol/PorotocalRtkAnalyse.h"
#include "protocol/ReceivePipeline.h"
#include "services/ScriptedWindowServices.h"

// A main window on scripted services, started in a working directory of its
// own with the given configuration file (none when config is null).
class MainWindowFixture {
 public:
  explicit MainWindowFixture(const char* config = "V3.11\r\nx\r\n") {
    // The program's one analyser outlives every window: start each test
    // from a fresh one, so none depends on the test before.
    GetAnalyser()->Reset();
    m_previous = QDir::currentPath();
    QDir::setCurrent(m_dir.path());
    if (config != nullptr) {
      QFile file("config");
      file.open(QIODevice::WriteOnly);
      file.write(config);
    }
    window = std::make_unique<CTavrikDlg>(services);
    initialised = window->Initialise();
  }
  ~MainWindowFixture() {
    window.reset();
    QDir::setCurrent(m_previous);
  }

  ScriptedWindowServices services;
  std::unique_ptr<CTavrikDlg> window;
  bool initialised = false;

 private:
  QTemporaryDir m_dir;
  QString m_previous;
};
