#pragma once

#include <array>
#include <optional>
#include <string>

// The "*PA AUTO" lines of the main window's setting buttons and the choices
// their selectors offer, in the order the unit numbers them. Commands come
// without their CR LF, which the sender appends.
namespace UnitCommands {

inline constexpr const char* kStartOutput = "*PA AUTO START";
inline constexpr const char* kStopOutput = "*PA AUTO STOP";
inline constexpr const char* kFactoryReset = "*PA AUTO ODO RESET";
inline constexpr const char* kQuerySerialNumber = "*PA AUTO SN?";

inline constexpr std::array<const char*, 3> kFrameFormats{"帧格式1", "帧格式2", "帧格式3"};
inline constexpr std::array<const char*, 3> kBaudRates{"115200", "230400", "460800"};
inline constexpr std::array<const char*, 6> kScenes{"车载",   "室内", "船载",
                                                    "固定翼", "旋翼", "直升机"};

// "*PA AUTO FRAME<digit>": the digit the frame format's text carries after
// "帧格式", whatever the selector holds, as the unit reads it; nothing when
// that place holds no plain character.
std::optional<std::string> FrameFormat(const std::string& selectorText);
// "*PA AUTO BAUD <n>", n counting the selector's rates from 1; nothing for
// a text that is none of them.
std::optional<std::string> Baud(const std::string& selectorText);
// "*PA AUTO SCENES <n>", n the scene's place from 1 (0 when the selector
// holds none of them, as the unit has always been sent).
std::string Scene(const std::string& selectorText);
// "*PA AUTO OUT FRE <code>" with the profile's code for the rate.
std::string OutputRate(char code);

}  // namespace UnitCommands
