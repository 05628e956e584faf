#include "view3d/GLScene.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <QOpenGLContext>

#include "view3d/View3dTexts.h"
#include "view3d/model/BitmapFile.h"

namespace {

// Immediate mode needs a desktop context with the compatibility calls.
bool speaksFixedFunction(const QOpenGLContext* context) {
  return context != nullptr && context->isValid() && !context->isOpenGLES() &&
         context->format().profile() != QSurfaceFormat::CoreProfile;
}

}  // namespace

GLScene::GLScene() = default;
GLScene::~GLScene() = default;

float GLScene::aspectRatio(const ClientRect& rect) {
  return rect.bottom == 0 ? 1.0f : static_cast<float>(rect.right) / static_cast<float>(rect.bottom);
}

void GLScene::report(const QString& text, const QString& caption, MessageIcon icon) {
  if (m_sink) m_sink(text, caption, icon);
}

int GLScene::init(ClientRect rect) {
  m_rect = rect;
  createContext();
  // Ground, position and light come before the model, so that a model that
  // does not load still leaves a scene to draw.
  prepareScene();
  m_model = std::make_unique<MilkshapeModel>();
  m_model->texture().setReporter([this](const std::string& message) {
    report(QString::fromStdString(message), QString::fromLatin1(BitmapFile::kMessageCaption),
           MessageIcon::None);
  });
  if (!m_contextReady || !m_model->load(m_modelFile)) return 0;
  setupGL();
  return 1;
}

// The view's framebuffer stands in for the window's pixel format: the
// context must be one that still speaks GL 1.1 and the buffer must have
// depth. A software renderer's 24 depth bits serve as well as 32.
bool GLScene::choosePixelFormat() {
  if (!speaksFixedFunction(QOpenGLContext::currentContext())) {
    report(QString::fromUtf8(View3dTexts::kChooseFormatFailed), {}, MessageIcon::None);
    return false;
  }
  GLint depthBits = 0;
  glGetIntegerv(GL_DEPTH_BITS, &depthBits);
  if (depthBits <= 0) {
    report(QString::fromUtf8(View3dTexts::kSetFormatFailed), {}, MessageIcon::None);
    return false;
  }
  return true;
}

int GLScene::createContext() {
  choosePixelFormat();
  m_contextReady = speaksFixedFunction(QOpenGLContext::currentContext());
  if (!m_contextReady) return 0;

  glClear(GL_COLOR_BUFFER_BIT);
  glClearDepth(1.0);
  glClear(GL_DEPTH_BUFFER_BIT);
  glEnable(GL_DEPTH_TEST);
  glDepthFunc(GL_LEQUAL);
  glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
  glEnable(GL_NORMALIZE);
  m_nearPlane = 0.1f;
  m_farPlane = 1000.0f;
  applyProjection();
  return 1;
}

void GLScene::applyProjection() {
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  gluPerspective(kFieldOfView, aspectRatio(m_rect), m_nearPlane, m_farPlane);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
}

void GLScene::resize(ClientRect rect) {
  m_rect = rect;
  if (m_contextReady) applyProjection();
}

void GLScene::prepareScene() {
  buildGround();
  resetState();
  m_camera.reset();
  if (!m_contextReady) return;
  glShadeModel(GL_SMOOTH);
  glClearColor(0.0f, 0.0f, 0.0f, 0.5f);
  glClearDepth(1.0);
  glEnable(GL_DEPTH_TEST);
  glDepthFunc(GL_LEQUAL);
  glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
  // Given under the identity, the light stays where it is relative to the
  // camera. Lighting itself is on only while the model is drawn.
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glLightfv(GL_LIGHT0, GL_POSITION, LightPosition);
  glEnable(GL_LIGHT0);
}

void GLScene::setupGL() {
  prepareScene();
  if (m_model) m_model->createTextures();
}

void GLScene::buildGround() {
  for (int j = 0; j < kGridSize; ++j) {
    for (int i = 0; i < kGridSize; ++i) {
      m_ground[j][i] = {(j - kGridSize / 2) * kGridSpacing, 0.0,
                        (i - kGridSize / 2) * kGridSpacing};
    }
  }
}

void GLScene::resetState() {
  m_position[0] = m_position[1] = m_position[2] = 0.0f;
  pitch = roll = yaw = 0.0f;
}

void GLScene::release() {
  if (m_model && m_contextReady) m_model->deleteTextures();
  m_model.reset();
  m_contextReady = false;
}

int GLScene::render() {
  if (!m_contextReady) return 1;
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glEnable(GL_DEPTH_TEST);
  // Text painted over the last frame leaves its own depth function behind.
  glDepthFunc(GL_LEQUAL);
  placeCamera();
  drawGround();
  drawModel();
  return 1;
}

void GLScene::placeCamera() {
  double eye[3];
  m_camera.eye(m_position, eye);
  gluLookAt(eye[0], eye[1], eye[2], m_position[0], m_position[1], m_position[2], 0.0, 1.0, 0.0);
}

// The cells are drawn as outlines, so the ground reads as a grid and the
// model, which sits in its plane, stays visible from above and below.
void GLScene::drawGround() {
  glEnable(GL_TEXTURE_2D);
  glBindTexture(GL_TEXTURE_2D, 0);
  glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
  glColor3f(0.45f, 0.55f, 0.45f);
  // One begin/end for all the cells: the same quads, far fewer calls.
  glBegin(GL_QUADS);
  for (int i = 0; i < kGridSize - 1; ++i) {
    for (int j = 0; j < kGridSize - 1; ++j) {
      glTexCoord2f(0.0f, 0.0f);
      glVertex3dv(m_ground[j][i].data());
      glTexCoord2f(0.0f, 1.0f);
      glVertex3dv(m_ground[j][i + 1].data());
      glTexCoord2f(1.0f, 1.0f);
      glVertex3dv(m_ground[j + 1][i + 1].data());
      glTexCoord2f(1.0f, 0.0f);
      glVertex3dv(m_ground[j + 1][i].data());
    }
  }
  glEnd();
  glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
  glDisable(GL_TEXTURE_2D);
}

void GLScene::drawModel() {
  glPushMatrix();
  glEnable(GL_LIGHTING);
  glRotatef(yaw, 0.0f, 1.0f, 0.0f);
  glRotatef(pitch, 1.0f, 0.0f, 0.0f);
  glRotatef(roll, 0.0f, 0.0f, 1.0f);
  if (m_model) m_model->draw();
  glDisable(GL_LIGHTING);
  glPopMatrix();
}
