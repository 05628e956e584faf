#pragma once

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <memory>

#include "ScriptedWindowServices.h"
#include "TavrikDlg.h"

// A main window on scripted services, started in a working directory of its
// own with the given configuration file (none when config is null).
class MainWindowFixture {
 public:
  explicit MainWindowFixture(const char* config = "V3.11\r\nx\r\n") {
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
