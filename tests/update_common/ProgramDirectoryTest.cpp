#include <gtest/gtest.h>

#include "tests/update_common/TempDir.h"
#include "update/common/ProgramDirectory.h"

namespace fs = std::filesystem;

TEST(ProgramDirectory, IsWhereTheRunningExecutableLies) {
  const std::string directory = ProgramDirectory::ofRunningExecutable();
  ASSERT_FALSE(directory.empty());
  EXPECT_TRUE(fs::exists(fs::path(directory) / "update_common_tests"));
}

TEST(ProgramDirectory, SystemTreesAreLeftToThePackageManager) {
  EXPECT_TRUE(ProgramDirectory::leftToPackageManager("/usr/bin"));
  EXPECT_TRUE(ProgramDirectory::leftToPackageManager("/usr/lib/tavrik"));
  EXPECT_TRUE(ProgramDirectory::leftToPackageManager("/bin"));
  EXPECT_TRUE(ProgramDirectory::leftToPackageManager(""));
  TempDir dir;
  EXPECT_FALSE(ProgramDirectory::leftToPackageManager(dir.path().string()));
  fs::create_directory_symlink("/usr/bin", dir.path() / "looks-local");
  EXPECT_TRUE(ProgramDirectory::leftToPackageManager(dir / "looks-local"));
  EXPECT_TRUE(ProgramDirectory::leftToPackageManager(dir / "not-there"));
}
