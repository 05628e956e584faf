#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <utility>

#include "device/DeviceProfile.h"
#include "device/ReplyLineAssembler.h"
#include "device/ReplyTable.h"
#include "device/ReplyWindow.h"

// Turns the unit's reply bytes into what the user sees: each completed line is
// matched against the known replies and reported through the window. Lines it
// does not know are ignored, since the unit also echoes commands and prints
// lines that need no answer.
class ReplyInterpreter {
 public:
  ReplyInterpreter(ReplyWindow& window, DeviceVariant variant);

  // The variant comes from the configuration file, which may be read after
  // the window (and this interpreter) was built.
  void SetDeviceVariant(DeviceVariant variant) { m_variant = variant; }

  // One received byte, in arrival order, while command replies are expected.
  void OnReplyByte(uint8_t byte);

  // The line being assembled, as the unit's bytes left it.
  const ReplyLineBuffer& LineBuffer() const { return m_assembler.Buffer(); }

 private:
  void InterpretLine();
  bool ApplyFirstMatch(std::span<const ReplyRow> rows);
  void Apply(const ReplyRow& row);
  void ReportSerialNumber();
  void HandleStatusReply();
  void HandleStopConfirmed(const ReplyRow& row);
  bool TakeOdometerValues();

  ReplyWindow& m_window;
  DeviceVariant m_variant;
  ReplyLineAssembler m_assembler;
};
