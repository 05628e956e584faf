// The update check against a real HTTPS server on 127.0.0.1, with a
// certificate authority made for the run and trusted through
// TAVRIK_UPDATE_CA. Nothing here reaches any other address.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <chrono>
#include <memory>
#include <mutex>
#include <sstream>
#include <thread>

#include "tests/update/HttpsTestServer.h"
#include "tests/update/LogRecorder.h"
#include "tests/update/TestCertificates.h"
#include "tests/update_common/FileListXml.h"
#include "tests/update_common/TempDir.h"
#include "tests/update_common/WaitForFile.h"
#include "update/UpdateManager.h"
#include "update/common/Sha256.h"
#include "update/common/VersionMarker.h"

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

namespace {

std::string programWithVersion(const std::string& version) {
  return std::string(3000, '\x01') + VersionMarker::text(version, version) + "rest";
}

// "hh:mm:ss " and a text.
bool isStamped(const std::string& line) {
  if (line.size() < 10 || line[2] != ':' || line[5] != ':' || line[8] != ' ') return false;
  for (size_t i : {0, 1, 3, 4, 6, 7})
    if (line[i] < '0' || line[i] > '9') return false;
  return true;
}

bool anyUpdateFileBelow(const fs::path& directory) {
  for (const auto& item : fs::recursive_directory_iterator(directory))
    if (item.path().extension() == ".update") return true;
  return false;
}

// "<nice> <policy>" of the calling thread, fields 19 and 41 of its stat line.
std::string ownScheduling() {
  const std::string stat = readFile("/proc/thread-self/stat");
  std::istringstream fields(stat.substr(stat.rfind(") ") + 2));  // from field 3 on
  std::vector<std::string> field(3);
  for (std::string word; fields >> word;) field.push_back(word);
  return field.size() > 41 ? field[19] + " " + field[41] + "\n" : "unreadable";
}

}  // namespace

