#include "serial/PortText.h"

#include <limits>

QString PortText::PortName(const QString& selectorText) {
  return selectorText.trimmed();
}

qint32 PortText::BaudRate(const QString& selectorText) {
  qsizetype at = 0;
  while (at < selectorText.size() && selectorText.at(at).isSpace()) ++at;
  qint64 rate = 0;
  bool anyDigit = false;
  for (; at < selectorText.size(); ++at) {
    const QChar c = selectorText.at(at);
    if (c < QLatin1Char('0') || c > QLatin1Char('9')) break;
    anyDigit = true;
    rate = rate * 10 + (c.unicode() - '0');
    if (rate > std::numeric_limits<qint32>::max()) return 0;
  }
  return anyDigit ? static_cast<qint32>(rate) : 0;
}
