// The marked track as a GPX file: what GIS tools read back from it.

#include <gtest/gtest.h>

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <vector>

#include "map/GpxWriter.h"
#include "map/TrackLog.h"

namespace {

struct ReadPoint {
  QString lat;
  QString lon;
  QString time;
};

struct ReadTrack {
  QString version;
  QString rootNamespace;
  QString name;
  std::vector<ReadPoint> points;
  bool wellFormed = false;
};

ReadTrack Read(const QByteArray& bytes) {
  ReadTrack track;
  QXmlStreamReader xml(bytes);
  QStringList path;
  while (!xml.atEnd()) {
    const auto token = xml.readNext();
    if (token == QXmlStreamReader::StartElement) {
      path << xml.name().toString();
      if (path.size() == 1) {
        track.version = xml.attributes().value("version").toString();
        track.rootNamespace = xml.namespaceUri().toString();
      } else if (path.join('/') == "gpx/trk/trkseg/trkpt") {
        track.points.push_back({xml.attributes().value("lat").toString(),
                                xml.attributes().value("lon").toString(),
                                {}});
      } else if (path.join('/') == "gpx/trk/trkseg/trkpt/time") {
        track.points.back().time = xml.readElementText();
        path.removeLast();
      } else if (path.join('/') == "gpx/trk/name") {
        track.name = xml.readElementText();
        path.removeLast();
      }
    } else if (token == QXmlStreamReader::EndElement) {
      path.removeLast();
    }
  }
  track.wellFormed = !xml.hasError();
  return track;
}

QByteArray Written(const TrackLog& track, const QString& name) {
  QBuffer out;
  out.open(QIODevice::WriteOnly);
  GpxWriter::Write(track, name, out);
  return out.data();
}

TEST(GpxWriterTest, TrackPointsInOrderWithSixDecimalsAndUtcTimes) {
  TrackLog track;
  const QDateTime start(QDate(2024, 5, 1), QTime(8, 30, 0), Qt::UTC);
  track.Add(116.3, 39.9, start);
  track.Add(-70.6000004, -33.87, start.addMSecs(150));
  track.Add(0.0, -0.5, start.addMSecs(300).toOffsetFromUtc(8 * 3600));
  const ReadTrack read = Read(Written(track, QString::fromUtf8("Tavrik 轨迹 & <1>")));
  ASSERT_TRUE(read.wellFormed);
  EXPECT_EQ(read.version, "1.1");
  EXPECT_EQ(read.rootNamespace, "http://www.topografix.com/GPX/1/1");
  EXPECT_EQ(read.name, QString::fromUtf8("Tavrik 轨迹 & <1>"));
  ASSERT_EQ(read.points.size(), 3u);
  EXPECT_EQ(read.points[0].lat, "39.900000");
  EXPECT_EQ(read.points[0].lon, "116.300000");
  EXPECT_EQ(read.points[0].time, "2024-05-01T08:30:00.000Z");
  EXPECT_EQ(read.points[1].lat, "-33.870000");
  EXPECT_EQ(read.points[1].lon, "-70.600000");
  EXPECT_EQ(read.points[1].time, "2024-05-01T08:30:00.150Z");
  EXPECT_EQ(read.points[2].lat, "-0.500000");
  EXPECT_EQ(read.points[2].lon, "0.000000");
  EXPECT_EQ(read.points[2].time, "2024-05-01T08:30:00.300Z");
}

TEST(GpxWriterTest, EmptyTrackIsStillADocument) {
  const ReadTrack read = Read(Written(TrackLog(), "empty"));
  EXPECT_TRUE(read.wellFormed);
  EXPECT_EQ(read.version, "1.1");
  EXPECT_TRUE(read.points.empty());
}

TEST(GpxWriterTest, SaveReplacesTheFileWholeOrReportsWhy) {
  QTemporaryDir folder;
  ASSERT_TRUE(folder.isValid());
  TrackLog track;
  track.Add(116.3, 39.9, QDateTime::currentDateTimeUtc());
  const QString path = folder.filePath("track.gpx");
  {
    QFile old(path);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write(QByteArray(10000, 'x'));
  }
  QString error;
  ASSERT_TRUE(GpxWriter::Save(track, "t", path, &error)) << error.toStdString();
  QFile saved(path);
  ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
  const ReadTrack read = Read(saved.readAll());
  EXPECT_TRUE(read.wellFormed);
  EXPECT_EQ(read.points.size(), 1u);

  EXPECT_FALSE(GpxWriter::Save(track, "t", folder.filePath("missing/track.gpx"), &error));
  EXPECT_FALSE(error.isEmpty());
}

}  // namespace
