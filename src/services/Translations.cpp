#include "services/Translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

bool InstallChineseTranslations(QCoreApplication& app) {
  // Owned by the application, so it lives as long as the texts it serves.
  auto* translator = new QTranslator(&app);
  const QString directory = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
  if (!translator->load(QLocale(QLocale::Chinese, QLocale::China), QStringLiteral("qtbase"),
                        QStringLiteral("_"), directory)) {
    delete translator;
    return false;
  }
  return QCoreApplication::installTranslator(translator);
}
