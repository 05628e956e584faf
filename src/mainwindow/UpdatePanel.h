#pragma once

#include <QObject>
#include <memory>

class QLabel;
class UpdateManager;
class WindowServices;

// The background update check: started with the window, stopped once the
// output runs (the line then has all the machine's attention) and for good
// at close, never waiting on the network. Files it replaced are named in
// one unobtrusive line of the window.
class UpdatePanel {
 public:
  UpdatePanel(WindowServices& services, QLabel* statusLine);
  ~UpdatePanel();

  void Start();
  void StopForOutput();
  void StopAtClose();

 private:
  WindowServices& m_services;
  QLabel* m_statusLine;
  std::unique_ptr<UpdateManager> m_manager;
  QObject m_context;
};
