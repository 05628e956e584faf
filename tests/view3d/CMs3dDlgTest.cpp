// The 3D window as the user meets it: its layout, its texts, its ticks, a
// missing model, closing and opening again.
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "ViewFixture.h"
#include "view3d/Ms3dDlgIds.h"

namespace {

ModelData OneCube() {
  ModelData model;
  model.materials = {shapes::Glowing(1, 0, 0)};
  shapes::AddCube(model, {0, 0, 0}, 1.0f, 0);
  return model;
}

QWidget* ControlById(QWidget& dialog, int id) {
  for (QWidget* w : dialog.findChildren<QWidget*>()) {
    if (w->property("controlId").toInt() == id) return w;
  }
  return nullptr;
}

bool HasDarkPixels(const QImage& image, QRect area) {
  for (int y = area.top(); y <= area.bottom(); ++y) {
    for (int x = area.left(); x <= area.right(); ++x) {
      if (qGray(image.pixel(x, y)) < 60) return true;
    }
  }
  return false;
}

int CountColour(const QImage& image, QRect area, QRgb colour) {
  int count = 0;
  for (int y = area.top(); y <= area.bottom(); ++y) {
    for (int x = area.left(); x <= area.right(); ++x) count += image.pixel(x, y) == colour;
  }
  return count;
}

}  // namespace

using Ms3dDialogTest = ViewFixture;

TEST_F(Ms3dDialogTest, TemplateLayout) {
  WriteModel(OneCube());
  CMs3dDlg& dialog = Open();
  EXPECT_EQ(dialog.windowTitle(), "3D显示");
  EXPECT_EQ(dialog.property("controlId").toInt(), Ms3dIds::kTemplate);
  EXPECT_EQ(dialog.size(), QSize(1244, 537));  // 711 x 316 dialog units
  auto* exit = qobject_cast<QPushButton*>(ControlById(dialog, Ms3dIds::kExitButton));
  ASSERT_NE(exit, nullptr);
  EXPECT_EQ(exit->text(), "退出");
  EXPECT_FALSE(exit->isVisible());
  QWidget* picture = ControlById(dialog, Ms3dIds::kPictureHost);
  ASSERT_NE(picture, nullptr);
  EXPECT_EQ(picture->geometry(), QRect(12, 26, 1220, 500));
  EXPECT_EQ(dialog.viewHost()->parentWidget(), picture);
  EXPECT_EQ(dialog.view()->size(), picture->size());
  EXPECT_TRUE(m_services.Messages().empty());  // a good context: no pixel-format message
}

TEST_F(Ms3dDialogTest, TextsCarryTheStatedSigns) {
  WriteModel(OneCube());
  CMs3dDlg& dialog = Open();
  SetAttitude(10, 20, 30);
  const QImage frame = Frame();
  EXPECT_EQ(dialog.overlayTexts(), (QStringList{"Pitch:10.00", "Roll:-20.00", "Yaw:30.00"}));
  EXPECT_EQ(dialog.view()->cornerTexts(), dialog.overlayTexts());

  // The top row is painted on the window above the picture...
  const QImage window = dialog.grab().toImage();
  for (int i = 0; i < 3; ++i) {
    const QPoint at = CMs3dDlg::textOrigin(i);
    EXPECT_EQ(at.y(), 0);
    EXPECT_TRUE(HasDarkPixels(window, QRect(at.x(), 0, 60, 20))) << i;
  }
  EXPECT_EQ(CMs3dDlg::textOrigin(0).x(), 90);
  EXPECT_EQ(CMs3dDlg::textOrigin(1).x(), 205);
  EXPECT_EQ(CMs3dDlg::textOrigin(2).x(), 325);
  EXPECT_FALSE(HasDarkPixels(window, QRect(10, 2, 70, 16)));  // nothing left of the first text

  // ...and the second copy inside the picture's lower right corner, on white boxes.
  const QPoint corner = dialog.view()->cornerTextOrigin();
  EXPECT_TRUE(QRect(QPoint(), dialog.view()->size()).contains(corner + QPoint(140, 3 * 30)));
  EXPECT_GT(corner.x(), frame.width() / 2);
  EXPECT_GT(corner.y(), frame.height() / 2);
  for (int i = 0; i < 3; ++i) {
    const QRect line(corner.x(), corner.y() + i * 30, 100, 20);
    EXPECT_GT(CountColour(frame, line, qRgb(255, 255, 255)), 50) << i;
    EXPECT_TRUE(HasDarkPixels(frame, line)) << i;
  }
}

