// The menu's launcher, run as the desktop runs it: a fresh environment with
// only PATH and HOME. It lies in a little installation of its own whose
// "tavrik" only notes where and how it was started.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tests/packaging/ScratchFolder.h"
#include "tests/packaging/ShellCommand.h"

namespace fs = std::filesystem;

namespace {

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

void WriteFile(const fs::path& path, const std::string& text) {
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}

void WriteProgram(const fs::path& path, const std::string& text) {
  WriteFile(path, text);
  fs::permissions(path, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                            fs::perms::others_read | fs::perms::others_exec);
}

// Stands in for the window: notes its working directory and arguments, and
// ends with an exit code of its own so the test sees it came through.
constexpr const char* kFakeProgram =
    "#!/bin/sh\n"
    "{ pwd -P; for word in \"$@\"; do printf '%s\\n' \"$word\"; done; } >\"$TAVRIK_TEST_RECORD\"\n"
    "exit 7\n";
constexpr int kFakeExitCode = 7;

using std::chrono::hours;

class Launcher : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(bin_);
    WriteProgram(bin_ / "tavrik-launch", ReadFile(TAVRIK_LAUNCHER));
    WriteProgram(bin_ / "tavrik", kFakeProgram);
    Ship("config.default", "KDV1\r\n");
    Ship("AEREO", "model 1");
    Ship("aereo.bmp", "BM skin 1");
    Ship("geo.mth", "<html>page 1</html>");
    Ship("geo/geo.js", "// page script 1");
    // Leaflet is installed as a link to the system's copy.
    WriteFile(scratch_ / "system" / "leaflet.js", "// leaflet");
    fs::create_symlink(scratch_ / "system" / "leaflet.js", shipped_ / "geo" / "leaflet.js");
    fs::create_directories(home_);
  }

  void Ship(const std::string& name, const std::string& text) {
    WriteFile(shipped_ / name, text);
    fs::last_write_time(shipped_ / name, installedTime_);
  }

  // Runs a launcher from the scratch folder with the given environment
  // (besides PATH and the record's path), as `launcher first 'second word'`.
  ShellCommand::Result Launch(const std::string& environment) {
    return LaunchThrough(bin_ / "tavrik-launch", environment);
  }
  ShellCommand::Result LaunchThrough(const fs::path& launcher, const std::string& environment) {
    fs::remove(record_);
    return ShellCommand::Run(
        "cd " + ShellCommand::Quote(scratch_.Path()) +
        " && env -i PATH=/usr/bin:/bin TAVRIK_TEST_RECORD=" + ShellCommand::Quote(record_) + " " +
        environment + " " + ShellCommand::Quote(launcher) + " first 'second word'");
  }
  std::string Home() const { return "HOME=" + ShellCommand::Quote(home_); }

  fs::path Work() const { return home_ / ".local" / "share" / "tavrik"; }
  std::vector<std::string> Record() const { return ShellCommand::Lines(ReadFile(record_)); }

  ScratchFolder scratch_;
  const fs::path bin_ = scratch_ / "prefix" / "bin";
  const fs::path shipped_ = (bin_ / TAVRIK_LAUNCH_DATA_FROM_BIN).lexically_normal();
  const fs::path home_ = scratch_ / "home";
  const fs::path record_ = scratch_ / "record";
  const fs::file_time_type installedTime_ = fs::file_time_type::clock::now() - hours(48);
};

TEST_F(Launcher, FirstStartCopiesTheInstalledFilesAndStartsTheProgramAmongThem) {
  const ShellCommand::Result run = Launch(Home());
  EXPECT_EQ(run.exitCode, kFakeExitCode) << run.output;
  EXPECT_EQ(Record(), (std::vector<std::string>{Work().string(), "first", "second word"}));

  EXPECT_EQ(ReadFile(Work() / "config"), "KDV1\r\n");
  for (const char* name : {"AEREO", "aereo.bmp", "geo.mth", "geo/geo.js"})
    EXPECT_EQ(ReadFile(Work() / name), ReadFile(shipped_ / name)) << name;
  // The page's server hands out only files that really lie in the working
  // directory, so Leaflet is copied, not linked.
  EXPECT_FALSE(fs::is_symlink(Work() / "geo" / "leaflet.js"));
  EXPECT_EQ(ReadFile(Work() / "geo" / "leaflet.js"), "// leaflet");
  EXPECT_FALSE(fs::exists(Work() / "config.default"));
}

TEST_F(Launcher, WritesConfigOnceAndNeverReplacesIt) {
  ASSERT_EQ(Launch(Home()).exitCode, kFakeExitCode);
  WriteFile(Work() / "config", "V7.1\r\nzhengfu180");
  // An upgrade brings a newer default: the user's own stays.
  WriteFile(shipped_ / "config.default", "KemRTK\r\n");
  fs::last_write_time(shipped_ / "config.default", installedTime_ + hours(24));
  ASSERT_EQ(Launch(Home()).exitCode, kFakeExitCode);
  EXPECT_EQ(ReadFile(Work() / "config"), "V7.1\r\nzhengfu180");

  // Even an empty one is the user's.
  WriteFile(Work() / "config", "");
  ASSERT_EQ(Launch(Home()).exitCode, kFakeExitCode);
  EXPECT_EQ(ReadFile(Work() / "config"), "");

  // Only a removed one comes back, from the default.
  fs::remove(Work() / "config");
  ASSERT_EQ(Launch(Home()).exitCode, kFakeExitCode);
  EXPECT_EQ(ReadFile(Work() / "config"), "KemRTK\r\n");
}

