#pragma once

#include <cstdint>
#include <string>
#include <vector>

// One thing the firmware loader asks its owner to do, in the order given.
struct FirmwareLoaderAction {
  enum class Kind {
    Write,     // send `bytes`; discard unread input first only if `purgeInputFirst`
    Label,     // the progress label (1071) now reads `text` and is shown or hidden
    Progress,  // more blocks confirmed: read FirmwareLoader::Progress()
    Finished,  // the unit took the whole image and ended the file: "下载完成！"
    Failed,    // the upgrade ended without success: show `text`
  };

  Kind kind = Kind::Write;
  std::vector<uint8_t> bytes;
  // Only the restart command clears the line: a purge before a boot-loader
  // packet could swallow the unit's answer to the one before.
  bool purgeInputFirst = false;
  std::string text;
  bool labelVisible = false;
  uint64_t imageBytes = 0;  // Finished
  double seconds = 0;       // Finished: from the restart command to the closing block

  static FirmwareLoaderAction WriteBytes(std::vector<uint8_t> bytes, bool purgeInputFirst) {
    FirmwareLoaderAction action;
    action.bytes = std::move(bytes);
    action.purgeInputFirst = purgeInputFirst;
    return action;
  }
  static FirmwareLoaderAction SetLabel(std::string text, bool visible) {
    FirmwareLoaderAction action;
    action.kind = Kind::Label;
    action.text = std::move(text);
    action.labelVisible = visible;
    return action;
  }
  static FirmwareLoaderAction ProgressChanged() {
    FirmwareLoaderAction action;
    action.kind = Kind::Progress;
    return action;
  }
  static FirmwareLoaderAction Done(std::string text, uint64_t imageBytes, double seconds) {
    FirmwareLoaderAction action;
    action.kind = Kind::Finished;
    action.text = std::move(text);
    action.imageBytes = imageBytes;
    action.seconds = seconds;
    return action;
  }
  static FirmwareLoaderAction Failure(std::string text) {
    FirmwareLoaderAction action;
    action.kind = Kind::Failed;
    action.text = std::move(text);
    return action;
  }
};

using FirmwareLoaderActions = std::vector<FirmwareLoaderAction>;
