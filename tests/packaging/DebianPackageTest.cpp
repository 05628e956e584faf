// The Debian package, made once by cpack from this build tree into a scratch
// folder and read back with dpkg-deb. Nothing here leaves the machine.
#include <gtest/gtest.h>

#include <QImage>
#include <QString>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <sstream>
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

std::string Trimmed(const std::string& text) {
  const auto begin = text.find_first_not_of(" \t");
  if (begin == std::string::npos) return {};
  return text.substr(begin, text.find_last_not_of(" \t") - begin + 1);
}

std::string Command(const std::string& commandLine) {
  return Trimmed(ShellCommand::Lines(ShellCommand::Run(commandLine).output).front());
}

// One line of `dpkg-deb --contents`, which lists like `tar -tv`.
struct Entry {
  std::string mode;   // "-rwxr-xr-x", "lrwxrwxrwx", "drwxr-xr-x"
  std::string owner;  // "root/root"
  std::string linkTarget;
};

std::map<std::string, Entry> ParseContents(const std::string& listing) {
  std::map<std::string, Entry> entries;
  for (const std::string& line : ShellCommand::Lines(listing)) {
    std::istringstream words(line);
    Entry entry;
    std::string size, date, time, path, arrow;
    if (!(words >> entry.mode >> entry.owner >> size >> date >> time >> path)) continue;
    if (words >> arrow && arrow == "->") words >> entry.linkTarget;
    entries[path] = entry;
  }
  return entries;
}

// The control fields as `dpkg-deb --info` shows them (" Name: value").
std::map<std::string, std::string> ParseFields(const std::string& info) {
  std::map<std::string, std::string> fields;
  for (const std::string& line : ShellCommand::Lines(info)) {
    if (line.size() < 2 || line[0] != ' ' || line[1] == ' ') continue;
    const auto colon = line.find(": ");
    if (colon == std::string::npos) continue;
    fields[line.substr(1, colon - 1)] = line.substr(colon + 2);
  }
  return fields;
}

// The package names a Depends line allows, alternatives included.
std::set<std::string> DependedOn(const std::string& depends) {
  std::set<std::string> names;
  std::string clause;
  std::istringstream in(depends);
  while (std::getline(in, clause, ',')) {
    std::istringstream alternatives(clause);
    for (std::string alternative; std::getline(alternatives, alternative, '|');) {
      std::istringstream words(alternative);
      std::string name;
      if (words >> name) names.insert(name.substr(0, name.find(':')));
    }
  }
  return names;
}

// The installed packages that own files matching a dpkg path pattern.
std::set<std::string> OwnersOf(const std::string& pattern) {
  std::set<std::string> owners;
  const auto run = ShellCommand::Run("dpkg-query -S " + ShellCommand::Quote(pattern));
  for (const std::string& line : ShellCommand::Lines(run.output)) {
    const auto colon = line.find(": ");
    if (colon == std::string::npos) continue;
    std::istringstream packages(line.substr(0, colon));
    for (std::string package; std::getline(packages, package, ',');)
      owners.insert(Trimmed(package).substr(0, Trimmed(package).find(':')));
  }
  return owners;
}

std::vector<std::string> Needed(const fs::path& program) {
  std::vector<std::string> libraries;
  const auto run = ShellCommand::Run("objdump -p " + ShellCommand::Quote(program));
  for (const std::string& line : ShellCommand::Lines(run.output)) {
    std::istringstream words(line);
    std::string tag, value;
    if (words >> tag >> value && tag == "NEEDED") libraries.push_back(value);
  }
  return libraries;
}

const char* const kPrograms[] = {"tavrik", "tavrik-launch", "tavrik-convert", "tavrik-unitsim",
                                 "tavrik-makelog"};
const char* const kCompiledPrograms[] = {"tavrik", "tavrik-convert", "tavrik-unitsim",
                                         "tavrik-makelog"};

