// Writes every instrument, at its main-window size and configuration, into PNG files for
// review by eye.

#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QString>

#include "InstrumentRender.h"
#include "instruments/CMeter.h"
#include "instruments/CRoundSliderCtrl.h"
#include "instruments/LampArray.h"
#include "instruments/MainWindowInstruments.h"

namespace {

QString GalleryFile(const QString& name) {
  const QDir folder(QStringLiteral(TAVRIK_GALLERY_DIR));
  folder.mkpath(QStringLiteral("."));
  return folder.filePath(name);
}

QString Number(double value) {
  return QString::number(value, 'g', 6);
}

TEST(InstrumentGallery, WritesEveryInstrumentAtItsMainWindowSize) {
  CMeter gauge;
  CRoundSliderCtrl dial;
  LampArray lamps;
  MainWindowInstruments::Configure(gauge, dial, lamps);

  for (double roll : {-150.0, -45.0, 0.0, 30.0, 90.0, 150.0}) {
    for (double pitch : {-30.0, 0.0, 10.0}) {
      gauge.UpdateNeedle(roll);
      gauge.SetPitchValue(pitch);
      InstrumentRender::Render(gauge);  // the picture's turn follows one repaint later
      const QImage image = InstrumentRender::Render(gauge);
      EXPECT_EQ(image.size(), QSize(262, 281));
      const QString name =
          QStringLiteral("meter_roll%1_pitch%2.png").arg(Number(roll), Number(pitch));
      EXPECT_TRUE(image.save(GalleryFile(name))) << name.toStdString();
    }
  }

  for (double heading : {0.0, 45.0, 90.0, 180.0, 270.0, 359.9}) {
    dial.SetHeading(heading);
    const QString name = QStringLiteral("dial_heading%1.png").arg(Number(heading));
    EXPECT_TRUE(InstrumentRender::Render(dial).save(GalleryFile(name))) << name.toStdString();
  }
  for (double heading : {-90.0, -30.0, 30.0}) {
    dial.SetHeadingConverted(heading, 1);
    const QString name = QStringLiteral("dial_converted_heading%1.png").arg(Number(heading));
    EXPECT_TRUE(InstrumentRender::Render(dial).save(GalleryFile(name))) << name.toStdString();
  }

  for (const char* bits : {"00000", "10001", "11111"}) {
    for (int lamp = 0; lamp < 5; ++lamp) {
      lamps.SetLampState(lamp, bits[lamp] == '1');
    }
    const QString name = QStringLiteral("lamps_%1.png").arg(QLatin1String(bits));
    const QImage image = InstrumentRender::Render(lamps);
    EXPECT_EQ(image.size(), QSize(400, 40));
    EXPECT_TRUE(image.save(GalleryFile(name))) << name.toStdString();
  }
}

}  // namespace
