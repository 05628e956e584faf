#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <utility>
#include <vector>

#include "tests/update_common/FileListXml.h"
#include "tests/update_common/TempDir.h"
#include "update/common/FileTime.h"
#include "update/common/UpdateFileList.h"
#include "update/common/VersionMarker.h"

namespace fs = std::filesystem;

namespace {

using Children = FileListChildren;

std::string entry(const Children& children) {
  return fileListEntry(children);
}
std::string list(const std::vector<std::string>& entries) {
  return fileList(entries);
}

// An installed program with its embedded version, between other bytes.
void writeProgram(const fs::path& path, const std::string& version) {
  writeFile(path, std::string(5000, '\x7f') + VersionMarker::text(version, version) + "tail");
}

void setModified(const fs::path& path, uint64_t fileTime) {
  const uint64_t since1970 = fileTime - FileTime::kUnixEpoch;
  timespec times[2];
  times[0].tv_sec = times[1].tv_sec = static_cast<time_t>(since1970 / 10000000ULL);
  times[0].tv_nsec = times[1].tv_nsec = static_cast<long>(since1970 % 10000000ULL) * 100;
  ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
}

// Loads a list of one entry and tells whether it is to be downloaded.
class NeedsUpdate : public ::testing::Test {
 protected:
  bool listedAndNeeded(const Children& children) {
    UpdateFileList files(dir.path().string());
    EXPECT_TRUE(files.loadFromXmlText(list({entry(children)})));
    EXPECT_EQ(files.size(), 1u);
    return files.pruneAndCount() == 1;
  }
  TempDir dir;
};

}  // namespace

TEST(UpdateFileList, ReadsEveryFileElementBelowTheRoot) {
  TempDir dir;
  UpdateFileList files(dir.path().string());
  const std::string xml =
      "<Root><File><FileName>a.bin</FileName></File>"
      "<Group><Deeper><File><FileName>b.bin</FileName></File></Deeper></Group>"
      "<file><FileName>lower-case element is no entry</FileName></file>"
      "<!-- <File><FileName>commented</FileName></File> -->"
      "<File><FileName>c.bin</FileName></File></Root>";
  ASSERT_TRUE(files.loadFromXmlText(xml));
  std::vector<std::string> names;
  while (auto next = files.takeNext()) names.push_back(next->fileName);
  EXPECT_EQ(names, (std::vector<std::string>{"a.bin", "b.bin", "c.bin"}));
}

TEST(UpdateFileList, ChildrenAreMatchedWithoutCaseAndTheLastOneWins) {
  TempDir dir;
  UpdateFileList files(dir.path().string());
  const std::string xml = list(
      {"<File><FILENAME>first.bin</FILENAME><filename>tool.bin</filename>"
       "<fileversion> 2.3.4.5 </fileversion><productVersion>9.9</productVersion>"
       "<LENGTH>5000000000</LENGTH><FileDateLow>4294967295</FileDateLow>"
       "<FileDateHigh>30000000x</FileDateHigh><Register>yes</Register><EXECUTE>Yes</EXECUTE>"
       "<ExecutePar>--quiet 'a "
       "b'</ExecutePar><ZipFile>YES</ZipFile><ForceOverwrite>no</ForceOverwrite>"
       "<Url>https://example.invalid/tool.bin</Url><UserName>u</UserName><Password>p</Password>"
       "<sha256>ABCDEF</sha256><Other>ignored</Other>text between<!-- note --></File>"});
  ASSERT_TRUE(files.loadFromXmlText(xml));
  const std::unique_ptr<CUpdateFile> file = files.takeNext();
  ASSERT_TRUE(file);
  EXPECT_EQ(file->fileName, "tool.bin");
  EXPECT_EQ(file->fileVersion, "2.3.4.5");
  EXPECT_EQ(file->productVersion, "9.9");
  EXPECT_EQ(file->length, 5000000000LL);
  EXPECT_EQ(file->fileDate, FileTime::fromHalves(0xFFFFFFFFu, 30000000u));
  EXPECT_TRUE(file->registerFile);
  EXPECT_TRUE(file->execute);
  EXPECT_EQ(file->executeParameters, "--quiet 'a b'");
  EXPECT_TRUE(file->zipFile);
  EXPECT_FALSE(file->forceOverwrite);
  EXPECT_EQ(file->url, "https://example.invalid/tool.bin");
  EXPECT_EQ(file->userName, "u");
  EXPECT_EQ(file->password, "p");
  EXPECT_EQ(file->sha256, "ABCDEF");
  EXPECT_EQ(file->installDir, "CURRENTDIR");
  EXPECT_EQ(file->fullPath, dir / "tool.bin");
}

