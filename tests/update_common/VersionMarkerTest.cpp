#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include "tests/update_common/TempDir.h"
#include "update/common/CUpdateFile.h"
#include "update/common/VersionMarker.h"

namespace {

std::optional<VersionMarker::Versions> findIn(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY);
  if (fd < 0) return std::nullopt;
  auto versions = VersionMarker::find(fd);
  ::close(fd);
  return versions;
}

}  // namespace

TEST(VersionMarker, OnlyWellFormedMarkersCount) {
  auto parsed = VersionMarker::parse(std::string("1.2.3.4 5.6.7.8") + '\0');
  ASSERT_TRUE(parsed);
  EXPECT_EQ(parsed->fileVersion, "1.2.3.4");
  EXPECT_EQ(parsed->productVersion, "5.6.7.8");
  EXPECT_EQ(VersionMarker::parse(std::string("01.2.3.4294967295 0.0.0.0") + '\0')->fileVersion,
            "1.2.3.4294967295");
  for (const std::string& bad :
       {std::string("1.2.3.4 5.6.7.8"), std::string("1.2.3 5.6.7.8\0", 14),
        std::string("1.2.3.4.5 5.6.7.8\0", 18), std::string("1.2.3.4294967296 5.6.7.8\0", 25),
        std::string("1.2.3.4  5.6.7.8\0", 17), std::string("\0", 1),
        std::string("a.b.c.d e.f.g.h\0", 16)}) {
    EXPECT_FALSE(VersionMarker::parse(bad)) << bad;
  }
}

TEST(VersionMarker, IsFoundAnywhereInALargeFile) {
  TempDir dir;
  // A false start first, then the marker straddling the reader's blocks.
  const std::string filler(256 * 1024 - 7, 'x');
  writeFile(dir.path() / "big", std::string(VersionMarker::kPrefix) + "9.9" + filler +
                                    VersionMarker::text("4.3.2.1", "4.3.0.0") + "end");
  const auto versions = findIn(dir / "big");
  ASSERT_TRUE(versions);
  EXPECT_EQ(versions->fileVersion, "4.3.2.1");
  EXPECT_EQ(versions->productVersion, "4.3.0.0");

  writeFile(dir.path() / "cut", std::string(VersionMarker::kPrefix) + "1.2.3.4 1.2.3.4");
  EXPECT_FALSE(findIn(dir / "cut"));
}

TEST(VersionMarker, TheBuildEmbedsTheProjectVersion) {
  CUpdateFile probe(TAVRIK_VERSION_PROBE);
  ASSERT_TRUE(probe.readLocalInfo());
  EXPECT_EQ(probe.fileVersion, TAVRIK_EXPECTED_VERSION);
  EXPECT_EQ(probe.productVersion, TAVRIK_EXPECTED_VERSION);
}
