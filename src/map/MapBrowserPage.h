#pragma once

#include <QWebEnginePage>

// The page object of the map's browser. It keeps the view on our page: a
// link the user clicks on the map (the tile server's copyright, Leaflet's
// name) opens in the desktop's browser instead of replacing the map.
class MapBrowserPage : public QWebEnginePage {
  Q_OBJECT

 public:
  using QWebEnginePage::QWebEnginePage;

 protected:
  bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override;
};
