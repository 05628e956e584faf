#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Turns the text of an Intel HEX file into the image the boot loader takes:
// the data bytes of all data records in file order, without addresses, gaps
// or padding. Every line is checked; one bad record refuses the whole file,
// since flashing a damaged image can leave a unit that no longer starts.
class IntelHexReader {
 public:
  struct Result {
    std::vector<uint8_t> image;
    bool endOfFileSeen = false;
    // Zero when every record is sound; else the 1-based line of the first bad
    // record and what is wrong with it (IntelHexFault), and `image` is empty.
    int faultLine = 0;
    std::string fault;

    bool Sound() const { return faultLine == 0; }
  };

  // Lines end in LF or CR LF; lines of any length are read, and empty lines
  // (a trailing one, say) carry no record.
  static Result Read(std::string_view text);
};
