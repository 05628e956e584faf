#pragma once

#include <QOpenGLWindow>
#include <QPoint>
#include <QStringList>

class GLScene;

// The picture the scene renders into: a GL window of its own with a
// compatibility context, so the scene's fixed-function calls work. It sits
// in the dialog through a window container rather than as a GL widget: a
// widget's frame is composed into the whole dialog again on every repaint,
// which on a software renderer costs several times the scene itself. It sets the scene up
// when its context first exists, draws one frame per repaint, prints the
// angle texts into its lower right corner and lets the user orbit the
// camera: drag to turn, wheel to zoom, double-click for the starting view.
// The scene's GL objects go with the view's context.
class Ms3dView : public QOpenGLWindow {
  Q_OBJECT

 public:
  explicit Ms3dView(GLScene& scene);
  ~Ms3dView() override;

  // Draws one frame at once and returns its pixels, without putting it on
  // the screen; a null image while there is no context.
  QImage renderedFrame();

  void setCornerTexts(const QStringList& texts);
  QStringList cornerTexts() const { return m_cornerTexts; }
  // Where the corner texts start, in the view's pixels.
  QPoint cornerTextOrigin() const;

  // The surface every view asks for: desktop GL, compatibility profile,
  // double buffered, with depth.
  static QSurfaceFormat surfaceFormat();

  static constexpr int kCornerLineSpacing = 30;

 signals:
  // The scene's init result, once the context exists.
  void sceneInitialised(int result);

 protected:
  void initializeGL() override;
  void resizeGL(int width, int height) override;
  void paintGL() override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;

 private:
  GLScene& m_scene;
  QStringList m_cornerTexts;
  QPoint m_lastDrag;
};