class DebianPackage : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    scratch_ = std::make_unique<ScratchFolder>();
    const fs::path build = TAVRIK_BUILD_DIR;
    // Installing writes the list of installed files into the build tree;
    // whatever list a real installation left there is put back.
    const fs::path manifest = build / "install_manifest.txt";
    std::optional<std::string> manifestBefore;
    if (fs::exists(manifest)) manifestBefore = ReadFile(manifest);

    const fs::path out = *scratch_ / "out";
    cpack_ = ShellCommand::Run(
        "cd " + ShellCommand::Quote(scratch_->Path()) + " && " +
        ShellCommand::Quote(std::string(TAVRIK_CPACK)) + " -G DEB --config " +
        ShellCommand::Quote(build / "CPackConfig.cmake") + " -B " + ShellCommand::Quote(out));

    if (manifestBefore)
      std::ofstream(manifest, std::ios::binary | std::ios::trunc) << *manifestBefore;
    else
      fs::remove(manifest);

    std::error_code ignored;
    for (const auto& file : fs::directory_iterator(out, ignored))
      if (file.path().extension() == ".deb") debs_.push_back(file.path());
    if (debs_.size() != 1) return;
    const std::string deb = ShellCommand::Quote(debs_.front());
    info_ = ShellCommand::Run("dpkg-deb --info " + deb).output;
    contents_ = ParseContents(ShellCommand::Run("dpkg-deb --contents " + deb).output);
    ShellCommand::Run("dpkg-deb -x " + deb + " " + ShellCommand::Quote(Root()));
  }
  static void TearDownTestSuite() { scratch_.reset(); }

  void SetUp() override {
    ASSERT_EQ(cpack_.exitCode, 0) << cpack_.output;
    ASSERT_EQ(debs_.size(), 1u) << cpack_.output;
  }

  static fs::path Root() { return *scratch_ / "root"; }
  static std::map<std::string, std::string> Fields() { return ParseFields(info_); }
  static const Entry* Find(const std::string& path) {
    const auto found = contents_.find("./" + path);
    return found == contents_.end() ? nullptr : &found->second;
  }

  static inline std::unique_ptr<ScratchFolder> scratch_;
  static inline ShellCommand::Result cpack_;
  static inline std::vector<fs::path> debs_;
  static inline std::string info_;
  static inline std::map<std::string, Entry> contents_;
};

TEST_F(DebianPackage, IsNamedTheDebianWay) {
  const std::string architecture = Command("dpkg --print-architecture");
  EXPECT_EQ(debs_.front().filename().string(),
            "tavrik_" TAVRIK_PACKAGE_VERSION "_" + architecture + ".deb");
  const auto fields = Fields();
  EXPECT_EQ(fields.at("Package"), "tavrik");
  EXPECT_EQ(fields.at("Version"), TAVRIK_PACKAGE_VERSION);
  EXPECT_EQ(fields.at("Architecture"), architecture);
  EXPECT_NE(fields.at("Maintainer").find('<'), std::string::npos);
  EXPECT_FALSE(fields.at("Description").empty());
}

TEST_F(DebianPackage, InstallsEverythingUnderUsrOwnedByRoot) {
  ASSERT_FALSE(contents_.empty());
  for (const auto& [path, entry] : contents_) {
    EXPECT_TRUE(path == "./" || path.rfind("./usr/", 0) == 0) << path;
    EXPECT_EQ(entry.owner, "root/root") << path;
    if (entry.mode[0] == 'd') {
      EXPECT_EQ(entry.mode, "drwxr-xr-x") << path;
    }
  }
}

TEST_F(DebianPackage, ShipsTheProgramsTheModelThePageTheDefaultConfigAndTheMenuEntry) {
  for (const char* program : kPrograms) {
    const Entry* entry = Find(std::string("usr/bin/") + program);
    ASSERT_NE(entry, nullptr) << program;
    EXPECT_EQ(entry->mode, "-rwxr-xr-x") << program;
  }
  for (const char* data :
       {"usr/share/tavrik/AEREO", "usr/share/tavrik/aereo.bmp", "usr/share/tavrik/geo.mth",
        "usr/share/tavrik/geo/geo.js", "usr/share/tavrik/geo/geo.css",
        "usr/share/tavrik/config.default", "usr/share/applications/tavrik.desktop"}) {
    const Entry* entry = Find(data);
    ASSERT_NE(entry, nullptr) << data;
    EXPECT_EQ(entry->mode, "-rw-r--r--") << data;
  }
  // The ones the build made, not stale copies.
  EXPECT_TRUE(ReadFile(Root() / "usr/share/tavrik/AEREO") ==
              ReadFile(fs::path(TAVRIK_BUILD_DIR) / "demo" / "AEREO"));
  EXPECT_EQ(ReadFile(Root() / "usr/share/tavrik/geo.mth"),
            ReadFile(fs::path(TAVRIK_SOURCE_DIR) / "src/map/page/geo.mth"));
  EXPECT_EQ(ReadFile(Root() / "usr/share/tavrik/config.default"), "KDV1\r\n");
  // The instruments' pictures are compiled into the program, not shipped.
  for (const auto& [path, entry] : contents_) {
    EXPECT_EQ(path.find("attitude"), std::string::npos) << path;
    EXPECT_EQ(path.find("compass_rose"), std::string::npos) << path;
  }
}

