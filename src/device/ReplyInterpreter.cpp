#include "device/ReplyInterpreter.h"

#include "device/DeviceControlIds.h"
#include "device/OdometerValueLine.h"

namespace {

constexpr std::string_view kSerialNumberPattern = "*PA AUTO SN=";
constexpr size_t kStatusRatePosition = 17;

std::string RateTextOfStatus(uint8_t code) {
  switch (code) {
    case '1':
      return "100HZ";
    case '2':
      return "200HZ";
    case '3':
      return "300HZ";
    case '6':
      return "600HZ";
    default:
      return {};
  }
}

}  // namespace

ReplyInterpreter::ReplyInterpreter(ReplyWindow& window, DeviceVariant variant)
    : m_window(window), m_variant(variant) {}

void ReplyInterpreter::OnReplyByte(uint8_t byte) {
  if (m_assembler.EndsLine(byte)) {
    InterpretLine();
    m_assembler.LineInterpreted();
  }
  // The LF is stored after the line was read; collection runs on past it.
  m_assembler.Take(byte);
}

void ReplyInterpreter::InterpretLine() {
  if (ApplyFirstMatch(CommonReplyRows())) return;
  // A variant's own rows come first. The odometer answers follow for every
  // variant: the parameter dialog is offered for all of them, and a unit's
  // values or acknowledgement must not vanish because of its variant.
  if (auto variantRows = VariantReplyRows(m_variant)) {
    if (ApplyFirstMatch(*variantRows)) return;
  }
  if (TakeOdometerValues()) return;
  ApplyFirstMatch(OdometerAckRows());
}

bool ReplyInterpreter::ApplyFirstMatch(std::span<const ReplyRow> rows) {
  for (const ReplyRow& row : rows) {
    if (m_assembler.Buffer().StartsWith(row.pattern)) {
      Apply(row);
      return true;
    }
  }
  return false;
}

void ReplyInterpreter::Apply(const ReplyRow& row) {
  const std::string message(row.message);
  const std::string label(row.label);
  switch (row.effect) {
    case ReplyEffect::Message:
      m_window.ShowMessage(message);
      break;
    case ReplyEffect::SerialNumber:
      ReportSerialNumber();
      break;
    case ReplyEffect::StatusReply:
      HandleStatusReply();
      break;
    case ReplyEffect::StopConfirmed:
      HandleStopConfirmed(row);
      break;
    case ReplyEffect::LabelThenMessage:
      m_window.SetSceneLabel(label);
      m_window.ShowMessage(message);
      break;
    case ReplyEffect::MessageThenLabel:
      m_window.ShowMessage(message);
      m_window.SetSceneLabel(label);
      break;
    case ReplyEffect::RtkOn:
      m_window.ShowMessage(message);
      m_assembler.Buffer().Zero();
      break;
  }
}

// The serial number runs from the end of the pattern to the line's CR, which
// is the last byte stored; bytes an earlier, longer line left behind it are
// not part of this reply.
void ReplyInterpreter::ReportSerialNumber() {
  const size_t crPosition = m_assembler.StoreIndex() - 1;
  const size_t start = kSerialNumberPattern.size();
  const std::string serial =
      crPosition > start ? m_assembler.Buffer().Copy(start, crPosition - start) : std::string();
  m_window.ShowMessage("产品的SN=" + serial + "\n");
}

void ReplyInterpreter::HandleStatusReply() {
  const std::string rate = RateTextOfStatus(m_assembler.Buffer().At(kStatusRatePosition));
  if (!rate.empty()) m_window.SetOdometerText(rate);
  m_window.SetReceiveMode(ReceiveMode::Live);
}

void ReplyInterpreter::HandleStopConfirmed(const ReplyRow& row) {
  using namespace DeviceControlIds;
  m_window.ShowMessage(std::string(row.message));
  m_window.EnableControl(kStartOutput, true);
  if (m_variant != DeviceVariant::KemRTK) {
    m_window.EnableControl(kFactoryReset, true);
    m_window.EnableControl(kOdometerParameters, true);
  }
  if (m_variant == DeviceVariant::QELV3_11) {
    m_window.EnableControl(kFrameFormatSet, false);
    m_window.EnableControl(kBaudSet, false);
    m_window.EnableControl(kSceneSet, false);
  }
  // The KDV1 unit reports its output rate only when asked; its status reply
  // then brings the window back to live frames.
  if (m_variant == DeviceVariant::KDV1 && m_window.IsPortOpen()) {
    m_window.SendDeviceCommand("*PA AUTO STATUS", ReceiveMode::Command);
  }
}

bool ReplyInterpreter::TakeOdometerValues() {
  auto values = ReadOdometerValueLine(m_assembler.Buffer());
  if (!values) return false;
  m_window.SetOdometerValueTexts(*values);
  return true;
}