TEST(UpdateFileList, DefaultsAndOddNumbers) {
  TempDir dir;
  UpdateFileList files(dir.path().string());
  ASSERT_TRUE(files.loadFromXmlText(list({entry({{"FileName", "x"},
                                                 {"Length", "-12"},
                                                 {"FileDateHigh", "99999999999"},
                                                 {"Register", "Y"},
                                                 {"Execute", "YESS"}})})));
  const std::unique_ptr<CUpdateFile> file = files.takeNext();
  ASSERT_TRUE(file);
  EXPECT_EQ(file->length, 0);
  EXPECT_EQ(file->fileDate >> 32, 0xFFFFFFFFu);
  EXPECT_FALSE(file->registerFile);
  EXPECT_FALSE(file->execute);
  EXPECT_TRUE(file->fileVersion.empty());
}

TEST(UpdateFileList, InstallDirAndLocalPathPlaceTheFile) {
  TempDir dir;
  UpdateFileList files(dir.path().string());
  ASSERT_TRUE(files.loadFromXmlText(list({
      entry({{"FileName", "a.dll"}, {"InstallDir", "windowsdir"}}),
      entry({{"FileName", "b.dll"}, {"InstallDir", "systemdir"}}),
      entry({{"FileName", "c.cfg"}, {"LocalPath", "data"}}),
      entry({{"FileName", "d.cfg"}, {"LocalPath", "data\\sub"}, {"InstallDir", "ANYWHERE"}}),
      entry({{"FileName", "sub/e.cfg"}}),
  })));
  std::vector<std::string> paths;
  while (auto next = files.takeNext()) paths.push_back(next->fullPath);
  EXPECT_EQ(paths, (std::vector<std::string>{dir / "a.dll", dir / "b.dll", dir / "data/c.cfg",
                                             dir / "data/sub/d.cfg", dir / "sub/e.cfg"}));
}

TEST(UpdateFileList, EveryWayOutOfTheProgramDirectoryIsRefused) {
  TempDir dir;
  const fs::path program = dir.path() / "program";
  const fs::path outside = dir.path() / "outside";
  fs::create_directories(program);
  fs::create_directories(outside);
  writeFile(outside / "target", "keep");
  fs::create_directory_symlink(outside, program / "linkdir");
  fs::create_symlink(outside / "target", program / "linkfile");
  fs::create_directory_symlink(dir.path() / "nowhere", program / "dangling");
  UpdateFileList files(program.string());
  std::vector<UpdateFileList::Refusal> all;
  ASSERT_TRUE(
      files.loadFromXmlText(list({
                                entry({{"FileName", "/etc/passwd"}}),
                                entry({{"FileName", "x"}, {"LocalPath", "/tmp"}}),
                                entry({{"FileName", "../outside/target"}}),
                                entry({{"FileName", "x"}, {"LocalPath", "data/../../outside"}}),
                                entry({{"FileName", "..\\outside\\target"}}),
                                entry({{"FileName", "x"}, {"LocalPath", "..\\outside"}}),
                                entry({{"FileName", "C:\\Windows\\evil.dll"}}),
                                entry({{"FileName", "x"}, {"LocalPath", "linkdir"}}),
                                entry({{"FileName", "linkfile"}}),
                                entry({{"FileName", "x"}, {"LocalPath", "dangling"}}),
                                entry({{"FileName", "a.dll"}, {"InstallDir", "WINDOWSDIR"}}),
                                entry({{"FileName", "b.dll"}, {"InstallDir", "SYSTEMDIR"}}),
                                entry({{"FileName", ""}}),
                                entry({{"FileName", "dir/"}}),
                                entry({{"LocalPath", "data"}}),
                                entry({{"FileName", "fine.bin"}}),
                            }),
                            &all));
  EXPECT_EQ(files.size(), 1u);
  EXPECT_EQ(all.size(), 15u);
  std::vector<UpdateFileList::Refusal> refusals;
  ASSERT_TRUE(files.loadFromXmlText(
      list({entry({{"FileName", "../x"}}), entry({{"FileName", "x"}, {"LocalPath", "linkdir"}}),
            entry({{"FileName", "c"}, {"InstallDir", "SYSTEMDIR"}}),
            entry({{"FileName", "fine.bin"}})}),
      &refusals));
  ASSERT_EQ(files.size(), 1u);
  ASSERT_EQ(refusals.size(), 3u);
  EXPECT_EQ(refusals[0].fileName, "../x");
  EXPECT_EQ(refusals[0].reason, "路径含有“..”");
  EXPECT_EQ(refusals[1].reason, "路径指向程序目录之外");
  EXPECT_EQ(refusals[2].reason, "安装目录 SYSTEMDIR 在此系统上不存在");
  EXPECT_EQ(files.takeNext()->fullPath, (program / "fine.bin").string());
  EXPECT_EQ(readFile(outside / "target"), "keep");
}

