// The scene drawn by the real GL of the X server (llvmpipe under Xvfb),
// probed pixel by pixel.
#include <GL/gl.h>

#include <QMouseEvent>
#include <QTest>
#include <QWheelEvent>

#include "ViewFixture.h"
#include "view3d/GLScene.h"
#include "view3d/MilkshapeModel.h"

namespace {

// Red on the right wing, green up the fin, blue at the nose.
const std::array<double, 3> kRight{3, 0, 0}, kUp{0, 3, 0}, kNose{0, 0, -3};

ModelData ThreeCubes() {
  ModelData model;
  model.materials = {shapes::Glowing(1, 0, 0), shapes::Glowing(0, 1, 0), shapes::Glowing(0, 0, 1)};
  shapes::AddCube(model, {3, 0, 0}, 0.4f, 0);
  shapes::AddCube(model, {0, 3, 0}, 0.4f, 1);
  shapes::AddCube(model, {0, 0, -3}, 0.4f, 2);
  return model;
}

struct Attitude {
  double pitch, roll, yaw;  // as the unit gives them
};

class SceneAttitude : public ViewFixture, public ::testing::WithParamInterface<Attitude> {};

}  // namespace

TEST_P(SceneAttitude, PartsLandWhereTheTurnPutsThem) {
  WriteModel(ThreeCubes());
  CMs3dDlg& dialog = Open();
  const Attitude a = GetParam();
  SetAttitude(a.pitch, a.roll, a.yaw);
  const QImage frame = Frame();
  // The model turns by the pitch as given and by roll and yaw negated.
  EXPECT_FLOAT_EQ(dialog.scene().pitch, float(a.pitch));
  EXPECT_FLOAT_EQ(dialog.scene().roll, float(-a.roll));
  EXPECT_FLOAT_EQ(dialog.scene().yaw, float(-a.yaw));

  const struct {
    std::array<double, 3> centre;
    QColor colour;
  } parts[] = {{kRight, Qt::red}, {kUp, Qt::green}, {kNose, Qt::blue}};
  for (const auto& part : parts) {
    const QPointF at = ProjectModelPoint(part.centre, a.pitch, -a.roll, -a.yaw, frame.size());
    EXPECT_GT(ShareOfColour(frame, at, part.colour), 0.6)
        << part.colour.name().toStdString() << " at " << at.x() << "," << at.y();
    // Turned away from where it stands unturned, whenever it moved far enough.
    const QPointF still = ProjectModelPoint(part.centre, 0, 0, 0, frame.size());
    if (QLineF(at, still).length() > 25) {
      EXPECT_LT(ShareOfColour(frame, still, part.colour), 0.2) << part.colour.name().toStdString();
    }
  }
}

INSTANTIATE_TEST_SUITE_P(OneAtATimeAndAllTogether, SceneAttitude,
                         ::testing::Values(Attitude{0, 0, 0}, Attitude{30, 0, 0},
                                           Attitude{-30, 0, 0}, Attitude{0, 30, 0},
                                           Attitude{0, -30, 0}, Attitude{0, 0, 30},
                                           Attitude{0, 0, -30}, Attitude{30, 30, 30},
                                           Attitude{-30, 30, -30}));

using SceneTest = ViewFixture;

TEST_F(SceneTest, TexturedMaterialShowsItsTexture) {
  WriteSolidBmp("green.bmp", {40, 160, 90});
  ModelData model;
  model.materials = {shapes::Glowing(1, 1, 1, "green.bmp")};
  shapes::AddCube(model, {0, 0, 0}, 1.0f, 0);
  WriteModel(model);
  Open();
  const QImage frame = Frame();
  const QPointF centre(frame.width() / 2.0, frame.height() / 2.0 - 10);
  EXPECT_GT(ShareOfColour(frame, centre, QColor(40, 160, 90), 3, 4), 0.9);
  EXPECT_TRUE(m_services.Messages().empty());
}

TEST_F(SceneTest, DrawLeavesTexturingAsItFoundIt) {
  WriteSolidBmp("tex.bmp", {200, 10, 10});
  ModelData model;
  model.materials = {shapes::Glowing(1, 1, 1, "tex.bmp"), shapes::Glowing(0, 1, 0)};
  shapes::AddCube(model, {0, 0, 0}, 1.0f, 0);    // turns texturing on
  shapes::AddCube(model, {2, 0, 0}, 0.5f, 1);    // and off
  shapes::AddCube(model, {-2, 0, 0}, 0.5f, -1);  // no material: off
  WriteModel(model);
  CMs3dDlg& dialog = Open();
  Ms3dView& view = *dialog.view();
  view.makeCurrent();
  ASSERT_NE(dialog.scene().model(), nullptr);
  for (bool on : {true, false, true}) {
    on ? glEnable(GL_TEXTURE_2D) : glDisable(GL_TEXTURE_2D);
    dialog.scene().model()->draw();
    EXPECT_EQ(glIsEnabled(GL_TEXTURE_2D), on ? GL_TRUE : GL_FALSE);
  }
  glDisable(GL_TEXTURE_2D);
  view.doneCurrent();
}

