#include <gtest/gtest.h>
#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "protocol/HexText.h"
#include "tests/protocol/TestFrames.h"
#include "tools/makelog/DemoLog.h"

namespace fs = std::filesystem;

namespace {

struct ToolRun {
  int exitCode;
  std::string out;
};

ToolRun RunTool(const std::string& args, const fs::path& cwd) {
  const std::string command =
      "cd '" + cwd.string() + "' && '" TAVRIK_CONVERT_BIN "' " + args + " 2>&1";
  ToolRun run{-1, {}};
  std::FILE* pipe = ::popen(command.c_str(), "r");
  if (!pipe) return run;
  std::array<char, 4096> buffer;
  size_t n;
  while ((n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
    run.out.append(buffer.data(), n);
  const int status = ::pclose(pipe);
  run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

std::string ReadFile(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

class ConvertTool : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("tavrik-convert-" + std::to_string(::getpid()));
    fs::create_directories(dir_);
    NavSample s = FullSample();
    s.yaw = 359.0;  // reads as 359 unsigned; the same bytes signed read as -296.36
    std::vector<uint8_t> bytes;
    Append(bytes, BuildFrame120(s));
    Append(bytes, BuildFrame120(s));
    std::ofstream(dir_ / "in.txt", std::ios::binary) << ToHexText(bytes.data(), bytes.size());
  }
  void TearDown() override { fs::remove_all(dir_); }
  fs::path dir_;
};

TEST_F(ConvertTool, WritesTheChosenGroupsInTheirFixedOrder) {
  const ToolRun run = RunTool("-c time,att in.txt out.txt", dir_);
  ASSERT_EQ(run.exitCode, 0) << run.out;
  const std::string row = "12.34000  -45.67000  359.00000  0\r\n";
  EXPECT_EQ(ReadFile(dir_ / "out.txt"),
            "Pitch(\xA1\xE3)  Roll(\xA1\xE3)  Yaw(\xA1\xE3)  TimeStamp\r\n" + row + row);
}

TEST_F(ConvertTool, TakesTheHeadingConventionFromTheConfigFile) {
  std::ofstream(dir_ / "config", std::ios::binary) << "V3.11\r\nzhengfu180";
  ToolRun run = RunTool("-c att in.txt -", dir_);
  ASSERT_EQ(run.exitCode, 0) << run.out;
  EXPECT_NE(run.out.find("-296.36000  \r\n"), std::string::npos) << run.out;

  std::ofstream(dir_ / "other", std::ios::binary) << "V3.11\r\nzhengfu180\r\n";
  run = RunTool("--config other -c att in.txt -", dir_);
  ASSERT_EQ(run.exitCode, 0) << run.out;
  EXPECT_NE(run.out.find("359.00000  \r\n"), std::string::npos) << run.out;
}

TEST_F(ConvertTool, BadArgumentsAndFilesGiveTheirExitCodes) {
  ToolRun run = RunTool("in.txt", dir_);
  EXPECT_EQ(run.exitCode, 2);
  EXPECT_NE(run.out.find("usage:"), std::string::npos);
  EXPECT_EQ(RunTool("-c vel,wind in.txt out.txt", dir_).exitCode, 2);
  EXPECT_EQ(RunTool("--bogus in.txt out.txt", dir_).exitCode, 2);

  run = RunTool("missing.txt out.txt", dir_);
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_NE(run.out.find("missing.txt"), std::string::npos);
  run = RunTool("in.txt no/such/dir/out.txt", dir_);
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_NE(run.out.find("no/such/dir/out.txt"), std::string::npos);
  run = RunTool("--config nothere in.txt out.txt", dir_);
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_NE(run.out.find("nothere"), std::string::npos);
}

TEST_F(ConvertTool, AnOutputThatIsTheInputIsRefusedAndTheLogKept) {
  const std::string log = ReadFile(dir_ / "in.txt");
  fs::create_symlink(dir_ / "in.txt", dir_ / "link.txt");
  fs::create_hard_link(dir_ / "in.txt", dir_ / "hard.txt");
  for (const char* output : {"in.txt", "./in.txt", "link.txt", "hard.txt"}) {
    const ToolRun run = RunTool(std::string("in.txt ") + output, dir_);
    EXPECT_EQ(run.exitCode, 1) << output;
    EXPECT_NE(run.out.find("input itself"), std::string::npos) << run.out;
    EXPECT_EQ(ReadFile(dir_ / "in.txt"), log) << output;
  }
}

TEST_F(ConvertTool, NothingIsCreatedBeforeTheInputAndConfigurationAreReadable) {
  EXPECT_EQ(RunTool("missing.txt out.txt", dir_).exitCode, 1);
  EXPECT_FALSE(fs::exists(dir_ / "out.txt"));
  fs::create_directory(dir_ / "adir");
  EXPECT_EQ(RunTool("adir out.txt", dir_).exitCode, 1);
  EXPECT_FALSE(fs::exists(dir_ / "out.txt"));
  ToolRun run = RunTool("--config adir in.txt out.txt", dir_);
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_NE(run.out.find("adir"), std::string::npos) << run.out;
  EXPECT_FALSE(fs::exists(dir_ / "out.txt"));
  // A ./config that is a directory cannot be read either.
  fs::create_directory(dir_ / "config");
  EXPECT_EQ(RunTool("in.txt out.txt", dir_).exitCode, 1);
  EXPECT_NE(RunTool("", dir_).out.find("./config is read"), std::string::npos);
}

TEST_F(ConvertTool, EndsWithASummaryAndWarnsWhenThereWasNoFrame) {
  ToolRun run = RunTool("in.txt out.txt", dir_);
  ASSERT_EQ(run.exitCode, 0);
  EXPECT_NE(run.out.find("2 rows written, 0 frames failed their check, 0 bytes skipped"),
            std::string::npos)
      << run.out;
  EXPECT_EQ(run.out.find("warning"), std::string::npos);
  std::ofstream(dir_ / "text.txt", std::ios::binary) << "hello, no frames here\r\n";
  run = RunTool("text.txt out.txt", dir_);
  ASSERT_EQ(run.exitCode, 0);
  EXPECT_NE(run.out.find("0 rows written"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("warning: the input held no frame at all"), std::string::npos);
}

TEST_F(ConvertTool, AFullDiskIsAnErrorNotASuccess) {
  if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full here";
  const ToolRun run = RunTool("in.txt /dev/full", dir_);
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_NE(run.out.find("/dev/full"), std::string::npos);
}

}  // namespace
