#pragma once

#include <QUrl>
#include <QWebEngineView>

class QWebEngineLoadingInfo;
class QWebEnginePage;

// The map window's browser area: an embedded web view that loads the local
// map page through our page scheme and hands out the page once it has
// finished loading, so that script calls never reach a half-built document.
class CExplorer_map : public QWebEngineView {
  Q_OBJECT

 public:
  explicit CExplorer_map(QWidget* parent = nullptr);

  // Loads the page file (an absolute path); DocumentReady follows.
  void NavigateTo(const QString& pageFile);
  // Leaves the page, so a closed window keeps neither its track nor its work.
  void Unload();
  // The loaded page, or null while loading, after a failed load or Unload.
  QWebEnginePage* Document() const { return m_loaded ? page() : nullptr; }
  QUrl PageUrl() const { return m_pageUrl; }

 signals:
  void DocumentReady(bool loaded);

 private:
  void OnLoadingChanged(const QWebEngineLoadingInfo& loading);

  QUrl m_pageUrl;
  bool m_loaded = false;
};
