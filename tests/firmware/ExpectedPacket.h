#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The 133-byte packets as the boot loader expects them, built here bit by
// bit without the program's code, so the loader's packets are checked
// against an independent reading of the layout.
namespace expected_packet {

uint16_t Crc(const std::vector<uint8_t>& data);
std::vector<uint8_t> Packet(uint8_t number, std::vector<uint8_t> data);
std::vector<uint8_t> Header(const std::string& name, size_t size);
// Data block `block` (1-based) of `image`.
std::vector<uint8_t> DataBlock(const std::vector<uint8_t>& image, size_t block);

}  // namespace expected_packet