TEST_F(Ms3dDialogTest, NoSampleKeepsTheLastAngles) {
  WriteModel(OneCube());
  CMs3dDlg& dialog = Open();
  Frame();
  EXPECT_EQ(dialog.overlayTexts(), (QStringList{"Pitch:0.00", "Roll:0.00", "Yaw:0.00"}));
  SetAttitude(-5, -0.004, 359.5);
  Frame();
  EXPECT_EQ(dialog.overlayTexts(), (QStringList{"Pitch:-5.00", "Roll:0.00", "Yaw:359.50"}));
}

TEST_F(Ms3dDialogTest, WithoutTheModelTheWindowOpensAndKeepsDrawing) {
  CMs3dDlg& dialog = Open();
  ASSERT_TRUE(ProcessEventsUntil([this] { return !m_services.Messages().empty(); }));
  const auto messages = m_services.Messages();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].text, "加载3D模型失败！");
  EXPECT_EQ(messages[0].caption, "Error");
  EXPECT_EQ(messages[0].icon, MessageIcon::Stop);
  EXPECT_TRUE(dialog.isVisible());

  // The window's own timer keeps the texts coming.
  auto* timer = dialog.findChild<QTimer*>("frameTimer");
  ASSERT_NE(timer, nullptr);
  EXPECT_TRUE(timer->isActive());
  EXPECT_EQ(timer->interval(), 150);
  SetAttitude(1, 2, 3);
  ASSERT_TRUE(ProcessEventsUntil([&] { return dialog.overlayTexts().value(0) == "Pitch:1.00"; }));

  // Ground and camera were set up before the load failed: the horizon line
  // of the ground grid crosses the middle of the picture.
  const QImage frame = dialog.view()->renderedFrame().convertToFormat(QImage::Format_RGB888);
  const int middle = frame.height() / 2;
  bool groundSeen = false;
  for (int y = middle - 2; y <= middle + 1; ++y) {
    const QColor c = frame.pixelColor(frame.width() / 4, y);
    groundSeen |= c.green() > 60 && c.green() > c.red();
  }
  EXPECT_TRUE(groundSeen);
  EXPECT_EQ(frame.pixelColor(frame.width() / 4, middle - 60), QColor(Qt::black));
  const QPoint corner = dialog.view()->cornerTextOrigin();
  EXPECT_TRUE(HasDarkPixels(frame, QRect(corner.x(), corner.y(), 100, 20)));
  EXPECT_EQ(m_services.Messages().size(), 1u);
}

TEST_F(Ms3dDialogTest, ClosingReleasesTheOpeningAndTheNextStartsAfresh) {
  WriteModel(OneCube());
  CMs3dDlg& dialog = Open();
  dialog.scene().camera().orbit(30, 10);
  EXPECT_NE(dialog.scene().model(), nullptr);
  const QPointer<Ms3dView> first = dialog.view();

  QTest::keyClick(&dialog, Qt::Key_Escape);
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_EQ(dialog.scene().model(), nullptr);
  EXPECT_TRUE(first.isNull());  // the opening's view is gone with its context
  ASSERT_NE(dialog.view(), nullptr);
  EXPECT_FALSE(dialog.view()->isValid());  // no context until the next opening
  EXPECT_FALSE(dialog.findChild<QTimer*>("frameTimer")->isActive());

  dialog.show();
  ASSERT_TRUE(ProcessEventsUntil([&] { return dialog.view()->isValid(); }));
  ASSERT_NE(dialog.scene().model(), nullptr);
  EXPECT_EQ(dialog.scene().camera().azimuth(), 0.0f);
  const QImage frame = Frame();
  EXPECT_GT(ShareOfColour(frame, QPointF(frame.width() / 2.0, frame.height() / 2.0 - 10), Qt::red),
            0.9);
  dialog.close();
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_EQ(dialog.scene().model(), nullptr);
}

TEST_F(Ms3dDialogTest, RunsModallyThroughTheWindowServices) {
  WriteModel(OneCube());
  m_services.SetModalHandler([](QDialog& dialog) {
    // Closed once the first tick has drawn, however slow the machine.
    auto* poll = new QTimer(&dialog);
    QObject::connect(poll, &QTimer::timeout, &dialog, [&dialog] {
      if (!static_cast<CMs3dDlg&>(dialog).overlayTexts().isEmpty()) dialog.reject();
    });
    poll->start(20);
    QTimer::singleShot(30000, &dialog, [&dialog] { dialog.reject(); });
    return dialog.exec() == QDialog::Accepted ? kResultOk : kResultCancel;
  });
  CMs3dDlg dialog(m_services, [](double& p, double& r, double& y) {
    p = 1;
    r = 2;
    y = 3;
    return true;
  });
  EXPECT_EQ(m_services.RunModal(dialog), kResultCancel);
  EXPECT_EQ(dialog.overlayTexts(), (QStringList{"Pitch:1.00", "Roll:-2.00", "Yaw:3.00"}));
}
