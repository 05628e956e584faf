#include "map/PageSchemeHandler.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QWebEngineProfile>
#include <QWebEngineUrlRequestJob>
#include <QWebEngineUrlScheme>

void PageSchemeHandler::RegisterScheme() {
  if (QWebEngineUrlScheme::schemeByName(kScheme).name() == kScheme) return;
  QWebEngineUrlScheme scheme(kScheme);
  scheme.setSyntax(QWebEngineUrlScheme::Syntax::Path);
  // Secure so that the page is a secure context like a file page; local so
  // that no remote content can load or navigate to our files.
  scheme.setFlags(QWebEngineUrlScheme::SecureScheme | QWebEngineUrlScheme::LocalScheme);
  QWebEngineUrlScheme::registerScheme(scheme);
}

PageSchemeHandler& PageSchemeHandler::InstalledOn(QWebEngineProfile& profile) {
  if (auto* installed =
          profile.findChild<PageSchemeHandler*>(QString(), Qt::FindDirectChildrenOnly)) {
    return *installed;
  }
  auto* handler = new PageSchemeHandler(&profile);
  profile.installUrlSchemeHandler(kScheme, handler);
  return *handler;
}

QUrl PageSchemeHandler::UrlForFile(const QString& absolutePath) {
  QUrl url;
  url.setScheme(kScheme);
  url.setPath(QDir::fromNativeSeparators(absolutePath));
  return url;
}

void PageSchemeHandler::AllowFolder(const QString& folder) {
  const QString canonical = QFileInfo(folder).canonicalFilePath();
  if (!canonical.isEmpty() && !m_folders.contains(canonical)) m_folders.append(canonical);
}

bool PageSchemeHandler::IsAllowed(const QString& canonicalPath) const {
  for (const QString& folder : m_folders) {
    const QString prefix = folder.endsWith('/') ? folder : folder + '/';
    if (canonicalPath.startsWith(prefix)) return true;
  }
  return false;
}

QByteArray PageSchemeHandler::ContentTypeFor(const QString& path) {
  const QString suffix = QFileInfo(path).suffix().toLower();
  if (suffix == "mth" || suffix == "html" || suffix == "htm") return "text/html";
  if (suffix == "js") return "text/javascript";
  if (suffix == "css") return "text/css";
  if (suffix == "png") return "image/png";
  if (suffix == "svg") return "image/svg+xml";
  if (suffix == "json") return "application/json";
  return "application/octet-stream";
}

void PageSchemeHandler::requestStarted(QWebEngineUrlRequestJob* job) {
  if (job->requestMethod() != "GET") {
    job->fail(QWebEngineUrlRequestJob::RequestDenied);
    return;
  }
  const QFileInfo file(job->requestUrl().path());
  const QString canonical = file.canonicalFilePath();
  if (canonical.isEmpty() || !file.isFile()) {
    job->fail(QWebEngineUrlRequestJob::UrlNotFound);
    return;
  }
  if (!IsAllowed(canonical)) {
    job->fail(QWebEngineUrlRequestJob::RequestDenied);
    return;
  }
  QFile source(canonical);
  if (!source.open(QIODevice::ReadOnly)) {
    job->fail(QWebEngineUrlRequestJob::RequestFailed);
    return;
  }
  // The job owns the buffer, so it lives as long as the browser reads it.
  auto* body = new QBuffer(job);
  body->setData(source.readAll());
  job->reply(ContentTypeFor(canonical), body);
}
