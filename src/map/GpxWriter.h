#pragma once

#include <QString>

class QIODevice;
class TrackLog;

// Writes a track as GPX 1.1, one track with one segment, the format GIS
// tools and navigation programs read.
class GpxWriter {
 public:
  static void Write(const TrackLog& track, const QString& name, QIODevice& out);
  // Writes the file whole or not at all; false with the reason on failure.
  static bool Save(const TrackLog& track, const QString& name, const QString& path,
                   QString* error = nullptr);
};
