#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <thread>
#include <vector>

#include "tests/update_common/TempDir.h"
#include "tests/update_common/WaitForFile.h"
#include "update/common/Sha256.h"
#include "update/common/UpdateInstaller.h"

namespace fs = std::filesystem;

namespace {

unsigned modeOf(const fs::path& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 ? info.st_mode & 07777 : 0;
}

class Installing : public ::testing::Test {
 protected:
  UpdateInstaller::Request request(const std::string& name) {
    UpdateInstaller::Request r;
    r.localPath = dir / name;
    r.name = name;
    return r;
  }
  bool logged(const std::string& line) const {
    return std::find(log.begin(), log.end(), line) != log.end();
  }

  TempDir dir;
  std::vector<std::string> log;
  UpdateInstaller installer{[this](const std::string& text) { log.push_back(text); }};
};

}  // namespace

TEST_F(Installing, TheDownloadReplacesTheOldFileAndKeepsItsPermissions) {
  writeFile(dir.path() / "tool", "old");
  ::chmod((dir / "tool").c_str(), 0750);
  writeFile(dir.path() / "tool.update", "new contents");
  ::chmod((dir / "tool.update").c_str(), 0600);
  ASSERT_TRUE(installer.finishDownload(request("tool")));
  EXPECT_EQ(readFile(dir.path() / "tool"), "new contents");
  EXPECT_EQ(modeOf(dir.path() / "tool"), 0750u);
  EXPECT_FALSE(fs::exists(dir.path() / "tool.update"));
  EXPECT_EQ(log, std::vector<std::string>{"下载文件成功 [tool]"});
}

TEST_F(Installing, AFileThatCannotBeDeletedKeepsTheDownload) {
  // A directory in the file's place cannot be unlinked, not even by root.
  fs::create_directories(dir.path() / "busy" / "inside");
  writeFile(dir.path() / "busy.update", "new");
  EXPECT_FALSE(installer.finishDownload(request("busy")));
  EXPECT_EQ(log, std::vector<std::string>{"删除文件失败 [busy]"});
  EXPECT_EQ(readFile(dir.path() / "busy.update"), "new");
  EXPECT_TRUE(fs::is_directory(dir.path() / "busy" / "inside"));
}

TEST_F(Installing, AMissingDownloadFailsTheRename) {
  EXPECT_FALSE(installer.finishDownload(request("ghost")));
  EXPECT_EQ(log, std::vector<std::string>{"重命名文件失败 [ghost]"});
}

TEST_F(Installing, ExecuteStartsTheInstalledFileWithItsParameters) {
  writeFile(dir.path() / "hello.sh.update",
            "#!/bin/sh\n"
            "out=\"$(dirname \"$0\")/args\"\n"
            "for a in \"$@\"; do printf '%s\\n' \"$a\"; done > \"$out.part\"\n"
            "mv \"$out.part\" \"$out\"\n");
  ::chmod((dir / "hello.sh.update").c_str(), 0644);
  UpdateInstaller::Request r = request("hello.sh");
  r.execute = true;
  r.executeParameters = "one \"two words\" 'three $HOME' ; touch nothing";
  ASSERT_TRUE(installer.finishDownload(r));
  EXPECT_EQ(modeOf(dir.path() / "hello.sh") & 0111, 0111u);  // new and started: executable
  ASSERT_TRUE(waitForFile(dir.path() / "args"));
  EXPECT_EQ(readFile(dir.path() / "args"), "one\ntwo words\nthree $HOME\n;\ntouch\nnothing\n");
  EXPECT_FALSE(fs::exists(dir.path() / "nothing"));
  EXPECT_EQ(log, std::vector<std::string>{"下载文件成功 [hello.sh]"});
}

TEST_F(Installing, ParametersThatDoNotSplitStartNothing) {
  writeFile(dir.path() / "x.sh.update", "#!/bin/sh\ntouch \"$(dirname \"$0\")/ran\"\n");
  UpdateInstaller::Request r = request("x.sh");
  r.execute = true;
  r.executeParameters = "'unclosed";
  ASSERT_TRUE(installer.finishDownload(r));
  EXPECT_TRUE(logged("启动文件失败 [x.sh]"));
  EXPECT_FALSE(fs::exists(dir.path() / "ran"));
}

TEST_F(Installing, RegisterIsOnlyNoted) {
  writeFile(dir.path() / "server.dll.update", "dll");
  UpdateInstaller::Request r = request("server.dll");
  r.registerFile = true;
  ASSERT_TRUE(installer.finishDownload(r));
  EXPECT_EQ(log, (std::vector<std::string>{"下载文件成功 [server.dll]",
                                           "跳过注册 [server.dll]：此系统没有组件注册"}));
}

TEST_F(Installing, ADownloadNotMatchingItsDigestIsRemoved) {
  writeFile(dir.path() / "lib.so", "trusted");
  writeFile(dir.path() / "lib.so.update", "altered");
  UpdateInstaller::Request r = request("lib.so");
  r.sha256 = Sha256::ofBytes("original");
  EXPECT_FALSE(installer.finishDownload(r));
  EXPECT_EQ(log, std::vector<std::string>{"文件校验失败 [lib.so]"});
  EXPECT_EQ(readFile(dir.path() / "lib.so"), "trusted");
  EXPECT_FALSE(fs::exists(dir.path() / "lib.so.update"));

  log.clear();
  r.sha256 = "not hex at all";
  writeFile(dir.path() / "lib.so.update", "altered");
  EXPECT_FALSE(installer.finishDownload(r));
  EXPECT_EQ(log, std::vector<std::string>{"文件校验失败 [lib.so]"});
}

TEST_F(Installing, AMatchingDigestInAnyCaseInstalls) {
  writeFile(dir.path() / "lib.so.update", "original");
  UpdateInstaller::Request r = request("lib.so");
  r.sha256 = Sha256::ofBytes("original");
  for (char& c : r.sha256) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  r.sha256 = "  " + r.sha256 + "\n";
  ASSERT_TRUE(installer.finishDownload(r));
  EXPECT_EQ(readFile(dir.path() / "lib.so"), "original");
}

TEST(Sha256, KnownDigests) {
  EXPECT_EQ(Sha256::ofBytes("abc"),
            "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
  TempDir dir;
  writeFile(dir.path() / "empty", "");
  EXPECT_EQ(Sha256::ofFile(dir / "empty"),
            "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
  EXPECT_FALSE(Sha256::ofFile(dir / "missing"));
  EXPECT_FALSE(Sha256::matches("", Sha256::ofBytes("")));
}
