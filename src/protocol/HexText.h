#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// The raw log's text form of bytes: two upper-case hex digits and a space
// per byte ("AA BB 01 ").

// Writes 3 * count characters at out and returns the end of what it wrote.
char* WriteHexText(const uint8_t* data, size_t count, char* out);
std::string ToHexText(const uint8_t* data, size_t count);

// The strict reading rule: spaces are skipped, every other character starts
// a pair of hex digits (either case); a lone last character or a pair that is
// not two hex digits ends the decoding. Writes at most length / 2 bytes and
// returns how many.
size_t DecodeHexText(const char* text, size_t length, uint8_t* out);

// Decodes a whole log block by block. Unlike DecodeHexText it does not stop at
// a stray character (a line break an editor added, a torn write): such a
// character only breaks the pair it falls into, and decoding goes on with the
// next pair. Well-formed text decodes to exactly what DecodeHexText gives.
class HexStreamDecoder {
 public:
  // out must have room for length / 2 + 1 bytes. Returns the count written.
  size_t Decode(const char* text, size_t length, uint8_t* out);
  void Reset() { m_pendingNibble = -1; }

 private:
  int m_pendingNibble = -1;  // a first digit still waiting for its second
};
