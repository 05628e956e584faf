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
// the worker never waits for it: the stream is taken out of the worker's
// reach under the lock that guards each write, and flushed and closed after
// the lock is released, so no write meets a closed stream and none waits on
// the disk for another thread's flush.
//
// The first write error (disk full, device gone) ends the recording: what
// was written before stays in the file, and the error is told once, by the
// handler when a write fails, by Stop() when the last flush does.
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
  struct StopResult {
    enum class Outcome {
      NotRecording,  // no file was open
      Saved,         // every byte is in the file
      Failed,        // the last flush or the close failed: `error` says why
      EndedByError,  // a write had already failed and the handler told it
    };
    Outcome outcome = Outcome::NotRecording;
    std::string path;
    std::string error;
  };
  // Flushes and closes the file.
  StopResult Stop();
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
  bool m_endedByError = false;  // until the next Start() or Stop()
  std::atomic<bool> m_active{false};
  std::atomic<uint64_t> m_written{0};
};