TEST_F(DebianPackage, LinksLeafletToTheSystemsCopy) {
  const fs::path page = "/usr/share/tavrik/geo";
  for (const char* name :
       {"leaflet.js", "leaflet.css", "images/layers.png", "images/layers-2x.png",
        "images/marker-icon.png", "images/marker-icon-2x.png", "images/marker-shadow.png"}) {
    const Entry* entry = Find("usr/share/tavrik/geo/" + std::string(name));
    ASSERT_NE(entry, nullptr) << name;
    EXPECT_EQ(entry->mode[0], 'l') << name;
    // Relative, as links within /usr are kept; and it reaches Leaflet.
    EXPECT_NE(entry->linkTarget.front(), '/') << entry->linkTarget;
    const fs::path reached = ((page / name).parent_path() / entry->linkTarget).lexically_normal();
    EXPECT_EQ(reached, fs::path(TAVRIK_LEAFLET_DIR) / name);
    EXPECT_TRUE(fs::is_regular_file(reached)) << reached;
  }
}

TEST_F(DebianPackage, DrawsTheIconAtEachSizeTheThemeLooksFor) {
  const fs::path hicolor = Root() / "usr/share/icons/hicolor";
  std::set<int> sizes;
  std::error_code ignored;
  for (const auto& folder : fs::directory_iterator(hicolor, ignored)) {
    const std::string name = folder.path().filename().string();
    const int size = std::stoi(name);
    EXPECT_EQ(name, std::to_string(size) + "x" + std::to_string(size));
    const QImage icon(QString::fromStdString((folder.path() / "apps" / "tavrik.png").string()));
    EXPECT_EQ(icon.size(), QSize(size, size)) << name;
    EXPECT_TRUE(icon.hasAlphaChannel()) << name;
    sizes.insert(size);
  }
  // 48 is the size every theme must have; menus and docks ask for the rest.
  for (int needed : {16, 24, 32, 48, 64, 128, 256}) EXPECT_EQ(sizes.count(needed), 1u) << needed;
}

TEST_F(DebianPackage, MenuEntryStartsTheLauncherWithTheIcon) {
  const std::string entry = ReadFile(Root() / "usr/share/applications/tavrik.desktop");
  std::map<std::string, std::string> keys;
  const auto lines = ShellCommand::Lines(entry);
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.front(), "[Desktop Entry]");
  for (const std::string& line : lines) {
    const auto equals = line.find('=');
    if (equals != std::string::npos) keys[line.substr(0, equals)] = line.substr(equals + 1);
  }
  EXPECT_EQ(keys["Type"], "Application");
  EXPECT_EQ(keys["Name"], "Tavrik");
  EXPECT_EQ(keys["Terminal"], "false");
  EXPECT_EQ(keys["Exec"], "tavrik-launch");
  EXPECT_EQ(keys["TryExec"], keys["Exec"]);
  const Entry* launcher = Find("usr/bin/" + keys["Exec"]);
  ASSERT_NE(launcher, nullptr);
  EXPECT_EQ(launcher->mode, "-rwxr-xr-x");
  EXPECT_NE(Find("usr/share/icons/hicolor/48x48/apps/" + keys["Icon"] + ".png"), nullptr);
  ASSERT_FALSE(keys["Categories"].empty());
  EXPECT_EQ(keys["Categories"].back(), ';');
}

TEST_F(DebianPackage, DependsOnThePackagesOfEveryLibraryTheProgramsLink) {
  const std::set<std::string> depends = DependedOn(Fields()["Depends"]);
  for (const char* program : kCompiledPrograms) {
    const std::vector<std::string> libraries = Needed(Root() / "usr/bin" / program);
    EXPECT_FALSE(libraries.empty()) << program;
    for (const std::string& library : libraries) {
      const std::set<std::string> owners = OwnersOf("*/" + library);
      ASSERT_FALSE(owners.empty()) << library;
      EXPECT_TRUE(std::any_of(owners.begin(), owners.end(),
                              [&](const std::string& owner) { return depends.count(owner); }))
          << program << " links " << library
          << " but no owner of it is a dependency: " << Fields()["Depends"];
    }
  }
}

