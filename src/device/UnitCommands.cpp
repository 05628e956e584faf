#include "device/UnitCommands.h"

#include <algorithm>
#include <cstdint>
#include <iterator>

namespace UnitCommands {

namespace {

// The byte at `offset` of a UTF-8 text as the unit's code page lays it out:
// every character outside ASCII takes two bytes there (four beyond the
// basic plane). 0 when the text is too short or the byte falls inside a
// wider character.
char CodePageByteAt(const std::string& text, size_t offset) {
  size_t position = 0;
  for (size_t i = 0; i < text.size();) {
    const auto lead = static_cast<uint8_t>(text[i]);
    const size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
    const size_t width = lead < 0x80 ? 1 : length == 4 ? 4 : 2;
    if (position == offset) return width == 1 ? text[i] : 0;
    position += width;
    if (position > offset) return 0;
    i += length;
  }
  return 0;
}

template <size_t N>
int PlaceOf(const std::array<const char*, N>& choices, const std::string& text) {
  const auto found = std::find(choices.begin(), choices.end(), text);
  return found == choices.end() ? -1 : static_cast<int>(std::distance(choices.begin(), found));
}

}  // namespace

std::optional<std::string> FrameFormat(const std::string& selectorText) {
  // "帧格式" is six bytes in the unit's code page; the digit follows.
  const char digit = CodePageByteAt(selectorText, 6);
  if (digit == 0) return std::nullopt;
  return std::string("*PA AUTO FRAME") + digit;
}

std::optional<std::string> Baud(const std::string& selectorText) {
  const int place = PlaceOf(kBaudRates, selectorText);
  if (place < 0) return std::nullopt;
  return "*PA AUTO BAUD " + std::to_string(place + 1);
}

std::string Scene(const std::string& selectorText) {
  return "*PA AUTO SCENES " + std::to_string(PlaceOf(kScenes, selectorText) + 1);
}

std::string OutputRate(char code) {
  return std::string("*PA AUTO OUT FRE ") + code;
}

}  // namespace UnitCommands
