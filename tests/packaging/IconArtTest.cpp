#include <gtest/gtest.h>

#include <QColor>
#include <QImage>

#include "tools/icon/TavrikIconArt.h"

namespace {

const int kSizes[] = {16, 22, 24, 32, 48, 64, 128, 256};

QColor At(const QImage& image, double x, double y) {
  return image.pixelColor(int(x), int(y));
}

// Close to the expected colour, allowing for the slight blending of
// antialiased edges nearby.
void ExpectNear(const QColor& seen, const QColor& expected, int size, const char* what) {
  const int tolerance = 40;
  EXPECT_NEAR(seen.red(), expected.red(), tolerance) << what << " at " << size;
  EXPECT_NEAR(seen.green(), expected.green(), tolerance) << what << " at " << size;
  EXPECT_NEAR(seen.blue(), expected.blue(), tolerance) << what << " at " << size;
  EXPECT_EQ(seen.alpha(), 255) << what << " at " << size;
}

}  // namespace

TEST(IconArt, IsASquareTransparentOutsideItsRoundedTile) {
  for (int size : kSizes) {
    const QImage icon = TavrikIconArt::Paint(size);
    ASSERT_EQ(icon.size(), QSize(size, size));
    EXPECT_EQ(icon.pixelColor(0, 0).alpha(), 0) << size;
    EXPECT_EQ(icon.pixelColor(size - 1, 0).alpha(), 0) << size;
    EXPECT_EQ(icon.pixelColor(0, size - 1).alpha(), 0) << size;
    EXPECT_EQ(icon.pixelColor(size - 1, size - 1).alpha(), 0) << size;
    // Inside the tile's rounded corner, outside the dial: the dark tile.
    const QColor tile = At(icon, size * 0.18, size * 0.18);
    EXPECT_EQ(tile.alpha(), 255) << size;
    EXPECT_LT(tile.value(), 100) << size;
  }
}

TEST(IconArt, ShowsSkyAboveGroundAndTheAircraftInTheMiddleAtEverySize) {
  for (int size : kSizes) {
    const QImage icon = TavrikIconArt::Paint(size);
    const double center = size / 2.0;
    const double reach = size * TavrikIconArt::kDialRadius * 0.6;
    // The bank turns the horizon about the centre, so straight above and
    // below the centre stay sky and ground.
    ExpectNear(At(icon, center, center - reach), TavrikIconArt::SkyColor(), size, "sky");
    ExpectNear(At(icon, center, center + reach), TavrikIconArt::GroundColor(), size, "ground");
    const QColor middle = At(icon, center, center);
    EXPECT_GT(middle.red(), 200) << size;
    EXPECT_GT(middle.green(), 130) << size;
    EXPECT_LT(middle.blue(), 90) << size;
  }
}
