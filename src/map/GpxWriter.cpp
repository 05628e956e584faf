#include "map/GpxWriter.h"

#include <QSaveFile>
#include <QXmlStreamWriter>

#include "map/TrackLog.h"

namespace {

constexpr const char* kNamespace = "http://www.topografix.com/GPX/1/1";
constexpr const char* kSchemaInstance = "http://www.w3.org/2001/XMLSchema-instance";
constexpr const char* kSchemaLocation =
    "http://www.topografix.com/GPX/1/1 http://www.topografix.com/GPX/1/1/gpx.xsd";

// Degrees as the map was given them: six decimals, a point, never a locale's comma.
QString Degrees(double value) {
  return QString::number(value, 'f', 6);
}

QString IsoTime(const QDateTime& time) {
  return time.toUTC().toString(Qt::ISODateWithMs);
}

}  // namespace

void GpxWriter::Write(const TrackLog& track, const QString& name, QIODevice& out) {
  QXmlStreamWriter xml(&out);
  xml.setAutoFormatting(true);
  xml.setAutoFormattingIndent(1);
  xml.writeStartDocument();
  xml.writeStartElement("gpx");
  xml.writeDefaultNamespace(kNamespace);
  xml.writeNamespace(kSchemaInstance, "xsi");
  xml.writeAttribute("version", "1.1");
  xml.writeAttribute("creator", "Tavrik");
  xml.writeAttribute(kSchemaInstance, "schemaLocation", kSchemaLocation);
  if (!track.IsEmpty()) {
    xml.writeStartElement("metadata");
    xml.writeTextElement("name", name);
    xml.writeTextElement("time", IsoTime(track.Points().front().time));
    xml.writeEndElement();
  }
  xml.writeStartElement("trk");
  xml.writeTextElement("name", name);
  xml.writeStartElement("trkseg");
  for (const TrackLog::Point& point : track.Points()) {
    xml.writeStartElement("trkpt");
    xml.writeAttribute("lat", Degrees(point.latitude));
    xml.writeAttribute("lon", Degrees(point.longitude));
    if (point.time.isValid()) xml.writeTextElement("time", IsoTime(point.time));
    xml.writeEndElement();
  }
  xml.writeEndElement();  // trkseg
  xml.writeEndElement();  // trk
  xml.writeEndElement();  // gpx
  xml.writeEndDocument();
}

bool GpxWriter::Save(const TrackLog& track, const QString& name, const QString& path,
                     QString* error) {
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) {
    if (error) *error = file.errorString();
    return false;
  }
  Write(track, name, file);
  if (!file.commit()) {
    if (error) *error = file.errorString();
    return false;
  }
  return true;
}
