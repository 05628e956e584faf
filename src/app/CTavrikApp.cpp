#include "app/CTavrikApp.h"

#include <QFont>
#include <QFontDatabase>
#include <QIcon>

#include "mainwindow/TavrikDlg.h"
#include "services/QtWindowServices.h"
#include "services/Translations.h"

#if defined(Q_OS_UNIX)
#include <sys/resource.h>
#endif

CTavrikApp::CTavrikApp(int& argc, char** argv) : QApplication(argc, argv) {
  setApplicationName("Tavrik");
  // The desktop entry and icon the package installs.
  setDesktopFileName(QStringLiteral("tavrik"));
  setWindowIcon(QIcon::fromTheme(QStringLiteral("tavrik")));
  InstallChineseTranslations(*this);
  // The interface is Chinese; prefer a CJK font when one is installed.
  for (const QString& family :
       {QStringLiteral("Noto Sans CJK SC"), QStringLiteral("Noto Sans CJK")}) {
    if (QFontDatabase::families().contains(family)) {
      QFont font(family);
      font.setPointSize(9);
      setFont(font);
      break;
    }
  }
}

void CTavrikApp::RaisePriority() {
  // Best effort: an ordinary user may not raise it, and that is fine.
#if defined(Q_OS_UNIX)
  (void)setpriority(PRIO_PROCESS, 0, -5);
#endif
}

int CTavrikApp::Run() {
  RaisePriority();
  QtWindowServices services;
  CTavrikDlg window(services);
  window.Initialise();
  window.show();
  return exec();
}
