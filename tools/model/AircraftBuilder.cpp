#include "AircraftBuilder.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "SurfaceBuilder.h"

namespace {

constexpr float kPi = std::numbers::pi_v<float>;
constexpr float kNoseZ = -5.0f;
constexpr float kBodyRadius = 0.62f;
constexpr float kTailRadius = 0.16f;

void setColour(float out[4], float r, float g, float b) {
  out[0] = r;
  out[1] = g;
  out[2] = b;
  out[3] = 1.0f;
}

// Where the picture's parts lie: the upper half wraps the fuselage, the
// lower half covers the wings and tailplane. t runs from the bottom.
TexCoord fuselageTex(float along, float around) {
  return {along, 1.0f - 0.5f * around};
}
TexCoord wingTex(float x, float z, float leadingZ, float chord, float span) {
  const float s = std::clamp(0.5f + x / span, 0.0f, 1.0f);
  const float down = std::clamp((z - leadingZ) / chord, 0.0f, 1.0f);
  return {s, 0.5f - 0.5f * down};
}

// Fuselage radius and the rise of its centre line along the length.
float bodyRadius(float u) {
  constexpr float kNoseEnd = 0.2f;
  constexpr float kTaperStart = 0.55f;
  if (u < kNoseEnd) {
    const float k = (kNoseEnd - u) / kNoseEnd;
    return kBodyRadius * std::sqrt(std::max(0.0f, 1.0f - k * k));
  }
  if (u < kTaperStart) return kBodyRadius;
  const float k = (u - kTaperStart) / (1.0f - kTaperStart);
  return kBodyRadius - (kBodyRadius - kTailRadius) * std::pow(k, 1.2f);
}
float bodyCentreY(float u) {
  return u > 0.6f ? 0.32f * std::pow((u - 0.6f) / 0.4f, 2.0f) : 0.0f;
}

// Symmetric aerofoil half-thickness (four-digit family), x along the chord.
float halfThickness(float x, float ratio) {
  return 5.0f * ratio *
         (0.2969f * std::sqrt(x) - 0.1260f * x - 0.3516f * x * x + 0.2843f * x * x * x -
          0.1036f * x * x * x * x);
}

struct Section {
  Vec3 leading;  // leading edge point; the chord runs along +z from it
  float chord;
};

// A wing-like surface between two sections: upper and lower skins and a
// closed tip. thickness is the unit direction the aerofoil grows in.
void addLiftingSurface(SurfaceBuilder& builder, Section root, Section tip, Vec3 thickness,
                       float ratio, const std::function<TexCoord(Vec3)>& tex) {
  auto point = [=](float u, float v, float side) {
    const float x = (1.0f - std::cos(kPi * u)) / 2.0f;
    const Vec3 leading = root.leading + (tip.leading - root.leading) * v;
    const float chord = root.chord + (tip.chord - root.chord) * v;
    return leading + Vec3{0, 0, chord * x} + thickness * (side * halfThickness(x, ratio) * chord);
  };
  for (float side : {1.0f, -1.0f}) {
    builder.addPatch(
        10, 6, [=](float u, float v) { return point(u, v, side); },
        [=](float u, float v) { return tex(point(u, v, side)); },
        [=](float, float) { return thickness * side; });
  }
  std::vector<Vec3> outline;
  for (int k = 0; k <= 10; ++k) outline.push_back(point(k / 10.0f, 1.0f, 1.0f));
  for (int k = 9; k >= 1; --k) outline.push_back(point(k / 10.0f, 1.0f, -1.0f));
  const Vec3 chord{0, 0, 1};
  Vec3 outward = (tip.leading - root.leading);
  outward = (outward - chord * outward.dot(chord)).normalised();
  builder.addCap(outline, outward, tex(tip.leading));
}

void addFuselage(SurfaceBuilder& builder) {
  auto point = [](float u, float v) {
    const float r = bodyRadius(u);
    const float angle = 2.0f * kPi * v;
    return Vec3{r * std::sin(angle), bodyCentreY(u) + 1.1f * r * std::cos(angle),
                kNoseZ + AircraftBuilder::kLength * u};
  };
  builder.addPatch(
      36, 28, point, [](float u, float v) { return fuselageTex(u, v); },
      [](float, float v) {
        return Vec3{std::sin(2.0f * kPi * v), std::cos(2.0f * kPi * v), 0.0f};
      });
  std::vector<Vec3> tail;
  for (int k = 0; k < 28; ++k) tail.push_back(point(1.0f, k / 28.0f));
  builder.addCap(tail, {0, 0, 1}, fuselageTex(0.995f, 0.25f));
}

void addWings(SurfaceBuilder& builder) {
  const float dihedral = std::tan(4.0f * kPi / 180.0f);
  constexpr float kRootLeading = -1.0f, kRootChord = 2.6f;
  auto tex = [=](Vec3 p) {
    return wingTex(p.x, p.z, kRootLeading, kRootChord, AircraftBuilder::kSpan);
  };
  for (float side : {1.0f, -1.0f}) {
    const Section root{{0.4f * side, -0.3f, kRootLeading}, kRootChord};
    const float tipX = AircraftBuilder::kSpan / 2.0f;
    const Section tip{{tipX * side, -0.3f + (tipX - 0.4f) * dihedral, 0.45f}, 1.0f};
    addLiftingSurface(builder, root, tip, {0, 1, 0}, 0.12f, tex);
  }
}

void addTailplane(SurfaceBuilder& builder) {
  constexpr float kRootLeading = 3.3f, kRootChord = 1.5f;
  auto tex = [=](Vec3 p) { return wingTex(p.x, p.z, kRootLeading, kRootChord, 11.0f); };
  for (float side : {1.0f, -1.0f}) {
    const Section root{{0.1f * side, 0.25f, kRootLeading}, kRootChord};
    const Section tip{{2.3f * side, 0.3f, 4.15f}, 0.7f};
    addLiftingSurface(builder, root, tip, {0, 1, 0}, 0.10f, tex);
  }
}

void addFin(SurfaceBuilder& builder) {
  const Section root{{0.0f, 0.35f, 2.7f}, 2.2f};
  const Section tip{{0.0f, 2.5f, 4.25f}, 0.8f};
  addLiftingSurface(builder, root, tip, {1, 0, 0}, 0.09f, [](Vec3) { return TexCoord{}; });
}

void addCanopy(SurfaceBuilder& builder) {
  constexpr float kCentreZ = -2.3f, kHalfLength = 1.25f;
  constexpr float kHalfWidth = 0.4f, kHeight = 0.5f, kBaseY = 0.55f;
  auto point = [=](float u, float v) {
    const float along = kPi * u;
    const float around = kPi * v;
    const float ring = std::sin(along);
    return Vec3{kHalfWidth * ring * std::cos(around), kBaseY + kHeight * ring * std::sin(around),
                kCentreZ - kHalfLength * std::cos(along)};
  };
  builder.addPatch(
      12, 12, point, [](float, float) { return TexCoord{}; },
      [=](float u, float v) {
        const Vec3 p = point(u, v);
        return Vec3{p.x / (kHalfWidth * kHalfWidth), (p.y - kBaseY) / (kHeight * kHeight),
                    (p.z - kCentreZ) / (kHalfLength * kHalfLength)};
      });
}

}  // namespace

