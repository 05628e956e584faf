#pragma once

#include <gtest/gtest.h>

#include <QColor>
#include <QDir>
#include <QImage>
#include <QTemporaryDir>
#include <array>
#include <cmath>
#include <memory>
#include <numbers>

#include "services/ScriptedWindowServices.h"
#include "tests/common/EventLoop.h"
#include "tools/model/BmpWriter.h"
#include "tools/model/MilkshapeWriter.h"
#include "view3d/CMs3dDlg.h"
#include "view3d/Ms3dView.h"
#include "view3d/model/ModelData.h"

// Opens the 3D window in a working directory of its own, where each test
// writes the "AEREO" and textures it needs.
class ViewFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(m_dir.isValid());
    m_previous = QDir::currentPath();
    QDir::setCurrent(m_dir.path());
  }
  void TearDown() override {
    m_dialog.reset();
    QDir::setCurrent(m_previous);
  }

  static void WriteFile(const QString& name, const std::vector<uint8_t>& bytes) {
    ASSERT_TRUE(MilkshapeWriter::writeFile(name.toStdString(), bytes));
  }
  static void WriteModel(const ModelData& model) {
    WriteFile("AEREO", MilkshapeWriter::write(model));
  }
  static void WriteSolidBmp(const QString& name, std::array<uint8_t, 3> rgb, int size = 8) {
    RGBImage image;
    image.width = image.height = size;
    for (int i = 0; i < size * size; ++i)
      image.data.insert(image.data.end(), rgb.begin(), rgb.end());
    WriteFile(name, BmpWriter::write(image));
  }

  // Opens the window and waits until its view has set the scene up.
  CMs3dDlg& Open() {
    m_dialog = std::make_unique<CMs3dDlg>(m_services, [this](double& p, double& r, double& y) {
      if (!m_haveSample) return false;
      p = m_pitch;
      r = m_roll;
      y = m_yaw;
      return true;
    });
    m_dialog->show();
    EXPECT_TRUE(ProcessEventsUntil([this] { return m_dialog->view()->isValid(); }));
    QCoreApplication::processEvents();
    return *m_dialog;
  }
  void SetAttitude(double pitch, double roll, double yaw) {
    m_haveSample = true;
    m_pitch = pitch;
    m_roll = roll;
    m_yaw = yaw;
  }
  QImage Frame() {
    m_dialog->OnTimer();
    return m_dialog->view()->renderedFrame().convertToFormat(QImage::Format_RGB888);
  }

  QTemporaryDir m_dir;
  QString m_previous;
  ScriptedWindowServices m_services;
  std::unique_ptr<CMs3dDlg> m_dialog;
  bool m_haveSample = false;
  double m_pitch = 0, m_roll = 0, m_yaw = 0;
};

// Small shapes for the pixel tests.
namespace shapes {

// Material that shows exactly its colour, whatever the light does.
inline Material Glowing(float r, float g, float b, const std::string& texture = {}) {
  Material m;
  m.emissive[0] = r;
  m.emissive[1] = g;
  m.emissive[2] = b;
  m.emissive[3] = 1;
  m.ambient[3] = m.diffuse[3] = m.specular[3] = 1;
  m.textureFilename = texture;
  return m;
}

// An axis-aligned cube as its own mesh, with flat normals and the whole
// texture on each face.
inline void AddCube(ModelData& model, std::array<float, 3> centre, float half, int material) {
  static const int kFaces[6][4] = {{0, 1, 3, 2}, {4, 6, 7, 5}, {0, 4, 5, 1},
                                   {2, 3, 7, 6}, {0, 2, 6, 4}, {1, 5, 7, 3}};
  static const float kNormals[6][3] = {{-1, 0, 0}, {1, 0, 0},  {0, -1, 0},
                                       {0, 1, 0},  {0, 0, -1}, {0, 0, 1}};
  const int first = static_cast<int>(model.vertices.size());
  for (int k = 0; k < 8; ++k) {
    Vertex v;
    v.location[0] = centre[0] + ((k & 4) ? half : -half);
    v.location[1] = centre[1] + ((k & 2) ? half : -half);
    v.location[2] = centre[2] + ((k & 1) ? half : -half);
    model.vertices.push_back(v);
  }
  Mesh mesh;
  mesh.materialIndex = material;
  for (int f = 0; f < 6; ++f) {
    for (int half2 = 0; half2 < 2; ++half2) {
      Triangle t;
      const int corners[3] = {0, half2 ? 2 : 1, half2 ? 3 : 2};
      for (int c = 0; c < 3; ++c) {
        t.vertexIndices[c] = first + kFaces[f][corners[c]];
        for (int i = 0; i < 3; ++i) t.vertexNormals[c][i] = kNormals[f][i];
        t.s[c] = (corners[c] == 1 || corners[c] == 2) ? 1.0f : 0.0f;
        t.t[c] = corners[c] >= 2 ? 1.0f : 0.0f;
      }
      model.triangles.push_back(t);
      mesh.triangleIndices.push_back(static_cast<int32_t>(model.triangles.size()) - 1);
    }
  }
  model.meshes.push_back(mesh);
}

}  // namespace shapes

// Where the scene puts a model point on the picture: Ry(yaw) Rx(pitch)
// Rz(roll), a camera 80 units out on +z, 10 degrees of view.
inline QPointF ProjectModelPoint(std::array<double, 3> p, double pitch, double roll, double yaw,
                                 QSize picture) {
  const double k = std::numbers::pi / 180.0;
  auto rz = [&](std::array<double, 3> v, double a) {
    return std::array<double, 3>{v[0] * std::cos(a) - v[1] * std::sin(a),
                                 v[0] * std::sin(a) + v[1] * std::cos(a), v[2]};
  };
  auto rx = [&](std::array<double, 3> v, double a) {
    return std::array<double, 3>{v[0], v[1] * std::cos(a) - v[2] * std::sin(a),
                                 v[1] * std::sin(a) + v[2] * std::cos(a)};
  };
  auto ry = [&](std::array<double, 3> v, double a) {
    return std::array<double, 3>{v[0] * std::cos(a) + v[2] * std::sin(a), v[1],
                                 -v[0] * std::sin(a) + v[2] * std::cos(a)};
  };
  const auto q = ry(rx(rz(p, roll * k), pitch * k), yaw * k);
  const double f = 1.0 / std::tan(5.0 * k);
  const double aspect = double(picture.width()) / picture.height();
  const double depth = 80.0 - q[2];
  const double nx = f / aspect * q[0] / depth;
  const double ny = f * q[1] / depth;
  return {(nx + 1) * picture.width() / 2.0, (1 - ny) * picture.height() / 2.0};
}

// Share of the pixels within radius of the point that are near the colour.
inline double ShareOfColour(const QImage& image, QPointF at, QColor colour, int radius = 3,
                            int tolerance = 24) {
  int match = 0, all = 0;
  for (int dy = -radius; dy <= radius; ++dy) {
    for (int dx = -radius; dx <= radius; ++dx) {
      const QPoint p(int(std::lround(at.x())) + dx, int(std::lround(at.y())) + dy);
      if (!image.rect().contains(p)) continue;
      ++all;
      const QColor c = image.pixelColor(p);
      if (std::abs(c.red() - colour.red()) <= tolerance &&
          std::abs(c.green() - colour.green()) <= tolerance &&
          std::abs(c.blue() - colour.blue()) <= tolerance) {
        ++match;
      }
    }
  }
  return all == 0 ? 0.0 : double(match) / all;
}