TEST_F(Launcher, ReplacesCopiesOnlyWithNewerInstalledFiles) {
  ASSERT_EQ(Launch(Home()).exitCode, kFakeExitCode);
  // The copies keep the installed files' time, so an upgrade built before
  // the first start still counts as newer.
  EXPECT_EQ(fs::last_write_time(Work() / "AEREO"), installedTime_);

  // An upgrade brings a newer model and page, but the user changed the page
  // after that upgrade was made; and the user removed the texture.
  Ship("AEREO", "model 2");
  fs::last_write_time(shipped_ / "AEREO", installedTime_ + hours(6));
  Ship("geo.mth", "<html>page 2</html>");
  fs::last_write_time(shipped_ / "geo.mth", installedTime_ + hours(6));
  WriteFile(Work() / "geo.mth", "<html>my page</html>");
  fs::last_write_time(Work() / "geo.mth", installedTime_ + hours(12));
  fs::remove(Work() / "aereo.bmp");

  ASSERT_EQ(Launch(Home()).exitCode, kFakeExitCode);
  EXPECT_EQ(ReadFile(Work() / "AEREO"), "model 2");
  EXPECT_EQ(ReadFile(Work() / "geo.mth"), "<html>my page</html>");
  EXPECT_EQ(ReadFile(Work() / "aereo.bmp"), "BM skin 1");
  EXPECT_EQ(ReadFile(Work() / "geo" / "geo.js"), "// page script 1");
}

TEST_F(Launcher, WorksInTheDataHomeWhenAnAbsoluteOneIsSet) {
  const fs::path dataHome = scratch_ / "data";
  ASSERT_EQ(Launch(Home() + " XDG_DATA_HOME=" + ShellCommand::Quote(dataHome)).exitCode,
            kFakeExitCode);
  ASSERT_FALSE(Record().empty());
  EXPECT_EQ(Record().front(), (dataHome / "tavrik").string());
  EXPECT_EQ(ReadFile(dataHome / "tavrik" / "AEREO"), "model 1");
  EXPECT_FALSE(fs::exists(Work()));

  // A relative one is no data home, as for the firmware image.
  ASSERT_EQ(Launch(Home() + " XDG_DATA_HOME=relative").exitCode, kFakeExitCode);
  ASSERT_FALSE(Record().empty());
  EXPECT_EQ(Record().front(), Work().string());
  EXPECT_FALSE(fs::exists(scratch_ / "relative"));
}

TEST_F(Launcher, FindsItsInstallationThroughALinkToIt) {
  fs::create_directories(scratch_ / "elsewhere");
  fs::create_symlink(bin_ / "tavrik-launch", scratch_ / "elsewhere" / "tavrik-launch");
  const ShellCommand::Result run = LaunchThrough(scratch_ / "elsewhere" / "tavrik-launch", Home());
  EXPECT_EQ(run.exitCode, kFakeExitCode) << run.output;
  EXPECT_EQ(ReadFile(Work() / "AEREO"), "model 1");
}

TEST_F(Launcher, StartsTheProgramNamedInTheEnvironmentInstead) {
  WriteProgram(scratch_ / "other program",
               "#!/bin/sh\n{ pwd -P; echo other; } >\"$TAVRIK_TEST_RECORD\"\n");
  const ShellCommand::Result run =
      Launch(Home() + " TAVRIK_LAUNCH_PROGRAM=" + ShellCommand::Quote(scratch_ / "other program"));
  EXPECT_EQ(run.exitCode, 0) << run.output;
  EXPECT_EQ(Record(), (std::vector<std::string>{Work().string(), "other"}));
}

TEST_F(Launcher, StartsNothingWithoutAHomeOrItsInstalledFiles) {
  ShellCommand::Result run = Launch("");
  EXPECT_NE(run.exitCode, 0);
  EXPECT_NE(run.output.find("HOME"), std::string::npos) << run.output;
  EXPECT_FALSE(fs::exists(record_));

  fs::remove(shipped_ / "config.default");
  run = Launch(Home());
  EXPECT_NE(run.exitCode, 0);
  EXPECT_NE(run.output.find((shipped_ / "config.default").string()), std::string::npos)
      << run.output;
  EXPECT_FALSE(fs::exists(record_));
  EXPECT_FALSE(fs::exists(Work()));
}

TEST_F(Launcher, NamesAFileItCannotCopyAndStillStartsTheProgram) {
  // Leaflet's package gone: its link dangles.
  fs::remove(scratch_ / "system" / "leaflet.js");
  const ShellCommand::Result run = Launch(Home());
  EXPECT_EQ(run.exitCode, kFakeExitCode) << run.output;
  EXPECT_NE(run.output.find("geo/leaflet.js"), std::string::npos) << run.output;
  EXPECT_FALSE(fs::exists(Work() / "geo" / "leaflet.js"));
  EXPECT_EQ(ReadFile(Work() / "AEREO"), "model 1");
  EXPECT_EQ(ReadFile(Work() / "config"), "KDV1\r\n");
  // Nothing half-copied is left behind.
  for (const auto& file : fs::recursive_directory_iterator(Work()))
    EXPECT_EQ(file.path().string().find("tavrik-launch."), std::string::npos) << file.path();
}

}  // namespace