TEST(UpdateFileList, TheFirstLoadAlsoRefusedAllButOne) {
  TempDir dir;
  UpdateFileList files(dir.path().string());
  std::vector<UpdateFileList::Refusal> refusals;
  ASSERT_TRUE(files.loadFromXmlText(
      list({entry({{"FileName", "/abs"}}), entry({{"FileName", "ok"}, {"LocalPath", "/abs"}})}),
      &refusals));
  EXPECT_EQ(files.size(), 0u);
  ASSERT_EQ(refusals.size(), 2u);
  EXPECT_EQ(refusals[0].reason, "路径是绝对路径");
  EXPECT_EQ(refusals[1].fileName, "ok");
}

TEST(UpdateFileList, WhatIsNotXmlLoadsNothing) {
  TempDir dir;
  UpdateFileList files(dir.path().string());
  ASSERT_TRUE(files.loadFromXmlText(list({entry({{"FileName", "a"}})})));
  EXPECT_FALSE(files.loadFromXmlText("<UpdateList><File><FileName>a</FileName></Fil"));
  EXPECT_EQ(files.size(), 0u);
  EXPECT_FALSE(files.loadFromXml(dir / "missing.xml"));
  writeFile(dir.path() / "list.xml", list({entry({{"FileName", "a"}})}));
  EXPECT_TRUE(files.loadFromXml(dir / "list.xml"));
  EXPECT_EQ(files.size(), 1u);
  files.clear();
  EXPECT_EQ(files.size(), 0u);
}

TEST(UpdateFileList, PruningKeepsTheNewerFilesAndSumsTheirLengths) {
  TempDir dir;
  writeProgram(dir.path() / "old.bin", "1.0.0.9");
  writeProgram(dir.path() / "current.bin", "2.0.0.0");
  UpdateFileList files(dir.path().string());
  ASSERT_TRUE(files.loadFromXmlText(list({
      entry({{"FileName", "old.bin"}, {"FileVersion", "1.0.0.10"}, {"Length", "3072"}}),
      entry({{"FileName", "current.bin"}, {"FileVersion", "2.0"}, {"Length", "100000"}}),
      entry({{"FileName", "new.bin"}, {"FileVersion", "0.0.0.1"}, {"Length", "2048"}}),
  })));
  EXPECT_EQ(files.pruneAndCount(), 2);
  EXPECT_EQ(files.totalLength(), 5120);
  EXPECT_EQ(files.takeNext()->fileName, "old.bin");
  EXPECT_EQ(files.takeNext()->fileName, "new.bin");
  EXPECT_FALSE(files.takeNext());
}

