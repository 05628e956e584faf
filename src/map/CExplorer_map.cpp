#include "map/CExplorer_map.h"

#include <QFileInfo>
#include <QWebEngineLoadingInfo>
#include <QWebEngineProfile>
#include <QWebEngineSettings>

#include "map/MapBrowserPage.h"
#include "map/PageSchemeHandler.h"

CExplorer_map::CExplorer_map(QWidget* parent) : QWebEngineView(parent) {
  setPage(new MapBrowserPage(this));
  // A map has no use for "back", "reload" or "view source".
  setContextMenuPolicy(Qt::NoContextMenu);
  // The page is local content that draws remote tiles.
  settings()->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, true);
  PageSchemeHandler::InstalledOn(*page()->profile());
  connect(page(), &QWebEnginePage::loadingChanged, this, &CExplorer_map::OnLoadingChanged);
}

void CExplorer_map::NavigateTo(const QString& pageFile) {
  const QFileInfo file(pageFile);
  PageSchemeHandler::InstalledOn(*page()->profile()).AllowFolder(file.absolutePath());
  m_loaded = false;
  m_pageUrl = PageSchemeHandler::UrlForFile(file.absoluteFilePath());
  load(m_pageUrl);
}

void CExplorer_map::Unload() {
  m_loaded = false;
  m_pageUrl.clear();
  setHtml(QString());
}

void CExplorer_map::OnLoadingChanged(const QWebEngineLoadingInfo& loading) {
  // Only the loads of our page count: not the blank page Unload leaves, and
  // not a navigation elsewhere that was turned away while the page stayed.
  if (m_pageUrl.isEmpty() || loading.url() != m_pageUrl) return;
  switch (loading.status()) {
    case QWebEngineLoadingInfo::LoadStartedStatus:
      m_loaded = false;
      break;
    case QWebEngineLoadingInfo::LoadSucceededStatus:
      m_loaded = true;
      emit DocumentReady(true);
      break;
    case QWebEngineLoadingInfo::LoadFailedStatus:
      m_loaded = false;
      emit DocumentReady(false);
      break;
    case QWebEngineLoadingInfo::LoadStoppedStatus:
      break;
  }
}
