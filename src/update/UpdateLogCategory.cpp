#include "update/UpdateLogCategory.h"

Q_LOGGING_CATEGORY(lcUpdate, "tavrik.update")

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
