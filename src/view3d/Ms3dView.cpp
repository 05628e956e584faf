#include "view3d/Ms3dView.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include "view3d/GLScene.h"
#include "view3d/OverlayFont.h"

namespace {

constexpr float kDegreesPerPixel = 0.4f;
constexpr int kWheelStep = 120;
constexpr int kCornerMargin = 12;
constexpr int kCornerTextWidth = 150;

ClientRect rectOf(int width, int height) {
  return ClientRect{0, 0, width, height};
}

}  // namespace

Ms3dView::Ms3dView(GLScene& scene) : m_scene(scene) {
  setObjectName(QStringLiteral("ms3dView"));
  setFormat(surfaceFormat());
  // Keys stay with the dialog, so Esc closes it after a drag in the picture.
  setFlag(Qt::WindowDoesNotAcceptFocus);
}

Ms3dView::~Ms3dView() {
  makeCurrent();
  m_scene.release();
  doneCurrent();
}

QSurfaceFormat Ms3dView::surfaceFormat() {
  QSurfaceFormat format;
  format.setRenderableType(QSurfaceFormat::OpenGL);
  format.setProfile(QSurfaceFormat::CompatibilityProfile);
  format.setVersion(2, 1);
  format.setSwapBehavior(QSurfaceFormat::DoubleBuffer);
  format.setRedBufferSize(8);
  format.setGreenBufferSize(8);
  format.setBlueBufferSize(8);
  format.setDepthBufferSize(24);
  return format;
}

QImage Ms3dView::renderedFrame() {
  if (!isValid()) return {};
  makeCurrent();
  paintGL();
  // What the window shows lies behind the last swap; this frame is still in
  // the back buffer, which the read takes.
  return grabFramebuffer();
}

void Ms3dView::setCornerTexts(const QStringList& texts) {
  m_cornerTexts = texts;
}

QPoint Ms3dView::cornerTextOrigin() const {
  const int lines = static_cast<int>(m_cornerTexts.size());
  return {width() - kCornerMargin - kCornerTextWidth,
          height() - kCornerMargin - lines * kCornerLineSpacing};
}

void Ms3dView::initializeGL() {
  const int result = m_scene.init(rectOf(width(), height()));
  emit sceneInitialised(result);
}

void Ms3dView::resizeGL(int width, int height) {
  m_scene.resize(rectOf(width, height));
}

void Ms3dView::paintGL() {
  m_scene.render();
  if (m_cornerTexts.isEmpty()) return;
  QPainter painter(this);
  OverlayFont::prepare(painter);
  const QPoint origin = cornerTextOrigin();
  for (int i = 0; i < m_cornerTexts.size(); ++i) {
    OverlayFont::draw(painter, origin + QPoint(0, i * kCornerLineSpacing), m_cornerTexts[i]);
  }
}

void Ms3dView::mousePressEvent(QMouseEvent* event) {
  m_lastDrag = event->position().toPoint();
}

void Ms3dView::mouseMoveEvent(QMouseEvent* event) {
  if (!(event->buttons() & Qt::LeftButton)) return;
  const QPoint now = event->position().toPoint();
  const QPoint moved = now - m_lastDrag;
  m_lastDrag = now;
  // Dragging right swings the camera to the left, so the model seems to
  // follow the hand.
  m_scene.camera().orbit(-moved.x() * kDegreesPerPixel, moved.y() * kDegreesPerPixel);
  update();
}

void Ms3dView::mouseDoubleClickEvent(QMouseEvent*) {
  m_scene.camera().reset();
  update();
}

void Ms3dView::wheelEvent(QWheelEvent* event) {
  m_scene.camera().zoom(static_cast<float>(event->angleDelta().y()) / kWheelStep);
  update();
}
