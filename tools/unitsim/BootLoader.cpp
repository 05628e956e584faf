#include "BootLoader.h"

#include <cstdio>
#include <cstring>
#include <fstream>

#include "protocol/Crc16Xmodem.h"

BootLoader::BootLoader(const SimOptions& options)
    : m_imageOutPath(options.imageOutPath),
      m_nakEvery(options.nakEvery),
      m_silentAfter(options.silentAfter),
      m_verbose(options.verbose),
      m_line(options.loaderBaud) {}

void BootLoader::Reset(Clock::time_point now) {
  m_line.Clear();
  m_state = State::Rebooting;
  m_deadline = now + kRebootTime;
  Log("reset: rebooting into the boot loader");
}

std::optional<BootLoader::Clock::time_point> BootLoader::NextDeadline() const {
  std::optional<Clock::time_point> next = m_line.NextRelease();
  const bool timed = m_state == State::Rebooting || m_state == State::WaitingForStart ||
                     (m_state == State::Receiving && !m_packet.empty());
  if (timed && (!next || m_deadline < *next)) next = m_deadline;
  return next;
}

void BootLoader::Emit(std::initializer_list<uint8_t> bytes, Clock::time_point at,
                      std::vector<uint8_t>& out) {
  m_line.Answer(bytes.begin(), bytes.size(), at, out);
}

void BootLoader::Tick(Clock::time_point now, std::vector<uint8_t>& out, SimStats& stats) {
  (void)stats;
  m_line.Release(now, out);
  if (m_state == State::Rebooting && now >= m_deadline) {
    const std::string_view text = kAnnouncement;
    m_line.Answer(reinterpret_cast<const uint8_t*>(text.data()), text.size(), now, out);
    m_state = State::WaitingForStart;
    m_deadline = now + kWaitForStart;
    m_lastTwo.clear();
  } else if (m_state == State::WaitingForStart && now >= m_deadline) {
    Log("no \"ks\": starting the application again");
    m_state = State::Off;
  } else if (m_state == State::Receiving && !m_packet.empty() && now >= m_deadline) {
    Log("packet cut short: NAK");
    m_packet.clear();
    if (!Silent()) Emit({kNak}, now, out);
  }
}

void BootLoader::Feed(const uint8_t* bytes, size_t count, Clock::time_point now,
                      std::vector<uint8_t>& out, SimStats& stats) {
  for (size_t i = 0; i < count; ++i) {
    // Paced, the byte is only there once the line has carried it.
    const Clock::time_point at = m_line.Arrival(now);
    if (m_state == State::WaitingForStart) {
      m_lastTwo += char(bytes[i]);
      if (m_lastTwo.size() > 2) m_lastTwo.erase(0, 1);
      if (m_lastTwo == "ks") {
        Log("\"ks\": asking for the header block");
        m_state = State::Receiving;
        m_phase = Phase::Header;
        m_packet.clear();
        m_received.clear();
        m_announcedSize.reset();
        m_receivingName.clear();
        m_nextBlock = 1;
        m_goodDataPackets = 0;
        m_deliberateNak.reset();
        m_packetsAnswered = 0;
        Emit({kCrcRequest}, at, out);
      }
    } else if (m_state == State::Receiving) {
      FeedReceiving(bytes[i], at, out, stats);
    }
  }
}

void BootLoader::FeedReceiving(uint8_t byte, Clock::time_point at, std::vector<uint8_t>& out,
                               SimStats& stats) {
  if (m_packet.empty()) {
    if (byte == kEot) {
      OnEot(at, out);
    } else if (byte == kSoh) {
      m_packet.push_back(byte);
      m_deadline = at + kPacketStall;
    }
    return;  // anything else between packets is line noise
  }
  m_packet.push_back(byte);
  m_deadline = at + kPacketStall;
  if (m_packet.size() == kPacketSize) OnPacket(at, out, stats);
}

