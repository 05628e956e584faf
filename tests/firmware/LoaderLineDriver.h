#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "device/FirmwareLoader.h"

// Does with a FirmwareLoader's actions what the upgrade panel does, over a
// real serial line (any raw, non-blocking descriptor): writes go out whole,
// a purge drops the unread input first, received bytes go in one at a time
// in arrival order, and the loader is ticked at its deadlines. The end of the
// line (hang-up, read error) is reported as a lost port.
class LoaderLineDriver {
 public:
  struct Outcome {
    bool finished = false;
    std::string failure;              // the failure text, when it failed
    std::vector<std::string> labels;  // every label text, in order
    double seconds = 0;               // as the loader reported it at the end
    uint64_t bytesWritten = 0;
    uint64_t bytesRead = 0;
    std::vector<uint8_t> received;  // everything read from the line
    // With AwaitClosingAnswer: the receiver acknowledged the closing block.
    bool closingAcknowledged = false;
  };

  // Called after every confirmed block; a test may pull the plug from here.
  using ProgressHook = std::function<void(const FirmwareProgress&)>;

  LoaderLineDriver(int fd, FirmwareLoader& loader);

  void SetProgressHook(ProgressHook hook) { m_progressHook = std::move(hook); }
  // After the loader has finished, keeps reading until the receiver's ACK of
  // the closing block (or 10 s), so a test can look at what the receiver
  // made of the batch; the loader itself does not wait for it.
  void AwaitClosingAnswer() { m_awaitClosingAnswer = true; }

  // Runs until the loader finishes or fails, or until `patience` has passed
  // (then the outcome is neither finished nor failed).
  Outcome Run(const FirmwareLoaderActions& startActions,
              std::chrono::seconds patience = std::chrono::seconds(120));

 private:
  void Apply(const FirmwareLoaderActions& actions, Outcome& outcome);
  void ReadClosingAnswer(Outcome& outcome);
  bool WriteAll(const std::vector<uint8_t>& bytes);
  int PollTimeoutMs() const;

  int m_fd;
  FirmwareLoader& m_loader;
  ProgressHook m_progressHook;
  bool m_done = false;
  bool m_lineLost = false;
  bool m_awaitClosingAnswer = false;
};
