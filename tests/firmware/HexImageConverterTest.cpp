#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "device/FirmwareImageFile.h"
#include "device/HexImageConverter.h"
#include "tests/firmware/ScratchDirectory.h"
#include "tests/firmware/TestImages.h"

namespace {

using Outcome = HexImageConverter::Outcome;
namespace fs = std::filesystem;

void WriteText(const fs::path& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

std::vector<uint8_t> FileBytes(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

class HexImageConverterTest : public testing::Test {
 protected:
  ScratchDirectory m_dir;
  const fs::path m_hex = m_dir / "APP.hex";
  // Two levels missing, as on a first run.
  const fs::path m_image = m_dir / "share" / "tavrik" / "test.bin";
};

TEST_F(HexImageConverterTest, AGoodFileBecomesTheImageInAFreshDirectory) {
  const auto image = test_images::Pattern(16);
  WriteText(m_hex, test_images::HexFile(image));
  const auto result = HexImageConverter::Convert(m_hex, m_image);
  EXPECT_EQ(result.outcome, Outcome::Converted);
  EXPECT_TRUE(result.ReadyToLoad());
  EXPECT_TRUE(result.message.empty());
  EXPECT_EQ(result.imageSize, 16u);
  EXPECT_EQ(FileBytes(m_image), image);

  // Converting again replaces the image instead of appending to it.
  const auto second = test_images::Pattern(40);
  WriteText(m_hex, test_images::HexFile(second));
  EXPECT_TRUE(HexImageConverter::Convert(m_hex, m_image).ReadyToLoad());
  EXPECT_EQ(FileBytes(m_image), second);
}

TEST_F(HexImageConverterTest, ABadRecordIsRefusedByLineAndLeavesNoImage) {
  WriteText(m_hex, test_images::HexFile(test_images::Pattern(64)));
  ASSERT_TRUE(HexImageConverter::Convert(m_hex, m_image).ReadyToLoad());

  std::string text = test_images::HexFile(test_images::Pattern(64));
  // Line 1 is the address record; line 3 is the second data record.
  const size_t third = text.find('\n', text.find('\n') + 1) + 1;
  text[third + 12] = text[third + 12] == 'A' ? 'B' : 'A';
  WriteText(m_hex, text);
  const auto result = HexImageConverter::Convert(m_hex, m_image);
  EXPECT_EQ(result.outcome, Outcome::BadRecord);
  EXPECT_FALSE(result.ReadyToLoad());
  EXPECT_EQ(result.message, "HEX文件第3行有误（校验和错误），未生成升级文件！\n");
  EXPECT_FALSE(fs::exists(m_image));  // not even the image of the earlier file
}

TEST_F(HexImageConverterTest, AFileWithoutEndRecordIsConvertedButNotReady) {
  WriteText(m_hex, test_images::Record(0, 0, {1, 2, 3}) + "\r\n");
  const auto result = HexImageConverter::Convert(m_hex, m_image);
  EXPECT_EQ(result.outcome, Outcome::NoEndRecord);
  EXPECT_FALSE(result.ReadyToLoad());
  EXPECT_TRUE(result.message.empty());
  EXPECT_EQ(FileBytes(m_image), (std::vector<uint8_t>{1, 2, 3}));
}

TEST_F(HexImageConverterTest, FilesThatCannotBeUsedGiveTheirMessages) {
  const auto missing = HexImageConverter::Convert(m_dir / "absent.hex", m_image);
  EXPECT_EQ(missing.outcome, Outcome::HexNotOpened);
  EXPECT_EQ(missing.message, "打开HEX文件失败！请重试");
  EXPECT_EQ(HexImageConverter::Convert(m_dir.Path(), m_image).message, "打开HEX文件失败！请重试");

  WriteText(m_hex, test_images::HexFile(test_images::Pattern(16)));
  // The image's directory is taken by a file.
  WriteText(m_dir / "blocked", "x");
  const auto blocked = HexImageConverter::Convert(m_hex, m_dir / "blocked" / "test.bin");
  EXPECT_EQ(blocked.outcome, Outcome::NoImageDirectory);
  EXPECT_EQ(blocked.message, "请以管理员权限打开软件\n");
  const auto under = HexImageConverter::Convert(m_hex, m_dir / "blocked" / "deeper" / "test.bin");
  EXPECT_EQ(under.outcome, Outcome::NoImageDirectory);

  // The image's own name is taken by a directory that cannot be removed.
  fs::create_directories(m_dir / "taken" / "test.bin" / "inside");
  const auto taken = HexImageConverter::Convert(m_hex, m_dir / "taken" / "test.bin");
  EXPECT_EQ(taken.outcome, Outcome::ImageNotCreated);
  EXPECT_EQ(taken.message, "系统故障");
}

TEST(FirmwareImageFileTest, TheImageLivesUnderTheUsersDataDirectory) {
  EXPECT_EQ(FirmwareImageFile::PathFor("/data/home", "/home/eng"),
            fs::path("/data/home/tavrik/test.bin"));
  // A relative XDG_DATA_HOME is invalid and ignored.
  EXPECT_EQ(FirmwareImageFile::PathFor("relative", "/home/eng"),
            fs::path("/home/eng/.local/share/tavrik/test.bin"));
  EXPECT_EQ(FirmwareImageFile::PathFor(nullptr, "/home/eng"),
            fs::path("/home/eng/.local/share/tavrik/test.bin"));
  EXPECT_EQ(FirmwareImageFile::PathFor(nullptr, nullptr).filename(), "test.bin");
}

TEST(FirmwareImageFileTest, ReadGivesTheBytesOrNothing) {
  ScratchDirectory dir;
  EXPECT_FALSE(FirmwareImageFile::Read(dir / "absent.bin").has_value());
  EXPECT_FALSE(FirmwareImageFile::Read(dir.Path()).has_value());
  WriteText(dir / "image.bin", std::string("\x00\x01\xFF", 3));
  EXPECT_EQ(FirmwareImageFile::Read(dir / "image.bin"), (std::vector<uint8_t>{0, 1, 0xFF}));
}

}  // namespace
