#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "device/DeviceProfile.h"

// What a recognised reply line does.
enum class ReplyEffect {
  Message,           // shows the row's message
  SerialNumber,      // shows the serial number that follows the pattern
  StatusReply,       // passes the output rate on, back to live frames
  StopConfirmed,     // output stopped: message, buttons, status query
  LabelThenMessage,  // scene accepted: label first, then the message
  MessageThenLabel,  // scene accepted: message first, then the label
  RtkOn,             // shows the row's message, then clears the line buffer
};

// One reply pattern. A line matches when it starts with the pattern; what
// follows (the CR included) is not compared.
struct ReplyRow {
  std::string_view pattern;
  ReplyEffect effect = ReplyEffect::Message;
  std::string_view message = {};
  std::string_view label = {};
};

// The replies every variant understands, in the order they are tried.
std::span<const ReplyRow> CommonReplyRows();

// The output-rate replies of a variant that has its own, tried after the
// common rows. Nothing for the other variants: they take value lines and
// odometer acknowledgements instead.
std::optional<std::span<const ReplyRow>> VariantReplyRows(DeviceVariant variant);

// Acknowledgements of the odometer parameter writes.
std::span<const ReplyRow> OdometerAckRows();
