#include "map/MapBrowserPage.h"

#include <QDesktopServices>

bool MapBrowserPage::acceptNavigationRequest(const QUrl& url, NavigationType type,
                                             bool isMainFrame) {
  if (isMainFrame && type == NavigationTypeLinkClicked) {
    QDesktopServices::openUrl(url);
    return false;
  }
  return QWebEnginePage::acceptNavigationRequest(url, type, isMainFrame);
}
