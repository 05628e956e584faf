#include "device/FirmwareLoader.h"

#include <algorithm>

#include "device/FirmwareImageFile.h"
#include "device/FirmwareTexts.h"

namespace {

std::vector<uint8_t> Bytes(std::string_view text) {
  return std::vector<uint8_t>(text.begin(), text.end());
}

}  // namespace

FirmwareLoader::FirmwareLoader(NowFunction now) : m_now(std::move(now)) {}

FirmwareLoaderActions FirmwareLoader::Start(std::vector<uint8_t> image, std::string_view name) {
  Abandon();
  m_blocksConfirmed = 0;
  m_image = std::move(image);
  m_name = BootBlock::ShortenedName(name);
  m_startedAt = m_now();
  m_endSeconds.reset();
  m_stage = Stage::AwaitingAnnouncement;
  m_loading = true;
  Arm(kAnnouncementTimeout);

  FirmwareLoaderActions actions;
  // Stale frames still waiting in the input may go; nothing of the boot
  // loader can be among them yet.
  Write(Bytes(kResetCommand), true, actions);
  SetLabel(FirmwareTexts::kLabelStarting, true, actions);
  return actions;
}

std::optional<FirmwareLoaderActions> FirmwareLoader::StartFromFile(
    const std::filesystem::path& imagePath, std::string_view name) {
  std::optional<std::vector<uint8_t>> image = FirmwareImageFile::Read(imagePath);
  if (!image) return std::nullopt;
  return Start(std::move(*image), name);
}

void FirmwareLoader::Abandon() {
  m_stage = Stage::Idle;
  m_loading = false;
  m_matcher.Reset();
  m_block = 0;
  m_lastReadCount = BootBlock::kDataSize;
  m_packet = {};
  m_refusals = 0;
  m_resendAt.reset();
}

FirmwareLoaderActions FirmwareLoader::OnUpgradeByte(uint8_t byte) {
  FirmwareLoaderActions actions;
  if (m_stage == Stage::Idle) return actions;  // nothing asked, nothing answered
  if (m_loading && m_matcher.Feed(byte)) {
    Announced(actions);
    return actions;
  }
  switch (m_stage) {
    case Stage::AwaitingHeaderRequest:
      if (byte == BootBlock::kCrcRequest) SendHeader(actions);
      break;
    case Stage::AwaitingHeaderAnswer:
    case Stage::AwaitingDataAnswer:
      OnBlockAnswer(byte, actions);
      break;
    case Stage::AwaitingEndAnswer:
    case Stage::AwaitingClosingRequest:
      OnEndByte(byte, actions);
      break;
    case Stage::Idle:
    case Stage::AwaitingAnnouncement:
      break;
  }
  return actions;
}

void FirmwareLoader::Announced(FirmwareLoaderActions& actions) {
  // Also mid-transfer: a unit that announces itself again has restarted and
  // takes the image from its first block.
  m_block = 0;
  m_lastReadCount = BootBlock::kDataSize;
  m_refusals = 0;
  m_resendAt.reset();
  if (m_blocksConfirmed != 0) {
    m_blocksConfirmed = 0;
    actions.push_back(FirmwareLoaderAction::ProgressChanged());
  }
  m_stage = Stage::AwaitingHeaderRequest;
  Arm(kAnnouncementTimeout);
  Write(Bytes(kStartCommand), false, actions);
  SetLabel(FirmwareTexts::kLabelAnnounced, true, actions);
}

void FirmwareLoader::OnBlockAnswer(uint8_t byte, FirmwareLoaderActions& actions) {
  if (byte == BootBlock::kAck) {
    m_resendAt.reset();
    m_refusals = 0;
    if (m_stage == Stage::AwaitingHeaderAnswer) {
      SendDataBlock(1, actions);
    } else {
      Confirmed(m_block, actions);
      if (LastBlockSent()) {
        SendEot(actions);
      } else {
        SendDataBlock(m_block + 1, actions);
      }
    }
  } else if (byte == BootBlock::kNak) {
    m_resendAt.reset();
    Repeat(actions);
  } else if (byte == BootBlock::kCrcRequest) {
    // A receiver asking again for the header has not got it; one asking right
    // after acknowledging the header may have cleared block 1 away.
    if (m_stage == Stage::AwaitingHeaderAnswer) {
      Repeat(actions);
    } else if (m_block == 1 && !m_resendAt) {
      m_resendAt = m_now() + kFirstBlockResend;
    }
  }
}

