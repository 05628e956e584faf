#pragma once

// The 3D view's messages, exactly as the user sees them.
namespace View3dTexts {
inline constexpr const char* kChooseFormatFailed = "选择像素格式失败!";
inline constexpr const char* kSetFormatFailed = "设置像素格式失败!";
}  // namespace View3dTexts