class UpdateCheck : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    // Downloads from 127.0.0.1 go straight there, never through a proxy.
    for (const char* proxy :
         {"http_proxy", "HTTP_PROXY", "https_proxy", "HTTPS_PROXY", "all_proxy", "ALL_PROXY"})
      ::unsetenv(proxy);
    ::setenv("no_proxy", "127.0.0.1,localhost,::1", 1);
    ::setenv("NO_PROXY", "127.0.0.1,localhost,::1", 1);
    s_dir = new TempDir;
    s_certificates = new TestCertificates(s_dir->path() / "certificates");
    fs::create_directories(s_dir->path() / "www");
    s_server = new HttpsTestServer(s_dir->path() / "www", s_certificates->serverCert,
                                   s_certificates->serverKey, s_dir->path() / "server");
    ::setenv("TAVRIK_UPDATE_CA", s_certificates->caFile.c_str(), 1);
    const char* temporary = std::getenv("TMPDIR");
    s_temporary = temporary ? new std::string(temporary) : nullptr;
  }
  static void TearDownTestSuite() {
    if (s_temporary)
      ::setenv("TMPDIR", s_temporary->c_str(), 1);
    else
      ::unsetenv("TMPDIR");
    delete s_temporary;
    delete s_server;
    delete s_certificates;
    delete s_dir;
  }

  void SetUp() override {
    ASSERT_TRUE(s_certificates->ok()) << "openssl could not make the test certificates";
    ASSERT_TRUE(s_server->running()) << "the test HTTPS server did not start";
    m_name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    m_www = s_dir->path() / "www" / m_name;
    m_program = s_dir->path() / "programs" / m_name;
    fs::create_directories(m_www);
    fs::create_directories(m_program);
    useServerList(url("ver.txt"));
    // The lists are fetched into temporary files: each test gets a directory
    // of its own for them, to see that none is left behind.
    m_temporary = s_dir->path() / "tmp" / m_name;
    fs::create_directories(m_temporary);
    ::setenv("TMPDIR", m_temporary.c_str(), 1);
  }
  void TearDown() override {
    if (m_temporary.empty()) return;
    for (const auto& item : fs::directory_iterator(m_temporary))
      ADD_FAILURE() << "left behind: " << item.path();
  }

  std::string path(const std::string& file) const { return "/" + m_name + "/" + file; }
  std::string url(const std::string& file) const { return s_server->url(path(file)); }
  // A path that no request ever reaches: the same port, spoken to in plain HTTP.
  std::string plainUrl(const std::string& file) const {
    return "http://127.0.0.1:" + std::to_string(s_server->port()) + path(file);
  }
  void serve(const std::string& file, const std::string& content) {
    writeFile(m_www / file, content);
  }
  void useServerList(const std::string& address) {
    ::setenv("TAVRIK_UPDATE_URL", address.c_str(), 1);
  }
  // Server A with the given file list.
  void serveList(const std::vector<std::string>& entries) {
    serve("ver.txt", "A|" + url("list.xml") + "\n");
    serve("list.xml", fileList(entries));
  }
  std::vector<std::string> requested() const { return s_server->requestedPaths(path("")); }

  UpdateManager::Options options() const {
    UpdateManager::Options o;
    o.programDirectory = m_program.string();
    o.idlePriority = false;  // idle threads crawl on a busy test machine
    return o;
  }
  bool start(UpdateManager& manager) { return start(manager, options()); }
  // One whole check: started, run until "更新完毕", and the manager gone.
  bool checkToTheEnd() {
    UpdateManager manager;
    return start(manager) && log.waitFor("更新完毕");
  }
  bool start(UpdateManager& manager, const UpdateManager::Options& o) {
    manager.setLogSink(log.sink());
    manager.setUpdatedFilesCallback([this](const Lines& files, const std::string& statusLine) {
      std::lock_guard<std::mutex> lock(m_updatedLock);
      m_updated.push_back(files);
      m_statusLine = statusLine;
    });
    return manager.start(o);
  }
  std::vector<Lines> updatedCalls() {
    std::lock_guard<std::mutex> lock(m_updatedLock);
    return m_updated;
  }

  static TempDir* s_dir;
  static TestCertificates* s_certificates;
  static HttpsTestServer* s_server;
  static std::string* s_temporary;  // TMPDIR as the suite found it

  std::string m_name;
  fs::path m_www;
  fs::path m_program;
  fs::path m_temporary;
  LogRecorder log;
  std::mutex m_updatedLock;
  std::vector<Lines> m_updated;
  std::string m_statusLine;
};

TempDir* UpdateCheck::s_dir = nullptr;
TestCertificates* UpdateCheck::s_certificates = nullptr;
HttpsTestServer* UpdateCheck::s_server = nullptr;
std::string* UpdateCheck::s_temporary = nullptr;

TEST_F(UpdateCheck, OfFourServerLinesTwoCountAndOnlyTheFirstIsAsked) {
  serve("ver.txt", "A|" + url("a.xml") + "\n      \n|" + url("x.xml") + "\n  B   |   " +
                       url("b.xml") + "   \n");
  serve("a.xml", fileList({}));
  {
    UpdateManager manager;
    ASSERT_TRUE(start(manager));
    ASSERT_TRUE(log.waitFor("你当前的版本是最新的"));
  }
  EXPECT_EQ(log.lines(),
            (Lines{"正在连接获取服务器列表", "获取服务器列表成功,共取得 2 个可选服务器",
                   "正在连接：A", "获取更新文件列表成功：A", "你当前的版本是最新的"}));
  EXPECT_EQ(requested(), (Lines{path("ver.txt"), path("a.xml")}));
  for (const std::string& line : log.stampedLines()) EXPECT_TRUE(isStamped(line)) << line;
}

TEST_F(UpdateCheck, AnArgumentTextWithAutoFetchesTheFileList) {
  serve("ver.txt", "A|" + url("a.xml") + "\n");
  serve("a.xml", fileList({}));
  UpdateManager::Options o = options();
  o.argumentText = url("ver.txt") + " auto";
  {
    UpdateManager manager;
    ASSERT_TRUE(start(manager, o));
    ASSERT_TRUE(log.waitFor("你当前的版本是最新的"));
  }
  EXPECT_EQ(requested(), (Lines{path("ver.txt"), path("a.xml")}));
}

