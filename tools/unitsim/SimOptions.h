#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "StreamFormat.h"
#include "device/DeviceProfile.h"

// Everything the command line of tavrik-unitsim sets.
struct SimOptions {
  std::string linkPath;  // symbolic link to the device, if any
  int baud = 460800;     // line pacing; 0 = as fast as the terminal takes
  int rateHz = 100;      // frames per second; 0 = back to back
  StreamFormat format;
  uint64_t frameLimit = 0;  // stop streaming after this many frames; 0 = never
  bool startStopped = false;
  bool staticFrame = false;
  bool signedHeading = false;
  double startLongitude = 116.3;
  double startLatitude = 39.9;

  DeviceVariant variant = DeviceVariant::Other;
  std::vector<std::string> refusedWords;
  std::string serialNumber = "TVK2024A0001";
  bool wideValues = false;

  std::string imageOutPath;
  int nakEvery = 0;          // 0 = never
  int64_t silentAfter = -1;  // packets answered before going silent; -1 = never
  int loaderBaud = 0;        // boot-loader line pacing; 0 = answer at once

  int noisePercent = 0;
  int corruptEvery = 0;  // 0 = never
  std::optional<uint64_t> seed;

  std::string teePath;       // every byte sent is also appended here
  std::string replyLogPath;  // when each answer went out

  bool verbose = false;
};