void BootLoader::OnPacket(Clock::time_point at, std::vector<uint8_t>& out, SimStats& stats) {
  const uint8_t block = m_packet[1];
  const uint8_t* data = &m_packet[3];
  const uint16_t crc = uint16_t((m_packet[131] << 8) | m_packet[132]);
  const bool intact =
      uint8_t(m_packet[1] + m_packet[2]) == 0xFF && crc == Crc16Xmodem(data, kBlockSize);
  uint8_t answer = kNak;
  if (intact) {
    switch (m_phase) {
      case Phase::Header:
        answer = block == 0 ? AnswerHeader(data) : kNak;
        break;
      case Phase::Data:
        answer = AnswerData(block, data);
        break;
      case Phase::Closing:
        answer = block == 0 ? kAck : kNak;
        break;
    }
  }
  const bool closed = intact && m_phase == Phase::Closing && block == 0;
  Log("packet " + std::to_string(block) + (intact ? "" : " damaged") +
      (answer == kAck ? ": ACK" : ": NAK"));
  m_packet.clear();
  if (!Silent()) {
    Emit({answer}, at, out);
    ++m_packetsAnswered;
    ++stats.packets;
  }
  if (closed) {
    Finish();
    ++stats.images;
  }
}

uint8_t BootLoader::AnswerHeader(const uint8_t* data) {
  const char* text = reinterpret_cast<const char*>(data);
  const size_t nameLength = strnlen(text, kBlockSize);
  m_receivingName.assign(text, nameLength);
  m_announcedSize.reset();
  size_t size = 0;
  bool anyDigit = false;
  for (size_t i = nameLength + 1; i < kBlockSize && data[i] >= '0' && data[i] <= '9'; ++i) {
    size = size * 10 + size_t(data[i] - '0');
    anyDigit = true;
  }
  if (anyDigit) m_announcedSize = size;
  m_phase = Phase::Data;
  m_nextBlock = 1;
  return kAck;
}

uint8_t BootLoader::AnswerData(uint8_t block, const uint8_t* data) {
  if (block == uint8_t(m_nextBlock - 1) && m_deliberateNak != block) return kAck;  // a repeat
  if (block != m_nextBlock) return kNak;
  if (m_deliberateNak == block) {
    m_deliberateNak.reset();  // the resend of a block refused on purpose is taken
  } else if (m_nakEvery > 0 && ++m_goodDataPackets % uint64_t(m_nakEvery) == 0) {
    m_deliberateNak = block;
    return kNak;
  }
  m_received.insert(m_received.end(), data, data + kBlockSize);
  ++m_nextBlock;
  return kAck;
}

void BootLoader::OnEot(Clock::time_point at, std::vector<uint8_t>& out) {
  if (m_phase == Phase::Header) return;
  Log("EOT: ACK, asking for the closing block");
  m_phase = Phase::Closing;
  if (Silent()) return;
  Emit({kAck, kCrcRequest}, at, out);
}

void BootLoader::Finish() {
  m_image = std::move(m_received);
  m_received.clear();
  if (m_announcedSize && *m_announcedSize < m_image.size()) m_image.resize(*m_announcedSize);
  m_imageName = m_receivingName;
  Log("image \"" + m_imageName + "\" received, " + std::to_string(m_image.size()) + " bytes");
  if (!m_imageOutPath.empty()) {
    std::ofstream file(m_imageOutPath, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(m_image.data()), std::streamsize(m_image.size()));
    if (!file) std::fprintf(stderr, "tavrik-unitsim: cannot write %s\n", m_imageOutPath.c_str());
  }
  m_state = State::Off;
}

bool BootLoader::Silent() const {
  return m_silentAfter >= 0 && m_packetsAnswered >= m_silentAfter;
}

void BootLoader::Log(const std::string& text) const {
  if (m_verbose) std::fprintf(stderr, "tavrik-unitsim: boot loader: %s\n", text.c_str());
}
