#include "CommandResponder.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

namespace {

constexpr std::string_view kPrefix = "*PA AUTO ";

std::string Upper(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) c = char(std::toupper(static_cast<unsigned char>(c)));
  return upper;
}

std::string_view Trim(std::string_view text) {
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front()))) {
    text.remove_prefix(1);
  }
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) {
    text.remove_suffix(1);
  }
  return text;
}

bool StartsWith(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

// "*PA AUTO <what> 1" when accepted, "... 0" when refused.
std::string Acknowledgement(std::string_view what, bool accepted) {
  return std::string(kPrefix) + std::string(what) + (accepted ? " 1" : " 0");
}

// A single digit in [lowest, highest] after `prefix`, else 0.
int DigitAfter(std::string_view command, std::string_view prefix, int lowest, int highest) {
  if (!StartsWith(command, prefix) || command.size() != prefix.size() + 1) return 0;
  const int digit = command.back() - '0';
  return digit >= lowest && digit <= highest ? digit : 0;
}

}  // namespace

CommandResponder::CommandResponder(const SimOptions& options, UnitSettings& settings)
    : m_variant(options.variant),
      m_serialNumber(options.serialNumber),
      m_wideValues(options.wideValues),
      m_settings(settings) {
  for (const std::string& word : options.refusedWords) m_refusedWords.push_back(Upper(word));
}

bool CommandResponder::IsRefused(std::string_view command) const {
  return std::any_of(m_refusedWords.begin(), m_refusedWords.end(),
                     [&](const std::string& word) { return StartsWith(command, word); });
}

std::vector<std::string> CommandResponder::Answer(std::string_view line) {
  const std::string text = Upper(Trim(line));
  if (text == "*RTK ON") return {IsRefused("*RTK ON") ? "*RTK ON 0" : "*RTK ON 1"};
  if (!StartsWith(text, kPrefix)) return {};
  const std::string command(Trim(std::string_view(text).substr(kPrefix.size())));
  return AnswerCommand(command, IsRefused(command));
}

std::vector<std::string> CommandResponder::AnswerCommand(const std::string& command, bool refused) {
  const bool accepted = !refused;
  if (command == "STOP") {
    if (accepted) m_settings.streaming = false;
    return {Acknowledgement(command, accepted)};
  }
  if (command == "START") {
    if (accepted) m_settings.streaming = true;
    return {Acknowledgement(command, accepted)};
  }
  if (StartsWith(command, "BAUD ")) {
    const int code = DigitAfter(command, "BAUD ", 1, 3);
    if (accepted && code) m_settings.baudCode = code;
    return {Acknowledgement(command, accepted && code)};
  }
  if (StartsWith(command, "FRAME") && command.size() == 6) {
    const auto format = StreamFormat::FromCommandDigit(command.back());
    if (accepted && format) m_settings.format = *format;
    return {Acknowledgement(command, accepted && format)};
  }
  if ((StartsWith(command, "OUT FRE ") || StartsWith(command, "OUT FER ")) && command.size() == 9) {
    const char code = command.back();
    const auto rate = RateForCode(m_variant, code);
    if (accepted && rate) m_settings.rateHz = *rate;
    const std::string what =
        "OUT " + std::string(RateReplyKeyword(m_variant)) + " " + std::string(1, code);
    return {Acknowledgement(what, accepted && rate)};
  }
  if (StartsWith(command, "SCENES ")) {
    const int scene = DigitAfter(command, "SCENES ", 1, 6);
    if (accepted && scene) m_settings.scene = scene;
    return {Acknowledgement(command, accepted && scene)};
  }
  if (StartsWith(command, "MDEC ")) {
    char* end = nullptr;
    const std::string value = command.substr(5);
    std::strtod(value.c_str(), &end);
    const bool number = !value.empty() && end && *end == '\0';
    return {Acknowledgement("MDEC", accepted && number)};
  }
  if (StartsWith(command, "ODO ")) return AnswerOdometer(command, refused);
  if (refused && (command == "SN?" || command == "STATUS")) {
    return {Acknowledgement(command, false)};
  }
  if (command == "SN?") return {std::string(kPrefix) + "SN=" + m_serialNumber};
  if (command == "STATUS") return {StatusLine()};
  return {};
}

std::vector<std::string> CommandResponder::AnswerOdometer(const std::string& command,
                                                          bool refused) {
  const bool accepted = !refused;
  if (command == "ODO RESET") {
    if (accepted) m_settings.odometer.Reset();
    return {Acknowledgement(command, accepted)};
  }
  if (StartsWith(command, "ODO RAD_") && command.size() == 11) {
    const auto values = m_settings.odometer.Get(command.substr(8));
    if (!values || refused) return {Acknowledgement(command, false)};
    return {std::string(kPrefix) + command, OdometerParameters::ValueLine(*values, m_wideValues)};
  }
  if (StartsWith(command, "ODO SET_") && command.size() >= 11) {
    const std::string group = command.substr(8, 3);
    if (!OdometerParameters::IsGroup(group)) return {};
    const auto values = OdometerParameters::ParseValues(std::string_view(command).substr(11));
    const bool ok = accepted && values && m_settings.odometer.Set(group, *values);
    return {Acknowledgement("ODO SET_" + group, ok)};
  }
  return {};
}

std::string CommandResponder::StatusLine() const {
  // The program reads the rate code at position 17; the frame digit sits
  // before it, then the scene and the baud code.
  std::string line = std::string(kPrefix) + "STATUS ";
  line += m_settings.format.CommandDigit();
  line += CodeForRate(m_variant, m_settings.rateHz);
  line += ' ';
  line += char('0' + m_settings.scene);
  line += ' ';
  line += char('0' + m_settings.baudCode);
  return line;
}
