#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

#include "protocol/ReceiveRing.h"

// The ring side of taking in one received chunk: copy it into the receive
// ring (split at the ring's end when it must be), make its hex text for the
// raw log and the echo, and set the data event for the parser. Runs on the
// serial worker's thread.
class ChunkReceiver {
 public:
  struct Accepted {
    std::string_view hexText;    // "AA BB 01 " for the whole chunk, in order
    std::string_view firstText;  // the part that landed before the ring's end
    std::string_view restText;   // the part that wrapped to the ring's start
    bool split = false;          // the chunk wrapped around the ring's end
  };

  explicit ChunkReceiver(ReceiveRing& ring);

  // count is 1 to 1000 in practice; anything up to the ring's size is taken.
  // The text stays valid until the next call.
  Accepted Accept(const uint8_t* data, size_t count);

 private:
  ReceiveRing& m_ring;
  // Room for the text of a full ring of bytes, plus a terminator.
  std::unique_ptr<char[]> m_hexText;
};