void FirmwareLoader::OnEndByte(uint8_t byte, FirmwareLoaderActions& actions) {
  if (m_stage == Stage::AwaitingEndAnswer) {
    if (byte == BootBlock::kAck) {
      m_stage = Stage::AwaitingClosingRequest;
      m_refusals = 0;
      Arm(kAnswerTimeout);
    } else if (byte == BootBlock::kNak) {
      // Standard receivers refuse the first EOT to be sure it is one.
      if (++m_refusals > kRefusalLimit) return Fail(FirmwareTexts::kEndRefused, actions);
      SendEot(actions);
    }
  } else if (byte == BootBlock::kCrcRequest) {
    if (m_labelVisible) SetLabel(m_labelText, false, actions);
    SendPacket(BootBlock::Closing(), actions);
    Finish(actions);
  }
}

void FirmwareLoader::SendHeader(FirmwareLoaderActions& actions) {
  m_stage = Stage::AwaitingHeaderAnswer;
  m_block = 0;
  m_lastReadCount = BootBlock::kDataSize;
  SendPacket(BootBlock::Header(m_name, m_image.size()), actions);
  SetLabel(FirmwareTexts::kLabelErasing, true, actions);
}

void FirmwareLoader::SendDataBlock(uint32_t block, FirmwareLoaderActions& actions) {
  const size_t offset = size_t(block - 1) * BootBlock::kDataSize;
  const size_t count =
      offset < m_image.size() ? std::min(BootBlock::kDataSize, m_image.size() - offset) : 0;
  m_stage = Stage::AwaitingDataAnswer;
  m_block = block;
  m_lastReadCount = count;
  SendPacket(BootBlock::Data(block, m_image.data() + std::min(offset, m_image.size()), count),
             actions);
  if (LastBlockSent()) {
    m_loading = false;
    SetLabel(FirmwareTexts::kLabelLastBlock, false, actions);
  } else {
    SetLabel(block % 2 != 0 ? FirmwareTexts::kLabelOddBlock : FirmwareTexts::kLabelEvenBlock,
             m_labelVisible, actions);
  }
}

void FirmwareLoader::SendPacket(const BootBlock::Packet& packet, FirmwareLoaderActions& actions) {
  m_packet = packet;
  m_refusals = 0;
  Write(std::vector<uint8_t>(packet.begin(), packet.end()), false, actions);
  Arm(kAnswerTimeout);
}

void FirmwareLoader::SendEot(FirmwareLoaderActions& actions) {
  m_stage = Stage::AwaitingEndAnswer;
  Write({BootBlock::kEot}, false, actions);
  Arm(kAnswerTimeout);
}

void FirmwareLoader::Repeat(FirmwareLoaderActions& actions) {
  if (++m_refusals > kRefusalLimit) return Fail(RefusalReason(), actions);
  Write(std::vector<uint8_t>(m_packet.begin(), m_packet.end()), false, actions);
  Arm(kAnswerTimeout);
  SetLabel(FirmwareTexts::kLabelRepeat, m_labelVisible, actions);
}

void FirmwareLoader::Confirmed(uint32_t block, FirmwareLoaderActions& actions) {
  m_blocksConfirmed = block;
  actions.push_back(FirmwareLoaderAction::ProgressChanged());
}

