#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <vector>

// Makes the boot loader's side of a pseudo-terminal behave like a serial line
// of a given baud rate (10 bits a byte): a byte written by the program counts
// as arrived only once the line could have carried it, and an answer reaches
// the program only once it could have been carried back. A pseudo-terminal
// moves a whole packet at once; with this, an upgrade takes as long as on a
// real line. With baud 0 answers go out at once.
class LoaderLinePacer {
 public:
  using Clock = std::chrono::steady_clock;

  explicit LoaderLinePacer(int baud);

  bool Paced() const { return m_byteTime.count() > 0; }

  // When the next byte, received at `now`, has fully arrived.
  Clock::time_point Arrival(Clock::time_point now);
  // Answer bytes, ready to go at `ready`: into `out` at once when unpaced,
  // else held until they would have crossed the line.
  void Answer(const uint8_t* bytes, size_t count, Clock::time_point ready,
              std::vector<uint8_t>& out);
  // Moves the answers due by `now` into `out`.
  void Release(Clock::time_point now, std::vector<uint8_t>& out);
  bool Holding() const { return !m_held.empty(); }
  std::optional<Clock::time_point> NextRelease() const;
  // The unit restarted: nothing in flight survives.
  void Clear();

 private:
  struct Held {
    Clock::time_point due;
    std::vector<uint8_t> bytes;
  };

  Clock::duration m_byteTime;
  Clock::time_point m_inFree{};
  Clock::time_point m_outFree{};
  std::deque<Held> m_held;
};
