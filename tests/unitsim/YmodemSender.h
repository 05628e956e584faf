#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Builds the packets the program's firmware loader sends, written here
// without the unit's code so the boot loader is checked against an
// independent reading of the exchange.
namespace ymodem_sender {

using Packet = std::vector<uint8_t>;

uint16_t Crc16Xmodem(const uint8_t* data, size_t count);
Packet Build(uint8_t block, const uint8_t* data, size_t count);
// Block 0: name, NUL, decimal size, two spaces.
Packet Header(const std::string& name, size_t size);
// Data block `block` (1-based) of the image, zero-padded.
Packet DataBlock(const std::vector<uint8_t>& image, size_t block);
Packet Closing();
// Blocks the image is sent in: a short last block always ends it, so an
// image whose size is a multiple of 128 gets a block of zeros more.
size_t DataBlockCount(size_t imageSize);
std::vector<uint8_t> TestImage(size_t size);

}  // namespace ymodem_sender
