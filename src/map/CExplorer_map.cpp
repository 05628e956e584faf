#include "map/CExplorer_map.h"

#include <QFileInfo>
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
  connect(this, &QWebEngineView::loadStarted, this, [this] { m_loaded = false; });
  connect(this, &QWebEngineView::loadFinished, this, &CExplorer_map::OnLoadFinished);
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

void CExplorer_map::OnLoadFinished(bool ok) {
  // The blank page left behind by Unload is no document of ours.
  if (m_pageUrl.isEmpty()) return;
  m_loaded = ok;
  emit DocumentReady(ok);
}
