#pragma once

// Main-window controls that reply handling enables or disables, by their
// dialog-template numbers.
namespace DeviceControlIds {

inline constexpr int kFrameFormatSet = 1051;
inline constexpr int kBaudSet = 1053;
inline constexpr int kFactoryReset = 1056;
inline constexpr int kStartOutput = 1060;
inline constexpr int kStopOutput = 1061;
inline constexpr int kSceneSet = 1075;
inline constexpr int kSceneLabel = 1080;
inline constexpr int kOdometerParameters = 1082;
inline constexpr int kRateSet = 1084;

}  // namespace DeviceControlIds
