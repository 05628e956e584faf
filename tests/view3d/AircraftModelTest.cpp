// The aircraft that tavrik-model writes, read back the way the window reads it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "tools/model/AircraftBuilder.h"
#include "tools/model/BmpWriter.h"
#include "tools/model/MilkshapeWriter.h"
#include "tools/model/SkinPainter.h"
#include "view3d/model/AttitudeText.h"
#include "view3d/model/DibDecoder.h"
#include "view3d/model/MilkshapeReader.h"

TEST(Aircraft, ReadsBackAsASmallLitTexturedModel) {
  const AircraftBuilder::Result built = AircraftBuilder::build();
  ModelData model;
  ASSERT_TRUE(MilkshapeReader::parse(MilkshapeWriter::write(built.model, built.names), model));
  EXPECT_GT(model.triangles.size(), 500u);
  EXPECT_LE(model.triangles.size(), 5000u);
  ASSERT_EQ(model.materials.size(), 3u);
  const int textured = static_cast<int>(std::count_if(
      model.materials.begin(), model.materials.end(),
      [](const Material& m) { return m.textureFilename == AircraftBuilder::kTextureName; }));
  EXPECT_EQ(textured, 1);
  for (const Triangle& t : model.triangles) {
    for (const auto& n : t.vertexNormals) {
      EXPECT_NEAR(std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]), 1.0f, 1e-3f);
    }
  }
}

// The nose points away from the camera (-z), the wings span x and the fin
// stands up, so pitch, roll and yaw each turn it visibly.
TEST(Aircraft, NoseWingsAndFinLieOnTheirAxes) {
  const ModelData model = AircraftBuilder::build().model;
  auto extreme = [&](int axis, bool largest) {
    return *std::max_element(model.vertices.begin(), model.vertices.end(),
                             [&](const Vertex& a, const Vertex& b) {
                               return largest ? a.location[axis] < b.location[axis]
                                              : a.location[axis] > b.location[axis];
                             });
  };
  const Vertex nose = extreme(2, false);
  EXPECT_NEAR(nose.location[2], -AircraftBuilder::kLength / 2, 0.01f);
  EXPECT_NEAR(nose.location[0], 0.0f, 0.05f);
  EXPECT_NEAR(nose.location[1], 0.0f, 0.05f);
  EXPECT_NEAR(extreme(0, true).location[0], AircraftBuilder::kSpan / 2, 0.01f);
  EXPECT_NEAR(extreme(0, false).location[0], -AircraftBuilder::kSpan / 2, 0.01f);
  const Vertex finTip = extreme(1, true);
  EXPECT_GT(finTip.location[1], 2.0f);
  EXPECT_GT(finTip.location[2], 2.0f);
  EXPECT_LT(extreme(1, false).location[1], -0.5f);
}

TEST(Aircraft, SkinIsABitmapTheReaderTakes) {
  const RGBImage skin = SkinPainter::paint();
  const BitmapResult read = DibDecoder::decode(BmpWriter::write(skin));
  ASSERT_EQ(read.status, BitmapStatus::Ok);
  EXPECT_EQ(read.image->width, SkinPainter::kSize);
  EXPECT_EQ(read.image->height, SkinPainter::kSize);
  EXPECT_EQ(read.image->data, skin.data);
}

TEST(AttitudeText, TwoDecimalsWithTheName) {
  EXPECT_EQ(AttitudeText::format("Pitch", 10.0), "Pitch:10.00");
  EXPECT_EQ(AttitudeText::format("Roll", -20.0), "Roll:-20.00");
  EXPECT_EQ(AttitudeText::format("Yaw", 5), "Yaw:5.00");
  EXPECT_EQ(AttitudeText::format("Yaw", -0.004), "Yaw:-0.00");
  EXPECT_EQ(AttitudeText::format("Pitch", 359.996), "Pitch:360.00");
}
