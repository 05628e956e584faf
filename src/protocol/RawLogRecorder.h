#pragma once

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <mutex>
#include <string>

#include "protocol/ChunkListener.h"

// The raw log: every chunk the bulk road takes, as hex text, appended by the
// serial worker right after the ring write (one write per piece of a chunk
// split at the ring's end). Starting and stopping happen on the GUI thread;
// the worker never waits for it, and the stream is only ever closed under
// the lock that guards each write, so no write meets a closed stream.
//
// The first write error (disk full, device gone) ends the recording: what
// was written before stays in the file, and the error is told once.
class RawLogRecorder final : public ChunkListener {
 public:
  // On the worker's thread, once per failed recording: the file and the
  // system's text for the error.
  using ErrorHandler = std::function<void(const std::string& path, const std::string& error)>;

  explicit RawLogRecorder(ErrorHandler onError = {});
  ~RawLogRecorder();
  RawLogRecorder(const RawLogRecorder&) = delete;
  RawLogRecorder& operator=(const RawLogRecorder&) = delete;

  // Creates or empties the file ("wb+"); false, recording nothing, when it
  // cannot be opened.
  bool Start(const std::string& path);
  // Flushes and closes the file; false when none was open.
  bool Stop();
  bool Active() const { return m_active.load(std::memory_order_acquire); }
  // Characters written to the log so far (three per byte).
  uint64_t CharactersWritten() const { return m_written.load(std::memory_order_relaxed); }
  std::string Path() const;

  // ChunkListener, on the serial worker's thread.
  void OnChunk(const Chunk& chunk) override;

 private:
  bool Append(std::string_view text);

  ErrorHandler m_onError;
  mutable std::mutex m_lock;  // held only around a write, an open and a close
  std::FILE* m_file = nullptr;
  std::string m_path;
  std::atomic<bool> m_active{false};
  std::atomic<uint64_t> m_written{0};
};
