#include "update/UpdateLogCategory.h"

// Traces are for whoever turns them on (QT_LOGGING_RULES); status lines always show.
Q_LOGGING_CATEGORY(lcUpdate, "tavrik.update", QtInfoMsg)

UpdateLogSink updateLogCategorySink() {
  return [](UpdateLogKind kind, const std::string& line) {
    QString text = QString::fromUtf8(line.data(), static_cast<qsizetype>(line.size()));
    if (text.endsWith(QLatin1Char('\n'))) text.chop(1);
    if (kind == UpdateLogKind::Status) {
      qCInfo(lcUpdate).noquote() << text;
    } else {
      qCDebug(lcUpdate).noquote() << text;
    }
  };
}
