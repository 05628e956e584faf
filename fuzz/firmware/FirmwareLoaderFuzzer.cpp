// Arbitrary answers from the unit, time passing and lost ports through the
// firmware loader. Whatever comes, every write must be a command, an EOT or a
// well-formed packet carrying the right part of the image, and "finished"
// may only follow the EOT and the closing block.
//
// Input: two bytes of image size, then a script: 0xF0 n lets n * 100 ms pass
// and ticks, 0xF1 loses the port, 0xF2 starts again, 0xF3 sends "main",
// anything else is a byte from the unit.
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "device/BootBlock.h"
#include "device/FirmwareLoader.h"

namespace {

using Clock = FirmwareLoader::Clock;

uint16_t Crc(const uint8_t* data, size_t count) {
  uint16_t crc = 0;
  for (size_t i = 0; i < count; ++i) {
    for (int bit = 7; bit >= 0; --bit) {
      const bool feedback = ((crc >> 15) ^ (data[i] >> bit)) & 1;
      crc = uint16_t(crc << 1);
      if (feedback) crc ^= 0x1021;
    }
  }
  return crc;
}

class Checker {
 public:
  explicit Checker(std::vector<uint8_t> image) : m_image(std::move(image)) {}

  void Started(const FirmwareLoaderActions& actions) {
    m_running = true;
    m_sentEot = false;
    m_lastBlock = -1;
    Check(actions, true);
  }

  void Check(const FirmwareLoaderActions& actions, bool starting = false) {
    if (!m_running && !actions.empty()) std::abort();  // an idle loader answers nothing
    bool closingSent = false;
    for (const FirmwareLoaderAction& action : actions) {
      switch (action.kind) {
        case FirmwareLoaderAction::Kind::Write:
          if (action.purgeInputFirst != (starting && action.bytes == Bytes("reset!"))) std::abort();
          closingSent = CheckWrite(action.bytes);
          break;
        case FirmwareLoaderAction::Kind::Label:
          if (action.text.empty()) std::abort();
          break;
        case FirmwareLoaderAction::Kind::Progress:
          break;
        case FirmwareLoaderAction::Kind::Finished:
          if (!m_sentEot || !closingSent || action.imageBytes != m_image.size()) std::abort();
          m_running = false;
          break;
        case FirmwareLoaderAction::Kind::Failed:
          if (action.text.rfind("升级失败：", 0) != 0 || action.text.back() != '\n') std::abort();
          m_running = false;
          break;
      }
    }
  }

  bool Running() const { return m_running; }

 private:
  static std::vector<uint8_t> Bytes(const std::string& text) {
    return std::vector<uint8_t>(text.begin(), text.end());
  }

  // True for the closing block.
  bool CheckWrite(const std::vector<uint8_t>& bytes) {
    if (bytes == Bytes("reset!") || bytes == Bytes("ks")) {
      m_lastBlock = -1;
      m_sentEot = false;
      return false;
    }
    if (bytes == std::vector<uint8_t>{BootBlock::kEot}) {
      if (m_lastBlock < 1) std::abort();
      m_sentEot = true;
      return false;
    }
    if (bytes.size() != BootBlock::kSize || bytes[0] != BootBlock::kSoh ||
        uint8_t(bytes[1] + bytes[2]) != 0xFF ||
        Crc(&bytes[3], 128) != uint16_t(bytes[131] << 8 | bytes[132]))
      std::abort();
    if (m_sentEot) {  // after the EOT only the empty closing block
      for (size_t i = 1; i < 131; ++i)
        if (bytes[i] != (i == 2 ? 0xFF : 0)) std::abort();
      return true;
    }
    if (bytes[1] == 0 && m_lastBlock <= 0) {  // the header, perhaps again
      const std::string size = std::to_string(m_image.size()) + "  ";
      const size_t nul = std::string(reinterpret_cast<const char*>(&bytes[3]), 128).find('\0');
      if (nul == std::string::npos ||
          std::string(reinterpret_cast<const char*>(&bytes[4 + nul]), size.size()) != size)
        std::abort();
      m_lastBlock = 0;
      return false;
    }
    // A data block: the next one, or the last one again.
    const long block = uint8_t(m_lastBlock + 1) == bytes[1] ? m_lastBlock + 1 : m_lastBlock;
    if (block < 1 || uint8_t(block) != bytes[1]) std::abort();
    const size_t from = size_t(block - 1) * 128;
    for (size_t i = 0; i < 128; ++i) {
      const uint8_t expected = from + i < m_image.size() ? m_image[from + i] : 0;
      if (bytes[3 + i] != expected) std::abort();
    }
    m_lastBlock = block;
    return false;
  }

  std::vector<uint8_t> m_image;
  bool m_running = false;
  bool m_sentEot = false;
  long m_lastBlock = -1;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  std::vector<uint8_t> image((size_t(data[0]) << 8 | data[1]) % 4096);
  for (size_t i = 0; i < image.size(); ++i) image[i] = uint8_t(i * 13 + (i >> 7));

  Clock::time_point now{};
  FirmwareLoader loader([&now] { return now; });
  Checker checker(image);
  checker.Started(loader.Start(image, "APP.hex"));
  for (size_t i = 2; i < size; ++i) {
    const uint8_t op = data[i];
    if (op == 0xF0 && i + 1 < size) {
      now += std::chrono::milliseconds(100) * data[++i];
      checker.Check(loader.Tick());
    } else if (op == 0xF1) {
      checker.Check(loader.PortLost());
    } else if (op == 0xF2) {
      checker.Started(loader.Start(image, "APP.hex"));
    } else if (op == 0xF3) {
      for (char c : std::string("main")) checker.Check(loader.OnUpgradeByte(uint8_t(c)));
    } else {
      checker.Check(loader.OnUpgradeByte(op));
    }
    if (checker.Running() != loader.Running()) std::abort();
  }
  return 0;
}
