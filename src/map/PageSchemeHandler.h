#pragma once

#include <QStringList>
#include <QUrl>
#include <QWebEngineUrlSchemeHandler>

class QWebEngineProfile;

// Serves the map page and the files beside it to the embedded browser. The
// page file's extension (".mth") means nothing to a browser, so it is served
// as HTML under a scheme of our own; its scripts, styles and pictures come
// from the same folder by relative references. Only files inside folders a
// page was loaded from are served.
class PageSchemeHandler : public QWebEngineUrlSchemeHandler {
  Q_OBJECT

 public:
  static constexpr const char* kScheme = "tavrikpage";

  // Before the application object exists, as the browser requires.
  static void RegisterScheme();
  // The handler of the profile, installed on first use.
  static PageSchemeHandler& InstalledOn(QWebEngineProfile& profile);
  static QUrl UrlForFile(const QString& absolutePath);

  // Lets the page in this folder load the files beside and below it.
  void AllowFolder(const QString& folder);

  void requestStarted(QWebEngineUrlRequestJob* job) override;

  static QByteArray ContentTypeFor(const QString& path);

 private:
  explicit PageSchemeHandler(QObject* parent) : QWebEngineUrlSchemeHandler(parent) {}
  bool IsAllowed(const QString& canonicalPath) const;

  QStringList m_folders;
};