TEST_F(SceneTest, RecreatedTexturesAreNewAndTheOldOnesGone) {
  WriteSolidBmp("a.bmp", {1, 2, 3});
  WriteSolidBmp("b.bmp", {4, 5, 6});
  ModelData model;
  model.materials = {shapes::Glowing(1, 1, 1, "a.bmp"), shapes::Glowing(1, 1, 1),
                     shapes::Glowing(1, 1, 1, "b.bmp")};
  WriteModel(model);
  CMs3dDlg& dialog = Open();
  dialog.view()->makeCurrent();
  MilkshapeModel loaded;
  ASSERT_TRUE(loaded.load("AEREO"));
  const unsigned first[3] = {loaded.data().materials[0].texture, loaded.data().materials[1].texture,
                             loaded.data().materials[2].texture};
  EXPECT_NE(first[0], 0u);
  EXPECT_EQ(first[1], 0u);  // no picture named, none opened
  EXPECT_NE(first[2], 0u);
  loaded.createTextures();
  for (int i : {0, 2}) {
    const unsigned now = loaded.data().materials[i].texture;
    EXPECT_NE(now, 0u);
    EXPECT_NE(now, first[0]);
    EXPECT_NE(now, first[2]);
    EXPECT_TRUE(glIsTexture(now));
    EXPECT_FALSE(glIsTexture(first[i]));
  }
  loaded.deleteTextures();
  EXPECT_EQ(loaded.data().materials[0].texture, 0u);
  dialog.view()->doneCurrent();
}

TEST_F(SceneTest, UnreadableTextureIsReportedAndTheMeshDrawnPlain) {
  const std::vector<uint8_t> notBmp = {
      'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0, 108, 0, 0, 0};  // a header size we do not read
  WriteFile("odd.bmp", notBmp);
  WriteFile("cut.bmp", {'B', 'M', 1, 2});
  ModelData model;
  model.materials = {shapes::Glowing(0, 0, 1, "odd.bmp"), shapes::Glowing(1, 0, 0, "cut.bmp"),
                     shapes::Glowing(1, 0, 0, "missing.bmp")};
  shapes::AddCube(model, {0, 0, 0}, 1.0f, 0);
  WriteModel(model);
  Open();
  ASSERT_TRUE(ProcessEventsUntil([this] { return m_services.Messages().size() >= 4; }));
  // Loading makes the textures once and the set-up once more.
  const auto messages = m_services.Messages();
  ASSERT_EQ(messages.size(), 4u);
  EXPECT_EQ(messages[0].text, "Unknown DIB file format.");
  EXPECT_EQ(messages[0].caption, "Error");
  EXPECT_EQ(messages[1].text, "Image file conversion error.");
  EXPECT_EQ(messages[2].text, "Unknown DIB file format.");
  const QImage frame = Frame();
  EXPECT_GT(ShareOfColour(frame, QPointF(frame.width() / 2.0, frame.height() / 2.0 - 10), Qt::blue),
            0.9);
}

TEST_F(SceneTest, AspectFollowsThePictureAndIsOneWithoutHeight) {
  EXPECT_FLOAT_EQ(GLScene::aspectRatio({0, 0, 1220, 500}), 2.44f);
  EXPECT_FLOAT_EQ(GLScene::aspectRatio({0, 0, 1220, 0}), 1.0f);
  EXPECT_FLOAT_EQ(GLScene::aspectRatio({0, 0, 0, 0}), 1.0f);
}

TEST_F(SceneTest, DragOrbitsWheelZoomsDoubleClickReturns) {
  WriteModel(ThreeCubes());
  CMs3dDlg& dialog = Open();
  Ms3dView& view = *dialog.view();
  const QImage stated = Frame();

  const QPoint centre = QRect(QPoint(), view.size()).center();
  QTest::mousePress(&view, Qt::LeftButton, {}, centre);
  QMouseEvent move(QEvent::MouseMove, QPointF(centre + QPoint(100, 40)),
                   view.mapToGlobal(QPointF(centre + QPoint(100, 40))), Qt::NoButton,
                   Qt::LeftButton, {});
  QCoreApplication::sendEvent(&view, &move);
  QTest::mouseRelease(&view, Qt::LeftButton, {}, centre + QPoint(100, 40));
  EXPECT_FLOAT_EQ(dialog.scene().camera().azimuth(), -40.0f);
  EXPECT_FLOAT_EQ(dialog.scene().camera().elevation(), 16.0f);
  EXPECT_NE(Frame(), stated);

  QWheelEvent wheel(QPointF(centre), view.mapToGlobal(QPointF(centre)), {}, {0, 240}, Qt::NoButton,
                    {}, Qt::NoScrollPhase, false);
  QCoreApplication::sendEvent(&view, &wheel);
  EXPECT_NEAR(dialog.scene().camera().distance(), 80.0f * 0.81f, 1e-3f);

  QTest::mouseDClick(&view, Qt::LeftButton, {}, centre);
  EXPECT_FLOAT_EQ(dialog.scene().camera().azimuth(), 0.0f);
  EXPECT_FLOAT_EQ(dialog.scene().camera().distance(), 80.0f);
  EXPECT_EQ(Frame(), stated);
}
