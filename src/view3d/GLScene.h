#pragma once

#include <QString>
#include <array>
#include <functional>
#include <memory>
#include <string>

#include "view3d/MilkshapeModel.h"
#include "view3d/OrbitCamera.h"
#include "services/WindowServices.h"

// The picture control's client rectangle, as the projection's aspect takes it.
struct ClientRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
};

// The 3D scene of the attitude window: the aircraft model at the origin,
// turned by yaw, pitch and roll, a ground grid, one light and the camera.
// Every call but construction needs the view's GL context current.
class GLScene {
 public:
  // A message for the user; the window shows it once the view is ready.
  using MessageSink =
      std::function<void(const QString& text, const QString& caption, MessageIcon icon)>;

  static constexpr int kGridSize = 64;
  static constexpr double kGridSpacing = 256.0;
  static constexpr float kFieldOfView = 10.0f;
  static constexpr float LightPosition[4] = {1.0f, 140.0f, 1.0f, 1.0f};

  GLScene();
  ~GLScene();
  GLScene(const GLScene&) = delete;
  GLScene& operator=(const GLScene&) = delete;

  void setMessageSink(MessageSink sink) { m_sink = std::move(sink); }
  // The model file, resolved against the working directory.
  void setModelFile(std::string file) { m_modelFile = std::move(file); }

  // Sets up the context, the ground, the light and the model. 0 when the
  // model cannot be loaded; the rest of the scene is set up even then.
  int init(ClientRect rect);
  // Draws one frame into the current framebuffer. Always 1.
  int render();
  // A new size of the picture: the projection follows it.
  void resize(ClientRect rect);
  // Deletes the model and its texture objects while the context is current.
  void release();

  // Width over height of the picture, 1 for a picture of no height.
  static float aspectRatio(const ClientRect& rect);

  // Degrees, written by the window before every frame.
  float pitch = 0;
  float roll = 0;
  float yaw = 0;

  OrbitCamera& camera() { return m_camera; }
  const Model* model() const { return m_model.get(); }
  bool ready() const { return m_contextReady; }

 private:
  int createContext();
  bool choosePixelFormat();
  void applyProjection();
  void setupGL();
  void prepareScene();
  void buildGround();
  void resetState();
  void placeCamera();
  void drawGround();
  void drawModel();
  void report(const QString& text, const QString& caption, MessageIcon icon);

  float m_nearPlane = 0.1f;
  float m_farPlane = 1000.0f;
  ClientRect m_rect;
  bool m_contextReady = false;
  std::unique_ptr<MilkshapeModel> m_model;
  std::array<std::array<std::array<double, 3>, kGridSize>, kGridSize> m_ground{};
  float m_position[3] = {0, 0, 0};
  OrbitCamera m_camera;
  std::string m_modelFile = "AEREO";
  MessageSink m_sink;
};