TEST_F(UpdateCheck, AnArgumentTextWithoutASpaceOnlyPrintsHowToCall) {
  serve("ver.txt", "A|" + url("a.xml") + "\n");
  UpdateManager::Options o = options();
  o.argumentText = url("ver.txt");
  ::testing::internal::CaptureStdout();
  {
    UpdateManager manager;
    ASSERT_TRUE(start(manager, o));
  }  // joins the update thread
  const std::string printed = ::testing::internal::GetCapturedStdout();
  EXPECT_NE(printed.find("请输传递服务器列表参数 格式： ...exe http://..../..serverlist.txt auto"),
            std::string::npos);
  EXPECT_TRUE(log.lines().empty());
  EXPECT_TRUE(requested().empty());
}

TEST_F(UpdateCheck, TheBuiltInHostLeftUnconfiguredFailsAtOnce) {
  const std::string builtIn = UpdateManager::builtInServerListUrl();
  EXPECT_EQ(builtIn.rfind("https://", 0), 0u);
  EXPECT_EQ(builtIn.substr(builtIn.size() - 15), "/insV39/ver.txt");
  if (builtIn.find(".invalid/") == std::string::npos)
    GTEST_SKIP() << "this build has a real update host configured";
  ::unsetenv("TAVRIK_UPDATE_URL");
  UpdateManager::Options o = options();
  o.idlePriority = true;
  {
    UpdateManager manager;
    ASSERT_TRUE(start(manager, o));
    ASSERT_TRUE(log.waitFor("获得服务器列表失败"));
  }
  EXPECT_EQ(log.lines(), (Lines{"正在连接获取服务器列表", "获得服务器列表失败"}));
}

TEST_F(UpdateCheck, AProgramDirectoryOfTheSystemIsLeftToThePackageManager) {
  serveList({fileListEntry({{"FileName", "x"}, {"URL", url("x")}})});
  UpdateManager::Options o = options();
  o.programDirectory = "/usr/bin";
  {
    UpdateManager manager;
    ASSERT_TRUE(start(manager, o));
    ASSERT_TRUE(
        log.waitFor("程序目录 /usr/bin 不可写或属于系统安装的软件包，更新交由系统的软件包管理器"));
  }
  EXPECT_EQ(log.lines().size(), 1u);
  EXPECT_TRUE(requested().empty());
}

TEST_F(UpdateCheck, PlainHttpFailsWithCodeOneBeforeAnythingIsSent) {
  serve("ver.txt", "A|" + plainUrl("a.xml") + "\n");
  {
    UpdateManager manager;
    ASSERT_TRUE(start(manager));
    ASSERT_TRUE(log.waitFor("URL解析错误, 请选择其他服务器进行尝试：A"));
  }
  EXPECT_EQ(requested(), Lines{path("ver.txt")});
}

TEST_F(UpdateCheck, PlainHttpFilesAndRedirectsToThemFailWithCodeOne) {
  serveList({
      fileListEntry({{"FileName", "plain.bin"}, {"URL", plainUrl("plain.bin")}}),
      fileListEntry({{"FileName", "downgraded.bin"},
                     {"URL", url("downgraded.bin") + "?redirect=" + plainUrl("downgraded.bin")}}),
      fileListEntry(
          {{"FileName", "moved.bin"}, {"URL", url("moved.bin") + "?redirect=" + url("new.bin")}}),
  });
  serve("plain.bin", "p");
  serve("downgraded.bin", "d");
  serve("new.bin", "moved here");
  ASSERT_TRUE(checkToTheEnd());
  EXPECT_GE(log.indexOf("下载文件失败 [plain.bin], 错误代码 [1]"), 0);
  EXPECT_GE(log.indexOf("下载文件失败 [downgraded.bin], 错误代码 [1]"), 0);
  EXPECT_GE(log.indexOf("下载文件成功 [moved.bin]"), 0);
  EXPECT_EQ(requested(), (Lines{path("ver.txt"), path("list.xml"), path("downgraded.bin"),
                                path("moved.bin"), path("new.bin")}));
  EXPECT_FALSE(fs::exists(m_program / "plain.bin"));
  EXPECT_FALSE(fs::exists(m_program / "downgraded.bin"));
  EXPECT_EQ(readFile(m_program / "moved.bin"), "moved here");
  EXPECT_FALSE(anyUpdateFileBelow(m_program));
}

