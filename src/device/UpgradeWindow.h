#pragma once

#include <string>

#include "device/FirmwareProgress.h"

// What a firmware upgrade shows in the main window: the progress label
// (1071), the progress area and the boxes at its end. All calls come on the
// GUI thread, in the order the loader asks for them.
class UpgradeWindow {
 public:
  virtual ~UpgradeWindow() = default;

  virtual void SetUpgradeLabel(const std::string& text, bool visible) = 0;
  virtual void ShowUpgradeProgress(const FirmwareProgress& progress) = 0;
  // The unit has the whole image ("下载完成！"); the receive mode is Idle.
  virtual void UpgradeFinished(const std::string& text, const FirmwareProgress& progress) = 0;
  // The upgrade ended without success ("升级失败：…"); the mode is Idle.
  virtual void UpgradeFailed(const std::string& text) = 0;
};
