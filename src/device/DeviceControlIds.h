#pragma once

#include "mainwindow/TavrikDlgIds.h"

// Main-window controls that reply handling enables or disables, named for
// what they do to the unit.
namespace DeviceControlIds {

inline constexpr int kFrameFormatSet = MainIds::kFrameFormatSetButton;
inline constexpr int kBaudSet = MainIds::kBaudSetButton;
inline constexpr int kFactoryReset = MainIds::kFactoryResetButton;
inline constexpr int kStartOutput = MainIds::kStartOutputButton;
inline constexpr int kStopOutput = MainIds::kStopOutputButton;
inline constexpr int kSceneSet = MainIds::kSceneSetButton;
inline constexpr int kSceneLabel = MainIds::kCurrentSceneLabel;
inline constexpr int kOdometerParameters = MainIds::kOdometerButton;
inline constexpr int kRateSet = MainIds::kRateSetButton;

}  // namespace DeviceControlIds
