#include <gtest/gtest.h>

#include "Ms3dBytes.h"
#include "view3d/model/MilkshapeReader.h"

using namespace ms3d_test;

namespace {

bool Parse(const std::vector<uint8_t>& bytes, ModelData& out) {
  return MilkshapeReader::parse(bytes, out);
}

}  // namespace

TEST(MilkshapeReader, ReadsEveryBlockAsWritten) {
  const ModelData written = SmallModel();
  ModelData read;
  ASSERT_TRUE(Parse(Bytes(written), read));

  ASSERT_EQ(read.vertices.size(), 3u);
  EXPECT_EQ(read.vertices[0].boneId, -1);
  EXPECT_EQ(read.vertices[2].boneId, 1);
  EXPECT_FLOAT_EQ(read.vertices[2].location[0], 3.0f);
  EXPECT_FLOAT_EQ(read.vertices[2].location[1], -4.0f);
  EXPECT_FLOAT_EQ(read.vertices[2].location[2], 1.0f);

  ASSERT_EQ(read.triangles.size(), 2u);
  EXPECT_EQ(read.triangles[1].vertexIndices[0], 1);
  EXPECT_EQ(read.triangles[1].vertexIndices[2], 0);
  EXPECT_FLOAT_EQ(read.triangles[1].vertexNormals[2][2], -1.0f);
  EXPECT_FLOAT_EQ(read.triangles[0].s[2], 0.5f);

  ASSERT_EQ(read.meshes.size(), 2u);
  EXPECT_EQ(read.meshes[0].materialIndex, 0);
  EXPECT_EQ(read.meshes[1].triangleIndices, (std::vector<int32_t>{1, 0}));

  ASSERT_EQ(read.materials.size(), 2u);
  const Material& m = read.materials[0];
  EXPECT_FLOAT_EQ(m.ambient[3], 0.4f);
  EXPECT_FLOAT_EQ(m.diffuse[1], 0.3f);
  EXPECT_FLOAT_EQ(m.specular[0], 0.3f);
  EXPECT_FLOAT_EQ(m.emissive[2], 0.1f);
  EXPECT_FLOAT_EQ(m.shininess, 12.5f);
  EXPECT_EQ(m.textureFilename, "skin.bmp");
  EXPECT_EQ(m.texture, 0u);
  EXPECT_EQ(read.materials[1].textureFilename, "");
}

TEST(MilkshapeReader, StoresTAsOneMinusTheFileValue) {
  ModelData model = SmallModel();
  std::vector<uint8_t> bytes = Bytes(model);
  const size_t t = LayoutOf(model).triangles + 2 + 56;  // first triangle's t values
  PutFloat(bytes, t, 0.25f);
  PutFloat(bytes, t + 4, 0.5f);
  PutFloat(bytes, t + 8, 1.0f);
  ModelData read;
  ASSERT_TRUE(Parse(bytes, read));
  EXPECT_FLOAT_EQ(read.triangles[0].t[0], 0.75f);
  EXPECT_FLOAT_EQ(read.triangles[0].t[1], 0.5f);
  EXPECT_FLOAT_EQ(read.triangles[0].t[2], 0.0f);
}

TEST(MilkshapeReader, TakesVersionsThreeAndFourOnly) {
  for (int version : {2, 3, 4, 5, -1, 1000}) {
    std::vector<uint8_t> bytes = Bytes(SmallModel());
    bytes[10] = static_cast<uint8_t>(version);
    bytes[11] = static_cast<uint8_t>(version >> 8);
    bytes[12] = bytes[13] = version < 0 ? 0xFF : 0;
    ModelData read;
    EXPECT_EQ(Parse(bytes, read), version == 3 || version == 4) << version;
  }
}

TEST(MilkshapeReader, RefusesAnotherIdentifier) {
  std::vector<uint8_t> bytes = Bytes(SmallModel());
  bytes[9] = '1';
  ModelData read;
  EXPECT_FALSE(Parse(bytes, read));
  EXPECT_FALSE(Parse({}, read));
}

TEST(MilkshapeReader, ModelWithoutGroupsLoadsEmptyOfMeshes) {
  ModelData model = SmallModel();
  model.meshes.clear();
  ModelData read;
  ASSERT_TRUE(Parse(Bytes(model), read));
  EXPECT_TRUE(read.meshes.empty());
  EXPECT_EQ(read.triangles.size(), 2u);
}

TEST(MilkshapeReader, MaterialByteFFMeansNoMaterial) {
  ModelData model = SmallModel();
  model.meshes[1].materialIndex = -1;
  const std::vector<uint8_t> bytes = Bytes(model);
  // The second group's material byte is the last byte before the materials.
  ASSERT_EQ(bytes[LayoutOf(model).materials - 1], 0xFF);
  ModelData read;
  ASSERT_TRUE(Parse(bytes, read));
  EXPECT_EQ(read.meshes[1].materialIndex, -1);
}

