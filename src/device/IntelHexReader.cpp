#include "device/IntelHexReader.h"

#include "device/IntelHexRecord.h"

namespace {

// Editors leave CR and spaces at line ends; they are not part of the record.
std::string_view TrimEnd(std::string_view line) {
  while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t'))
    line.remove_suffix(1);
  return line;
}

}  // namespace

IntelHexReader::Result IntelHexReader::Read(std::string_view text) {
  Result result;
  IntelHexRecord record;
  int lineNumber = 0;
  while (!text.empty()) {
    ++lineNumber;
    const size_t end = text.find('\n');
    const std::string_view line = TrimEnd(text.substr(0, end));
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    if (line.empty()) continue;

    if (const char* fault = IntelHexRecord::Parse(line, record)) {
      result.image.clear();
      result.endOfFileSeen = false;
      result.faultLine = lineNumber;
      result.fault = fault;
      return result;
    }
    if (record.type == IntelHexRecord::Type::Data) {
      result.image.insert(result.image.end(), record.data.begin(),
                          record.data.begin() + record.count);
    } else if (record.type == IntelHexRecord::Type::EndOfFile) {
      result.endOfFileSeen = true;
    }
  }
  return result;
}
