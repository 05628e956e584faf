#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Firmware images and Intel HEX texts for the tests, written without the
// program's reader so each checks the other.
namespace test_images {

// Bytes that differ from block to block and from one 256-byte page to the
// next, so a block sent twice or out of place changes the image.
std::vector<uint8_t> Pattern(size_t size);

// One record: ":" count, address, type, data, checksum, in upper-case hex.
std::string Record(uint8_t type, uint16_t address, const std::vector<uint8_t>& data);
// `image` as data records of `perRecord` bytes from address 0x08000000
// (with the extended linear address records a real file has), then the
// end-of-file record; lines end in CR LF.
std::string HexFile(const std::vector<uint8_t>& image, size_t perRecord = 16);

}  // namespace test_images