TEST(MilkshapeReader, LargestCountsAndIndicesStayUnsigned) {
  ModelData model;
  model.vertices.resize(65535);
  model.vertices[65534].location[0] = 7.0f;
  model.triangles.resize(65535);
  model.triangles[65534].vertexIndices[0] = 65534;
  model.triangles[40000].vertexIndices[1] = 40000;
  Mesh mesh;
  mesh.materialIndex = -1;
  for (int i = 0; i < 65535; ++i) mesh.triangleIndices.push_back(65534 - i);
  model.meshes.push_back(mesh);
  ModelData read;
  ASSERT_TRUE(Parse(Bytes(model), read));
  EXPECT_EQ(read.vertices.size(), 65535u);
  EXPECT_EQ(read.triangles.size(), 65535u);
  EXPECT_EQ(read.meshes[0].triangleIndices.size(), 65535u);
  EXPECT_EQ(read.meshes[0].triangleIndices.front(), 65534);
  EXPECT_EQ(read.triangles[65534].vertexIndices[0], 65534);
  EXPECT_EQ(read.triangles[40000].vertexIndices[1], 40000);
  EXPECT_FLOAT_EQ(read.vertices[65534].location[0], 7.0f);
}

// Every cut short of the end of the materials refuses the file; what
// follows the materials is not needed.
TEST(MilkshapeReader, RefusesEveryBlockThatRunsPastTheEnd) {
  const ModelData model = SmallModel();
  const std::vector<uint8_t> bytes = Bytes(model);
  const size_t end = LayoutOf(model).end;
  ASSERT_LT(end, bytes.size());
  for (size_t cut = 0; cut < end; ++cut) {
    ModelData read;
    EXPECT_FALSE(MilkshapeReader::parse(std::span(bytes.data(), cut), read)) << cut;
  }
  ModelData read;
  EXPECT_TRUE(MilkshapeReader::parse(std::span(bytes.data(), end), read));
}

TEST(MilkshapeReader, RefusesCountsLargerThanTheFile) {
  const ModelData model = SmallModel();
  const Layout layout = LayoutOf(model);
  for (size_t countAt : {layout.vertices, layout.triangles, layout.groups, layout.materials}) {
    std::vector<uint8_t> bytes = Bytes(model);
    Put16(bytes, countAt, 65535);
    ModelData read;
    EXPECT_FALSE(Parse(bytes, read)) << countAt;
  }
  std::vector<uint8_t> bytes = Bytes(model);
  Put16(bytes, layout.groups + 2 + 33, 65535);  // first group's triangle count
  ModelData read;
  EXPECT_FALSE(Parse(bytes, read));
}

TEST(MilkshapeReader, RefusesIndicesOutsideTheirTables) {
  const ModelData model = SmallModel();
  const Layout layout = LayoutOf(model);
  auto refused = [&](auto&& patch) {
    std::vector<uint8_t> bytes = Bytes(model);
    patch(bytes);
    ModelData read;
    return !Parse(bytes, read);
  };
  // A vertex index equal to the vertex count, and the largest one.
  EXPECT_TRUE(refused([&](auto& b) { Put16(b, layout.triangles + 2 + 2, 3); }));
  EXPECT_TRUE(refused([&](auto& b) { Put16(b, layout.triangles + 2 + 70 + 6, 65535); }));
  // A mesh's triangle index equal to the triangle count.
  EXPECT_TRUE(refused([&](auto& b) { Put16(b, layout.groups + 2 + 35, 2); }));
  // A material index equal to the material count, and below -1.
  EXPECT_TRUE(refused([&](auto& b) { b[layout.groups + 2 + 35 + 2] = 2; }));
  EXPECT_TRUE(refused([&](auto& b) { b[layout.groups + 2 + 35 + 2] = 0xFE; }));
  // In range they are taken.
  EXPECT_FALSE(refused([&](auto& b) { Put16(b, layout.triangles + 2 + 2, 2); }));
}

TEST(MilkshapeReader, RefusesTextureNameWithoutTerminator) {
  const ModelData model = SmallModel();
  std::vector<uint8_t> bytes = Bytes(model);
  const size_t name = LayoutOf(model).materials + 2 + 105;
  for (size_t i = 0; i < 128; ++i) bytes[name + i] = 'a';
  ModelData read;
  EXPECT_FALSE(Parse(bytes, read));
  bytes[name + 127] = 0;
  ASSERT_TRUE(Parse(bytes, read));
  EXPECT_EQ(read.materials[0].textureFilename, std::string(127, 'a'));
}

TEST(MilkshapeReader, RefusalLeavesTheModelAsItWas) {
  ModelData before = SmallModel();
  ModelData target = before;
  std::vector<uint8_t> bytes = Bytes(SmallModel());
  bytes.resize(LayoutOf(before).end - 1);
  EXPECT_FALSE(Parse(bytes, target));
  EXPECT_EQ(target.vertices.size(), before.vertices.size());
  EXPECT_EQ(target.materials[0].textureFilename, "skin.bmp");
}
