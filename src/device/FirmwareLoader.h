#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "device/AnnouncementMatcher.h"
#include "device/BootBlock.h"
#include "device/FirmwareLoaderAction.h"
#include "device/FirmwareProgress.h"

// Sends a firmware image to the unit's boot loader: "reset!", the wait for
// the announcement "main", "ks", then a YMODEM batch of one file (header
// block 0, data blocks 1, 2, ..., EOT, closing block 0) driven by the unit's
// 'C', ACK and NAK. The upgrade has worked once every block and the EOT are
// acknowledged and the unit asks for the next file with 'C': the closing
// block that answers it only ends the batch, and receivers may leave without
// acknowledging it. It owns no port and no window: every entry point returns
// what its owner must write and show, so the same object runs behind the
// upgrade panel and in tests. Time comes from the injected clock; the owner
// calls Tick() at NextDeadline() (or regularly) so a silent unit ends the
// upgrade with a message instead of hanging it.
class FirmwareLoader {
 public:
  using Clock = std::chrono::steady_clock;
  using NowFunction = std::function<Clock::time_point()>;

  static constexpr std::chrono::seconds kAnnouncementTimeout{10};
  static constexpr std::chrono::seconds kAnswerTimeout{5};
  // A block refused more often than this in a row ends the upgrade.
  static constexpr int kRefusalLimit = 10;
  // Standard YMODEM receivers follow the header's ACK with a 'C' and clear
  // their input, which can swallow data block 1 sent on the ACK; the block
  // goes again when no answer follows the 'C' within this time.
  static constexpr std::chrono::seconds kFirstBlockResend{1};
  static constexpr const char* kResetCommand = "reset!";
  static constexpr const char* kStartCommand = "ks";

  enum class Stage {
    Idle,
    AwaitingAnnouncement,    // "reset!" sent
    AwaitingHeaderRequest,   // "ks" sent, waiting for 'C'
    AwaitingHeaderAnswer,    // header block sent
    AwaitingDataAnswer,      // data block CurrentBlock() sent
    AwaitingEndAnswer,       // EOT sent
    AwaitingClosingRequest,  // EOT acknowledged, waiting for 'C'
  };

  explicit FirmwareLoader(NowFunction now = Clock::now);

  // Starts an upgrade from scratch (whatever an earlier one left behind) with
  // `image`, announced under `name` (shortened to 19 bytes when longer).
  FirmwareLoaderActions Start(std::vector<uint8_t> image, std::string_view name);
  // The same with the image file; none, and nothing started, when the file
  // cannot be read ("读取HEX文件失败！请尝试管理员权限打开").
  std::optional<FirmwareLoaderActions> StartFromFile(const std::filesystem::path& imagePath,
                                                     std::string_view name);

  // Every byte the unit sends while the upgrade runs, in arrival order.
  FirmwareLoaderActions OnUpgradeByte(uint8_t byte);
  // Time-outs and the delayed resend of block 1.
  FirmwareLoaderActions Tick();
  // The port closed or vanished: a running upgrade fails.
  FirmwareLoaderActions PortLost();
  // Forgets a running upgrade without a report (the window is closing).
  void Abandon();

  bool Running() const { return m_stage != Stage::Idle; }
  Stage CurrentStage() const { return m_stage; }
  // Counter of the data block last sent (1-based; its number on the line is
  // the low 8 bits).
  uint32_t CurrentBlock() const { return m_block; }
  std::optional<Clock::time_point> NextDeadline() const;
  FirmwareProgress Progress() const;

 private:
  void Announced(FirmwareLoaderActions& actions);
  void OnBlockAnswer(uint8_t byte, FirmwareLoaderActions& actions);
  void OnEndByte(uint8_t byte, FirmwareLoaderActions& actions);
  void SendHeader(FirmwareLoaderActions& actions);
  void SendDataBlock(uint32_t block, FirmwareLoaderActions& actions);
  void SendPacket(const BootBlock::Packet& packet, FirmwareLoaderActions& actions);
  void SendEot(FirmwareLoaderActions& actions);
  void Repeat(FirmwareLoaderActions& actions);
  void Confirmed(uint32_t block, FirmwareLoaderActions& actions);
  void Write(std::vector<uint8_t> bytes, bool purge, FirmwareLoaderActions& actions);
  void SetLabel(std::string text, bool visible, FirmwareLoaderActions& actions);
  void Arm(Clock::duration timeout);
  void Fail(const std::string& reason, FirmwareLoaderActions& actions);
  void Finish(FirmwareLoaderActions& actions);
  std::string TimeoutReason() const;
  std::string RefusalReason() const;
  bool LastBlockSent() const { return m_lastReadCount < BootBlock::kDataSize; }

  NowFunction m_now;
  Stage m_stage = Stage::Idle;
  // From "reset!" until the short last block has gone: an announcement in
  // this time (the unit restarted) begins the transfer again.
  bool m_loading = false;
  AnnouncementMatcher m_matcher;

  std::vector<uint8_t> m_image;
  std::string m_name;
  uint32_t m_block = 0;
  size_t m_lastReadCount = BootBlock::kDataSize;
  BootBlock::Packet m_packet{};
  int m_refusals = 0;
  Clock::time_point m_deadline{};
  std::optional<Clock::time_point> m_resendAt;

  Clock::time_point m_startedAt{};
  std::optional<double> m_endSeconds;
  uint32_t m_blocksConfirmed = 0;

  std::string m_labelText;
  bool m_labelVisible = false;
};
