#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "protocol/ConfigFile.h"
#include "protocol/PorotocalRtkAnalyse.h"

namespace {

class ConfigFileTest : public ::testing::Test {
 protected:
  std::string Write(const std::string& content) {
    std::ofstream(path_, std::ios::binary) << content;
    return path_.string();
  }
  void TearDown() override { std::filesystem::remove(path_); }
  std::filesystem::path path_ =
      std::filesystem::temp_directory_path() / ("tavrik-config-" + std::to_string(::getpid()));
};

TEST_F(ConfigFileTest, FirstLineLosesOnlyAWholeCrLf) {
  auto lines = ReadConfigFile(Write("kemrtk\r\nzhengfu180"));
  ASSERT_TRUE(lines);
  EXPECT_EQ(lines->deviceVariant, "kemrtk");
  EXPECT_EQ(lines->headingConvention, "zhengfu180");

  lines = ReadConfigFile(Write("V3.11\nx"));
  EXPECT_EQ(lines->deviceVariant, "V3.11\n");
}

TEST_F(ConfigFileTest, ADirectoryIsNoConfiguration) {
  const auto dir =
      std::filesystem::temp_directory_path() / ("tavrik-config-dir-" + std::to_string(::getpid()));
  std::filesystem::create_directory(dir);
  errno = 0;
  EXPECT_FALSE(ReadConfigFile(dir.string()));
  EXPECT_EQ(errno, EISDIR);
  std::filesystem::remove(dir);
}

TEST_F(ConfigFileTest, SecondLineKeepsItsLineEnd) {
  CPorotocalRtkAnalyse analyser;
  auto lines = ReadConfigFile(Write("KDV1\r\nzhengfu180\r\n"));
  ASSERT_TRUE(lines);
  ApplyConfig(analyser, *lines);
  EXPECT_EQ(analyser.GetConfigLine2(), "zhengfu180\r\n");
  EXPECT_FALSE(analyser.HeadingIsSigned());

  ApplyConfig(analyser, *ReadConfigFile(Write("KDV1\r\nzhengfu180")));
  EXPECT_TRUE(analyser.HeadingIsSigned());
  EXPECT_EQ(analyser.GetConfigLine1(), "KDV1");
}

TEST_F(ConfigFileTest, ShortAndLongFiles) {
  auto lines = ReadConfigFile(Write("V7.1"));
  EXPECT_EQ(lines->deviceVariant, "V7.1");
  EXPECT_EQ(lines->headingConvention, "");
  lines = ReadConfigFile(Write("\r"));
  EXPECT_EQ(lines->deviceVariant, "\r");  // too short to hold a CR LF
  // A first line over 199 characters spills into line 2.
  lines = ReadConfigFile(Write(std::string(205, 'x') + "\r\nignored"));
  EXPECT_EQ(lines->deviceVariant.size(), 199u);
  EXPECT_EQ(lines->headingConvention, "xxxxxx\r\n");
  EXPECT_FALSE(ReadConfigFile("/nonexistent/tavrik/config"));
}

}  // namespace
