#pragma once

#include <cstddef>
#include <filesystem>
#include <string>

// Converts an Intel HEX file into the raw image file the loader sends, and
// says in one result what the upgrade panel shows and enables.
class HexImageConverter {
 public:
  enum class Outcome {
    Converted,         // image written, end-of-file record seen: loading may start
    NoEndRecord,       // image written, but the file never ended: nothing shown
    HexNotOpened,      // "打开HEX文件失败！请重试"
    NoImageDirectory,  // "请以管理员权限打开软件\n" (error icon)
    ImageNotCreated,   // "系统故障"
    BadRecord,         // "HEX文件第%d行有误（%s），未生成升级文件！\n"; no image
  };

  struct Result {
    Outcome outcome = Outcome::HexNotOpened;
    std::string message;  // the message box text; empty when nothing is shown
    size_t imageSize = 0;

    bool ReadyToLoad() const { return outcome == Outcome::Converted; }
  };

  // Any earlier image at `imagePath` is removed first, so a refused file
  // never leaves an older image behind to be flashed by mistake. The image's
  // directory is created when missing.
  static Result Convert(const std::filesystem::path& hexPath,
                        const std::filesystem::path& imagePath);
};
