#pragma once

#include <QImage>
#include <QPainter>
#include <QString>
#include <QTransform>

// The gauge's attitude picture: an image drawn at an offset and turned about a fixed point.
//
// SetRotation turns the picture about (width/2 - 25, height/2) in image pixels; a positive
// angle turns it clockwise on the screen. The turn is kept until the next SetRotation.
class CPicture {
 public:
  // Decodes the image stored at a resource path; false when it is missing, empty or not an
  // image, in which case the picture stays empty.
  bool LoadFromResource(const QString& resourcePath);

  // Stands in for a picture that could not be loaded: sky above the middle row, ground below.
  void MakePlainHorizon(const QSize& size);

  bool IsLoaded() const { return !m_source.isNull(); }
  QSize Size() const { return m_source.size(); }

  void Draw(QPainter& painter, float x, float y) const;
  void SetRotation(float angle);
  float Rotation() const { return m_lastAngle; }

  static QColor PlainSkyColor() { return QColor(109, 200, 239); }
  static QColor PlainGroundColor() { return QColor(169, 53, 8); }

 private:
  QImage m_source;
  QTransform m_transform;
  float m_lastAngle = 0.0f;
};
