// The window with the generated aircraft, saved for review by eye.
#include <QDir>
#include <QPainter>

#include "ViewFixture.h"
#include "tools/model/AircraftBuilder.h"
#include "tools/model/SkinPainter.h"

namespace {

// The window as the screen shows it: its own pixels with the view's
// framebuffer where the view sits.
QImage WindowPicture(CMs3dDlg& dialog, const QImage& frame) {
  QImage picture = dialog.grab().toImage();
  QPainter painter(&picture);
  painter.drawImage(dialog.viewHost()->mapTo(&dialog, QPoint(0, 0)), frame);
  return picture;
}

}  // namespace

using Screenshot = ViewFixture;

TEST_F(Screenshot, AircraftAtAnAttitude) {
  const AircraftBuilder::Result aircraft = AircraftBuilder::build();
  WriteFile("AEREO", MilkshapeWriter::write(aircraft.model, aircraft.names));
  WriteFile(AircraftBuilder::kTextureName, BmpWriter::write(SkinPainter::paint()));
  CMs3dDlg& dialog = Open();
  SetAttitude(12, 25, 35);
  // A little above the stated eye line, so that the ground grid shows.
  dialog.scene().camera().orbit(0, 12);
  const QImage frame = Frame();
  ASSERT_TRUE(m_services.Messages().empty());

  // The aircraft fills a fair part of the picture and wears its colours.
  int lit = 0, red = 0;
  for (int y = 0; y < frame.height(); y += 2) {
    for (int x = 0; x < frame.width(); x += 2) {
      const QColor c = frame.pixelColor(x, y);
      if (c.value() > 90) ++lit;
      if (c.red() > 120 && c.green() < 70 && c.blue() < 70) ++red;
    }
  }
  const int samples = (frame.height() / 2) * (frame.width() / 2);
  EXPECT_GT(lit, samples / 30);
  EXPECT_GT(red, 50);

  QDir().mkpath(TAVRIK_SCREENSHOT_DIR);
  EXPECT_TRUE(WindowPicture(dialog, frame).save(QString(TAVRIK_SCREENSHOT_DIR) + "/view3d.png"));
  dialog.scene().camera().reset();
  EXPECT_TRUE(
      WindowPicture(dialog, Frame()).save(QString(TAVRIK_SCREENSHOT_DIR) + "/view3d-stated.png"));
}
