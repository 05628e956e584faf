#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

// Sees every chunk the bulk road takes into the receive ring, on the serial
// worker's thread, right after the ring write: the echo, the raw recording.
// Must not block.
class ChunkListener {
 public:
  struct Chunk {
    const uint8_t* bytes = nullptr;
    size_t count = 0;
    // The hex text of the chunk as it landed in the ring: one piece, or two
    // when the chunk was split at the ring's end (rest then not empty).
    std::string_view firstText;
    std::string_view restText;
    bool Split() const { return !restText.empty(); }
  };

  virtual void OnChunk(const Chunk& chunk) = 0;

 protected:
  ~ChunkListener() = default;
};