TEST_F(NeedsUpdate, VersionsCompareAsNumbers) {
  writeProgram(dir.path() / "nine.exe", "1.0.0.9");
  writeProgram(dir.path() / "ten.exe", "1.0.0.10");
  EXPECT_TRUE(listedAndNeeded({{"FileName", "nine.exe"}, {"FileVersion", "1.0.0.10"}}));
  EXPECT_FALSE(listedAndNeeded({{"FileName", "ten.exe"}, {"FileVersion", "1.0.0.9"}}));
  EXPECT_FALSE(listedAndNeeded({{"FileName", "ten.exe"}, {"FileVersion", "1.0.0.10"}}));
  EXPECT_FALSE(listedAndNeeded({{"FileName", "ten.exe"}, {"FileVersion", "1.0"}}));
}

TEST_F(NeedsUpdate, AFileNotInstalledIsAlwaysDownloaded) {
  EXPECT_TRUE(listedAndNeeded({{"FileName", "missing.exe"}, {"FileVersion", "0.0.0.0"}}));
  EXPECT_TRUE(listedAndNeeded({{"FileName", "missing.exe"}}));
  EXPECT_TRUE(listedAndNeeded({{"FileName", "x.cfg"}, {"LocalPath", "no/such/dir"}}));
}

TEST_F(NeedsUpdate, AFileWithoutVersionIsOlderThanAnyListedVersion) {
  writeFile(dir.path() / "plain.dat", "no marker in here");
  writeFile(dir.path() / "broken.exe",
            std::string(VersionMarker::kPrefix) + "1.2.3 1.2.3.4" + std::string(1, '\0'));
  EXPECT_TRUE(listedAndNeeded({{"FileName", "plain.dat"}, {"FileVersion", "0.0.0.0"}}));
  EXPECT_TRUE(listedAndNeeded({{"FileName", "broken.exe"}, {"FileVersion", "0.0.0.1"}}));
}

TEST_F(NeedsUpdate, WithoutListedVersionOnlyALaterDateCounts) {
  const uint64_t installed = 132223104000000000ULL;  // 2020-01-01 00:00:00 UTC
  writeProgram(dir.path() / "dated.exe", "5.0.0.0");
  setModified(dir.path() / "dated.exe", installed);
  auto dated = [&](uint64_t listed) {
    return listedAndNeeded({{"FileName", "dated.exe"},
                            {"FileDateLow", std::to_string(listed & 0xFFFFFFFFu)},
                            {"FileDateHigh", std::to_string(listed >> 32)}});
  };
  EXPECT_TRUE(dated(installed + 1));
  EXPECT_FALSE(dated(installed));
  EXPECT_FALSE(dated(installed - 10000000ULL));
  EXPECT_FALSE(listedAndNeeded({{"FileName", "dated.exe"}}));  // no date listed: 1601
}

TEST_F(NeedsUpdate, SomethingInstalledThatCannotBeReadIsLeftAlone) {
  fs::create_directories(dir.path() / "occupied");
  EXPECT_FALSE(listedAndNeeded({{"FileName", "occupied"}, {"FileVersion", "9.9.9.9"}}));
}

TEST(CUpdateFile, ReadsTheInstalledFile) {
  TempDir dir;
  const fs::path path = dir.path() / "sub" / "tool.exe";
  writeFile(path, "head" + VersionMarker::text("3.4.5.6", "3.4.0.0") + "rest");
  setModified(path, 132223104000000000ULL + 1234567);
  CUpdateFile file(path.string());
  ASSERT_TRUE(file.readLocalInfo());
  EXPECT_EQ(file.fileName, "tool.exe");
  EXPECT_EQ(file.length, static_cast<int64_t>(fs::file_size(path)));
  EXPECT_EQ(file.fileVersion, "3.4.5.6");
  EXPECT_EQ(file.productVersion, "3.4.0.0");
  EXPECT_EQ(file.fileDate, 132223104000000000ULL + 1234567);

  CUpdateFile nothing((dir.path() / "none").string());
  EXPECT_FALSE(nothing.readLocalInfo());
  CUpdateFile unnamed;
  EXPECT_FALSE(unnamed.readLocalInfo());
}