TEST_F(UpdateCheck, AMissingFileListOrFileFailsWithCodeSix) {
  serve("ver.txt", "A|" + url("missing.xml") + "\n");
  {
    UpdateManager manager;
    ASSERT_TRUE(start(manager));
    ASSERT_TRUE(log.waitFor("取得服务器文件失败, 请选择其他服务器进行尝试：A"));
  }
  serveList({fileListEntry({{"FileName", "gone.bin"}, {"URL", url("gone.bin")}}),
             fileListEntry({{"FileName", "broken.bin"}, {"URL", url("x") + "?status=500"}})});
  ASSERT_TRUE(checkToTheEnd());
  EXPECT_GE(log.indexOf("下载文件失败 [gone.bin], 错误代码 [6]"), 0);
  EXPECT_GE(log.indexOf("下载文件失败 [broken.bin], 错误代码 [6]"), 0);
  EXPECT_FALSE(anyUpdateFileBelow(m_program));
}

TEST_F(UpdateCheck, QueuedFilesAreDownloadedOneAfterAnother) {
  writeFile(m_program / "one.bin", programWithVersion("1.0.0.9"));
  ::chmod((m_program / "one.bin").c_str(), 0755);
  const std::vector<std::pair<std::string, std::string>> files = {
      {"one.bin", programWithVersion("1.0.0.10")}, {"two.bin", "second"}, {"three.bin", "third"}};
  serveList({
      fileListEntry({{"FileName", "one.bin"},
                     {"FileVersion", "1.0.0.10"},
                     {"Length", "2048"},
                     {"URL", url("one.bin") + "?delay=300"}}),
      fileListEntry({{"FileName", "two.bin"},
                     {"FileVersion", "1.0.0.1"},
                     {"Length", "2048"},
                     {"URL", url("two.bin") + "?delay=300"}}),
      fileListEntry({{"FileName", "three.bin"},
                     {"LocalPath", "data"},
                     {"Length", "2048"},
                     {"URL", url("three.bin") + "?delay=300"}}),
  });
  for (const auto& [name, content] : files) serve(name, content);
  ASSERT_TRUE(checkToTheEnd());
  EXPECT_GE(log.indexOf("需更新文件总数: 3, 文件总长度: 6 KB"), 0);
  int last = -1;
  for (const auto& [name, content] : files) {
    const int starting = log.indexOf("正在更新文件：" + name);
    const int done = log.indexOf("下载文件成功 [" + name + "]");
    EXPECT_GT(starting, last) << name;
    EXPECT_GT(done, starting) << name;
    last = done;
  }
  EXPECT_EQ(log.count("更新完毕"), 1);
  EXPECT_GT(log.indexOf("更新完毕"), last);

  // The server saw each download end before the next began.
  std::vector<std::string> order;
  for (const HttpsTestServer::Request& request : s_server->requests()) {
    if (request.path.find(".bin") == std::string::npos || request.path.rfind(path(""), 0) != 0)
      continue;
    EXPECT_LE(request.active, request.begins ? 1 : 0);
    order.push_back((request.begins ? "+" : "-") + request.path);
  }
  EXPECT_EQ(order,
            (Lines{"+" + path("one.bin"), "-" + path("one.bin"), "+" + path("two.bin"),
                   "-" + path("two.bin"), "+" + path("three.bin"), "-" + path("three.bin")}));

  EXPECT_EQ(readFile(m_program / "one.bin"), files[0].second);
  EXPECT_EQ(readFile(m_program / "two.bin"), "second");
  EXPECT_EQ(readFile(m_program / "data" / "three.bin"), "third");
  struct stat info {};
  ASSERT_EQ(::stat((m_program / "one.bin").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0755u);
  EXPECT_FALSE(anyUpdateFileBelow(m_program));
  EXPECT_EQ(updatedCalls(), (std::vector<Lines>{{"one.bin", "two.bin", "three.bin"}}));
  EXPECT_EQ(m_statusLine, "已更新 3 个文件：one.bin、two.bin、three.bin，下次启动时生效");
}

TEST_F(UpdateCheck, NothingNewerMeansNothingIsFetched) {
  writeFile(m_program / "tool", programWithVersion("2.0.0.0"));
  serveList(
      {fileListEntry({{"FileName", "tool"}, {"FileVersion", "1.0.0.10"}, {"URL", url("tool")}})});
  serve("tool", "older");
  {
    UpdateManager manager;
    ASSERT_TRUE(start(manager));
    ASSERT_TRUE(log.waitFor("你当前的版本是最新的"));
  }
  EXPECT_EQ(log.count("更新完毕"), 0);
  EXPECT_EQ(requested(), (Lines{path("ver.txt"), path("list.xml")}));
  EXPECT_TRUE(updatedCalls().empty());
}

TEST_F(UpdateCheck, EntriesLeadingOutsideAreRefusedAndNeverFetched) {
  const fs::path outside = s_dir->path() / "outside" / m_name;
  fs::create_directories(outside);
  fs::create_directory_symlink(outside, m_program / "elsewhere");
  serveList({
      fileListEntry({{"FileName", "../../outside/" + m_name + "/x"}, {"URL", url("x")}}),
      fileListEntry({{"FileName", "x"}, {"LocalPath", outside.string()}, {"URL", url("x")}}),
      fileListEntry({{"FileName", "x"}, {"LocalPath", "elsewhere"}, {"URL", url("x")}}),
      fileListEntry({{"FileName", "x"}, {"InstallDir", "WINDOWSDIR"}, {"URL", url("x")}}),
  });
  serve("x", "payload");
  {
    UpdateManager manager;
    ASSERT_TRUE(start(manager));
    ASSERT_TRUE(log.waitFor("你当前的版本是最新的"));
  }
  EXPECT_GE(log.indexOf("拒绝更新文件 [../../outside/" + m_name + "/x]：路径含有“..”"), 0);
  EXPECT_GE(log.indexOf("拒绝更新文件 [x]：路径是绝对路径"), 0);
  EXPECT_GE(log.indexOf("拒绝更新文件 [x]：路径指向程序目录之外"), 0);
  EXPECT_GE(log.indexOf("拒绝更新文件 [x]：安装目录 WINDOWSDIR 在此系统上不存在"), 0);
  EXPECT_EQ(requested(), (Lines{path("ver.txt"), path("list.xml")}));
  EXPECT_TRUE(fs::is_empty(outside));
}

TEST_F(UpdateCheck, AFileNotMatchingItsDigestIsNotInstalled) {
  serveList({
      fileListEntry({{"FileName", "good.bin"},
                     {"SHA256", Sha256::ofBytes("good contents")},
                     {"URL", url("good.bin")}}),
      fileListEntry({{"FileName", "bad.bin"},
                     {"SHA256", Sha256::ofBytes("what was published")},
                     {"URL", url("bad.bin")}}),
  });
  serve("good.bin", "good contents");
  serve("bad.bin", "what a mirror sends instead");
  ASSERT_TRUE(checkToTheEnd());
  EXPECT_GE(log.indexOf("下载文件成功 [good.bin]"), 0);
  EXPECT_GE(log.indexOf("文件校验失败 [bad.bin]"), 0);
  EXPECT_EQ(readFile(m_program / "good.bin"), "good contents");
  EXPECT_FALSE(fs::exists(m_program / "bad.bin"));
  EXPECT_FALSE(anyUpdateFileBelow(m_program));
  EXPECT_EQ(updatedCalls(), (std::vector<Lines>{{"good.bin"}}));
}

TEST_F(UpdateCheck, CertificatesThatDoNotVerifyAreRefused) {
  // One from an authority nobody trusts; one our own authority signed, but
  // for another host than the one asked.
  HttpsTestServer stranger(s_dir->path() / "www", s_certificates->strangerCert,
                           s_certificates->strangerKey, s_dir->path() / ("stranger-" + m_name));
  HttpsTestServer otherHost(s_dir->path() / "www", s_certificates->otherHostCert,
                            s_certificates->otherHostKey, s_dir->path() / ("otherhost-" + m_name));
  ASSERT_TRUE(stranger.running());
  ASSERT_TRUE(otherHost.running());
  serveList({fileListEntry({{"FileName", "f.bin"}, {"URL", stranger.url(path("f.bin"))}}),
             fileListEntry({{"FileName", "g.bin"}, {"URL", otherHost.url(path("g.bin"))}})});
  serve("f.bin", "from a stranger");
  serve("g.bin", "from someone else's host");
  ASSERT_TRUE(checkToTheEnd());
  EXPECT_GE(log.indexOf("下载文件失败 [f.bin], 错误代码 [2]"), 0);
  EXPECT_GE(log.indexOf("下载文件失败 [g.bin], 错误代码 [2]"), 0);
  EXPECT_FALSE(fs::exists(m_program / "f.bin"));
  EXPECT_FALSE(fs::exists(m_program / "g.bin"));
  EXPECT_FALSE(anyUpdateFileBelow(m_program));
  EXPECT_TRUE(stranger.requests().empty());
  EXPECT_TRUE(otherHost.requests().empty());

  useServerList(stranger.url(path("ver.txt")));
  {
    UpdateManager manager;
    ASSERT_TRUE(start(manager));
    ASSERT_TRUE(log.waitFor("获得服务器列表失败"));
  }
  EXPECT_TRUE(stranger.requests().empty());
}

TEST_F(UpdateCheck, ABodyThatEndsEarlyIsNotInstalled) {
  // Shorter than its Content-Length; without a length, cut by a dropped
  // connection; in chunks, cut the same way.
  const std::vector<std::pair<std::string, std::string>> cuts = {
      {"short.bin", "?truncate=100"},
      {"unsized.bin", "?drop=100"},
      {"chunked.bin", "?drop=100&chunked=1"}};
  std::vector<std::string> entries;
  for (const auto& [name, query] : cuts) {
    writeFile(m_program / name, "old");
    serve(name, std::string(5000, 'n'));
    entries.push_back(
        fileListEntry({{"FileName", name}, {"FileVersion", "1.0"}, {"URL", url(name) + query}}));
  }
  serveList(entries);
  ASSERT_TRUE(checkToTheEnd());
  for (const auto& [name, query] : cuts) {
    EXPECT_GE(log.indexOf("下载文件失败 [" + name + "], 错误代码 [2]"), 0) << name;
    EXPECT_EQ(readFile(m_program / name), "old") << name;
  }
  EXPECT_FALSE(anyUpdateFileBelow(m_program));
  EXPECT_TRUE(updatedCalls().empty());
}

TEST_F(UpdateCheck, ALocalFileThatCannotBeMadeFailsWithCodeSeven) {
  // A directory where the download must be written, and a file where its
  // directory must be: neither gives way, not even to root.
  writeFile(m_program / "blocked.bin", "old");
  writeFile(m_program / "blocked.bin.update" / "inside", "");
  writeFile(m_program / "sub", "a file, not a directory");
  serveList(
      {fileListEntry(
           {{"FileName", "blocked.bin"}, {"FileVersion", "1.0"}, {"URL", url("blocked.bin")}}),
       fileListEntry({{"FileName", "x.bin"}, {"LocalPath", "sub"}, {"URL", url("x.bin")}})});
  serve("blocked.bin", "new");
  serve("x.bin", "new");
  ASSERT_TRUE(checkToTheEnd());
  EXPECT_GE(log.indexOf("下载文件失败 [blocked.bin], 错误代码 [7]"), 0);
  EXPECT_GE(log.indexOf("下载文件失败 [x.bin], 错误代码 [7]"), 0);
  EXPECT_EQ(readFile(m_program / "blocked.bin"), "old");
  EXPECT_TRUE(fs::exists(m_program / "blocked.bin.update" / "inside"));
  EXPECT_EQ(readFile(m_program / "sub"), "a file, not a directory");
  EXPECT_TRUE(updatedCalls().empty());
}

TEST_F(UpdateCheck, DownloadsAndWhatTheyStartKeepTheProgramsScheduling) {
  // The update thread itself runs at idle priority; the started script
  // reports the nice value and policy it got (fields 19 and 41 of its stat
  // line), which it inherits from the download's thread.
  serve("report.sh",
        "#!/bin/sh\n"
        "read -r stat < /proc/$$/stat\n"
        "set -- ${stat##*) }\n"
        "out=\"$(dirname \"$0\")/scheduling\"\n"
        "printf '%s %s\\n' \"${17}\" \"${39}\" > \"$out.part\"\n"
        "mv \"$out.part\" \"$out\"\n");
  serveList(
      {fileListEntry({{"FileName", "report.sh"}, {"Execute", "YES"}, {"URL", url("report.sh")}})});
  UpdateManager::Options o = options();
  o.idlePriority = true;
  {
    UpdateManager manager;
    ASSERT_TRUE(start(manager, o));
    ASSERT_TRUE(log.waitFor("更新完毕"));
  }
  EXPECT_GE(log.indexOf("下载文件成功 [report.sh]"), 0);
  ASSERT_TRUE(waitForFile(m_program / "scheduling"));
  EXPECT_EQ(readFile(m_program / "scheduling"), ownScheduling());
}

TEST_F(UpdateCheck, StopDuringTheServerListLetsItFinishButStartsNothingMore) {
  serve("ver.txt", "A|" + url("a.xml") + "\n");
  serve("a.xml", fileList({}));
  useServerList(url("ver.txt") + "?gate=" + m_name + "/open");
  {
    UpdateManager manager;
    ASSERT_TRUE(start(manager));
    ASSERT_TRUE(s_server->waitForRequest(path("ver.txt")));
    EXPECT_TRUE(manager.stop());
    serve("open", "");
    ASSERT_TRUE(log.waitFor("正在连接：A"));
  }
  EXPECT_EQ(log.lines(), (Lines{"正在连接获取服务器列表",
                                "获取服务器列表成功,共取得 1 个可选服务器", "正在连接：A"}));
  EXPECT_EQ(requested(), Lines{path("ver.txt")});
  // The file list's job never ran, and its temporary file went with it.
  EXPECT_TRUE(fs::is_empty(m_temporary));
}

TEST_F(UpdateCheck, StoppingAtCloseAbortsTheRunningDownload) {
  writeFile(m_program / "slow.bin", "old");
  writeFile(m_program / "held.bin", "old");
  // One file comes a byte every half second (it would take four minutes),
  // the other not at all: both kinds of transfer end when asked to.
  serveList({fileListEntry({{"FileName", "slow.bin"},
                            {"FileVersion", "1.0"},
                            {"URL", url("slow.bin") + "?trickle=500"}}),
             fileListEntry({{"FileName", "held.bin"},
                            {"FileVersion", "1.0"},
                            {"URL", url("held.bin") + "?gate=" + m_name + "/never"}})});
  serve("slow.bin", std::string(480, 'n'));
  serve("held.bin", "new");
  {
    UpdateManager manager;
    ASSERT_TRUE(start(manager));
    ASSERT_TRUE(s_server->waitForRequest(path("slow.bin")));
    manager.stop(UpdateManager::StopMode::AbortRunning);
  }
  EXPECT_GE(log.indexOf("下载文件失败 [slow.bin], 错误代码 [8]"), 0);
  EXPECT_EQ(readFile(m_program / "slow.bin"), "old");
  EXPECT_EQ(requested(), (Lines{path("ver.txt"), path("list.xml"), path("slow.bin")}));

  // Now the one the server holds back entirely, with the update thread at
  // idle priority as the program runs it.
  serveList({fileListEntry({{"FileName", "held.bin"},
                            {"FileVersion", "1.0"},
                            {"URL", url("held.bin") + "?gate=" + m_name + "/never"}})});
  UpdateManager::Options idle = options();
  idle.idlePriority = true;
  {
    UpdateManager manager;
    ASSERT_TRUE(start(manager, idle));
    ASSERT_TRUE(s_server->waitForRequest(path("held.bin")));
    manager.stop(UpdateManager::StopMode::AbortRunning);
  }
  EXPECT_GE(log.indexOf("下载文件失败 [held.bin], 错误代码 [8]"), 0);
  EXPECT_EQ(readFile(m_program / "held.bin"), "old");
  EXPECT_FALSE(anyUpdateFileBelow(m_program));
}
