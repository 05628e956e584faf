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

  // Shows the line naming the replaced files; callable from any thread (the
  // update check calls it from a download thread).
  void ShowUpdatedFiles(const QString& statusLine);

 private:
  WindowServices& m_services;
  QLabel* m_statusLine;
  // Declared before the manager, so it outlives it: the manager's end joins
  // the download threads, and the last of them may still post to it.
  QObject m_context;
  std::unique_ptr<UpdateManager> m_manager;
};
