#pragma once

#include <chrono>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "SimOptions.h"
#include "SimStats.h"
#include "tools/unitsim/LoaderLinePacer.h"

// The unit's boot loader: after "reset!" it announces itself, waits for "ks"
// and receives a firmware image as a YMODEM batch of 133-byte packets (header
// block 0 with name and size, data blocks 1, 2, ..., EOT, closing block 0).
// With a loader baud rate its answers come as late as on a line of that rate.
class BootLoader {
 public:
  using Clock = std::chrono::steady_clock;
  static constexpr const char* kAnnouncement = "\r\nTavrik unit boot loader, waiting in main\r\n";
  static constexpr auto kRebootTime = std::chrono::milliseconds(100);
  static constexpr auto kWaitForStart = std::chrono::seconds(10);
  static constexpr auto kPacketStall = std::chrono::seconds(1);

  static constexpr uint8_t kSoh = 0x01;
  static constexpr uint8_t kEot = 0x04;
  static constexpr uint8_t kAck = 0x06;
  static constexpr uint8_t kNak = 0x15;
  static constexpr uint8_t kCrcRequest = 'C';
  static constexpr size_t kPacketSize = 133;
  static constexpr size_t kBlockSize = 128;

  explicit BootLoader(const SimOptions& options);

  // "reset!" arrived: the unit restarts into the boot loader.
  void Reset(Clock::time_point now);
  // Between "reset!" and the end of the transfer (or of the wait for "ks"),
  // and until its last answer has gone.
  bool Active() const { return m_state != State::Off || m_line.Holding(); }

  // Bytes from the program; answers go to `out`.
  void Feed(const uint8_t* bytes, size_t count, Clock::time_point now, std::vector<uint8_t>& out,
            SimStats& stats);
  // Timed steps: the announcement, giving up on "ks", a packet cut short.
  void Tick(Clock::time_point now, std::vector<uint8_t>& out, SimStats& stats);
  std::optional<Clock::time_point> NextDeadline() const;

  // The last image received whole, cut to the size in its header.
  const std::vector<uint8_t>& Image() const { return m_image; }
  const std::string& ImageName() const { return m_imageName; }

 private:
  enum class State { Off, Rebooting, WaitingForStart, Receiving };
  enum class Phase { Header, Data, Closing };

  void FeedReceiving(uint8_t byte, Clock::time_point at, std::vector<uint8_t>& out,
                     SimStats& stats);
  void OnPacket(Clock::time_point at, std::vector<uint8_t>& out, SimStats& stats);
  uint8_t AnswerHeader(const uint8_t* data);
  uint8_t AnswerData(uint8_t block, const uint8_t* data);
  void OnEot(Clock::time_point at, std::vector<uint8_t>& out);
  // Answers leave through the line, at once or as late as its baud rate makes them.
  void Emit(std::initializer_list<uint8_t> bytes, Clock::time_point at, std::vector<uint8_t>& out);
  void Finish();
  bool Silent() const;
  void Log(const std::string& text) const;

  const std::string m_imageOutPath;
  const int m_nakEvery;
  const int64_t m_silentAfter;
  const bool m_verbose;
  LoaderLinePacer m_line;

  State m_state = State::Off;
  Phase m_phase = Phase::Header;
  Clock::time_point m_deadline{};
  std::string m_lastTwo;
  std::vector<uint8_t> m_packet;
  std::vector<uint8_t> m_received;
  std::optional<size_t> m_announcedSize;
  std::string m_receivingName;
  uint8_t m_nextBlock = 1;
  uint64_t m_goodDataPackets = 0;
  std::optional<uint8_t> m_deliberateNak;
  int64_t m_packetsAnswered = 0;

  std::vector<uint8_t> m_image;
  std::string m_imageName;
};