AircraftBuilder::Result AircraftBuilder::build(const std::string& textureName) {
  Result result;
  SurfaceBuilder builder(result.model);

  Material skin;
  setColour(skin.ambient, 0.55f, 0.55f, 0.55f);
  setColour(skin.diffuse, 0.9f, 0.9f, 0.9f);
  setColour(skin.specular, 0.3f, 0.3f, 0.3f);
  setColour(skin.emissive, 0.12f, 0.12f, 0.12f);
  skin.shininess = 30.0f;
  skin.textureFilename = textureName;
  const int skinIndex = builder.addMaterial(skin);

  Material paint;
  setColour(paint.ambient, 0.6f, 0.1f, 0.1f);
  setColour(paint.diffuse, 0.8f, 0.12f, 0.1f);
  setColour(paint.specular, 0.4f, 0.4f, 0.4f);
  setColour(paint.emissive, 0.22f, 0.04f, 0.04f);
  paint.shininess = 40.0f;
  const int paintIndex = builder.addMaterial(paint);

  Material glass;
  setColour(glass.ambient, 0.05f, 0.08f, 0.14f);
  setColour(glass.diffuse, 0.12f, 0.2f, 0.35f);
  setColour(glass.specular, 0.9f, 0.9f, 0.9f);
  setColour(glass.emissive, 0.02f, 0.03f, 0.06f);
  glass.shininess = 90.0f;
  const int glassIndex = builder.addMaterial(glass);

  builder.beginMesh(skinIndex);
  addFuselage(builder);
  builder.beginMesh(skinIndex);
  addWings(builder);
  builder.beginMesh(skinIndex);
  addTailplane(builder);
  builder.beginMesh(paintIndex);
  addFin(builder);
  builder.beginMesh(glassIndex);
  addCanopy(builder);

  result.names.groups = {"fuselage", "wings", "tailplane", "fin", "canopy"};
  result.names.materials = {"skin", "paint", "glass"};
  return result;
}