FirmwareLoaderActions FirmwareLoader::Tick() {
  FirmwareLoaderActions actions;
  if (m_stage == Stage::Idle) return actions;
  const Clock::time_point now = m_now();
  if (m_resendAt && now >= *m_resendAt) {
    m_resendAt.reset();
    Repeat(actions);
    if (m_stage == Stage::Idle) return actions;
  }
  if (now >= m_deadline) Fail(TimeoutReason(), actions);
  return actions;
}

FirmwareLoaderActions FirmwareLoader::PortLost() {
  FirmwareLoaderActions actions;
  if (m_stage != Stage::Idle) Fail(FirmwareTexts::kPortLost, actions);
  return actions;
}

std::optional<FirmwareLoader::Clock::time_point> FirmwareLoader::NextDeadline() const {
  if (m_stage == Stage::Idle) return std::nullopt;
  return m_resendAt ? std::min(*m_resendAt, m_deadline) : m_deadline;
}

FirmwareProgress FirmwareLoader::Progress() const {
  FirmwareProgress progress;
  progress.name = m_name;
  progress.imageBytes = m_image.size();
  progress.blocksTotal = uint32_t(m_image.size() / BootBlock::kDataSize + 1);
  progress.blocksConfirmed = m_blocksConfirmed;
  progress.bytesConfirmed =
      std::min<uint64_t>(uint64_t(m_blocksConfirmed) * BootBlock::kDataSize, m_image.size());
  if (m_endSeconds) {
    progress.elapsedSeconds = *m_endSeconds;
  } else if (m_stage != Stage::Idle) {
    progress.elapsedSeconds = std::chrono::duration<double>(m_now() - m_startedAt).count();
  }
  return progress;
}

void FirmwareLoader::Write(std::vector<uint8_t> bytes, bool purge, FirmwareLoaderActions& actions) {
  actions.push_back(FirmwareLoaderAction::WriteBytes(std::move(bytes), purge));
}

void FirmwareLoader::SetLabel(std::string text, bool visible, FirmwareLoaderActions& actions) {
  m_labelText = text;
  m_labelVisible = visible;
  actions.push_back(FirmwareLoaderAction::SetLabel(std::move(text), visible));
}

void FirmwareLoader::Arm(Clock::duration timeout) {
  m_deadline = m_now() + timeout;
}

void FirmwareLoader::Fail(const std::string& reason, FirmwareLoaderActions& actions) {
  m_endSeconds = std::chrono::duration<double>(m_now() - m_startedAt).count();
  Abandon();
  if (m_labelVisible) SetLabel(m_labelText, false, actions);
  actions.push_back(FirmwareLoaderAction::Failure(FirmwareTexts::kFailedBefore + reason + "\n"));
}

void FirmwareLoader::Finish(FirmwareLoaderActions& actions) {
  const double seconds = std::chrono::duration<double>(m_now() - m_startedAt).count();
  Abandon();
  m_endSeconds = seconds;
  actions.push_back(FirmwareLoaderAction::Done(FirmwareTexts::kDone, m_image.size(), seconds));
}

std::string FirmwareLoader::TimeoutReason() const {
  switch (m_stage) {
    case Stage::AwaitingHeaderAnswer:
      return std::string(FirmwareTexts::kBlockTimeoutBefore) + "0" +
             FirmwareTexts::kBlockTimeoutAfter;
    case Stage::AwaitingDataAnswer:
      return FirmwareTexts::kBlockTimeoutBefore + std::to_string(m_block) +
             FirmwareTexts::kBlockTimeoutAfter;
    case Stage::AwaitingEndAnswer:
    case Stage::AwaitingClosingRequest:
      return FirmwareTexts::kEndTimeout;
    case Stage::Idle:
    case Stage::AwaitingAnnouncement:
    case Stage::AwaitingHeaderRequest:
      break;
  }
  return FirmwareTexts::kNoAnnouncement;
}

std::string FirmwareLoader::RefusalReason() const {
  const uint32_t block = m_stage == Stage::AwaitingDataAnswer ? m_block : 0;
  return FirmwareTexts::kBlockRefusedBefore + std::to_string(block) +
         FirmwareTexts::kBlockRefusedAfter;
}