TEST_F(DebianPackage, DependsOnWhatTheProgramLoadsByName) {
  const std::set<std::string> depends = DependedOn(Fields()["Depends"]);
  // The browser's helper process, the X11 platform plugin, the map's
  // Leaflet, the interface's Chinese font and Arial's stand-in, Qt's own
  // texts in Chinese: none of them is a link the library scan could see.
  for (const std::string& file :
       {std::string("*/libexec/QtWebEngineProcess"),
        std::string("*/qt6/plugins/platforms/libqxcb.so"),
        std::string(TAVRIK_LEAFLET_DIR "/leaflet.js"), std::string("*/NotoSansCJK-Regular.ttc"),
        std::string("*/LiberationSans-Regular.ttf"),
        std::string("*/qt6/translations/qtbase_zh_CN.qm")}) {
    const std::set<std::string> owners = OwnersOf(file);
    ASSERT_FALSE(owners.empty()) << file << " is not installed on this machine";
    EXPECT_TRUE(std::any_of(owners.begin(), owners.end(),
                            [&](const std::string& owner) { return depends.count(owner); }))
        << file << " comes with none of: " << Fields()["Depends"];
  }
  // Every name is a package this system knows: a misspelt one would make
  // the package uninstallable.
  for (const std::string& name : depends)
    EXPECT_EQ(ShellCommand::Run("dpkg-query -W " + ShellCommand::Quote(name)).exitCode, 0) << name;
}

TEST_F(DebianPackage, ProgramsCarryNoPathIntoTheBuildTree) {
  for (const char* program : kCompiledPrograms) {
    const auto dump =
        ShellCommand::Run("objdump -p " + ShellCommand::Quote(Root() / "usr/bin" / program));
    ASSERT_EQ(dump.exitCode, 0) << dump.output;
    EXPECT_EQ(dump.output.find("RPATH"), std::string::npos) << program;
    EXPECT_EQ(dump.output.find("RUNPATH"), std::string::npos) << program;
  }
}

TEST_F(DebianPackage, LauncherPreparesTheWorkingDirectoryFromTheInstalledFiles) {
  const fs::path home = *scratch_ / "home";
  const fs::path record = *scratch_ / "record";
  fs::create_directories(home);
  const fs::path fake = *scratch_ / "fake-tavrik";
  std::ofstream(fake) << "#!/bin/sh\npwd -P >\"$TAVRIK_TEST_RECORD\"\n";
  fs::permissions(fake, fs::perms::owner_all);
  // Leaflet's package, as the dependency puts it beside ours.
  fs::create_directories(Root() / "usr/share/javascript");
  fs::create_symlink(TAVRIK_LEAFLET_DIR, Root() / "usr/share/javascript/leaflet");
  const auto run =
      ShellCommand::Run("cd / && env -i PATH=/usr/bin:/bin HOME=" + ShellCommand::Quote(home) +
                        " TAVRIK_TEST_RECORD=" + ShellCommand::Quote(record) +
                        " TAVRIK_LAUNCH_PROGRAM=" + ShellCommand::Quote(fake) + " " +
                        ShellCommand::Quote(Root() / "usr/bin/tavrik-launch"));
  ASSERT_EQ(run.exitCode, 0) << run.output;

  const fs::path work = home / ".local/share/tavrik";
  EXPECT_EQ(ShellCommand::Lines(ReadFile(record)), std::vector<std::string>{work.string()});
  const fs::path shipped = Root() / "usr/share/tavrik";
  EXPECT_EQ(ReadFile(work / "config"), ReadFile(shipped / "config.default"));
  for (const char* name : {"AEREO", "aereo.bmp", "geo.mth", "geo/geo.js", "geo/geo.css"})
    EXPECT_TRUE(ReadFile(work / name) == ReadFile(shipped / name)) << name;
  for (const char* name : {"leaflet.js", "leaflet.css", "images/marker-icon.png"}) {
    EXPECT_FALSE(fs::is_symlink(work / "geo" / name)) << name;
    EXPECT_TRUE(ReadFile(work / "geo" / name) == ReadFile(fs::path(TAVRIK_LEAFLET_DIR) / name))
        << name;
  }
  EXPECT_EQ(run.output, "");
}

}  // namespace
