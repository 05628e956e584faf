#pragma once

#include <atomic>
#include <cstdint>
#include <exception>
#include <mutex>
#include <string>

#include "update/CVornThread.h"

class DownloadEndListener;
class UpdateLog;

// One HTTPS download on a thread of its own: the server list (type 0), a
// server's file list (type 1) or an update file (type 2). The body goes to
// the local path (with ".update" appended for an update file) in 1024-byte
// chunks; when the job ends, for whatever reason, its owner hears of it with
// the type and the result code, still on the job's thread.
//
// Only HTTPS is spoken, with the peer's certificate and host name always
// verified; an HTTP address, or a redirect to one, ends the job with code 1
// before anything is sent. A body that ends early is a failure (code 2), as
// is one whose end only the closing connection would mark (it could not be
// told from a dropped one), and a failed update file leaves no ".update"
// file behind.
class CInetFile : public CVornThread {
 public:
  enum Type : int { kServerList = 0, kFileList = 1, kUpdateFile = 2 };

  // Result codes; 1 to 9 have their error texts (errorTextFor).
  enum Result : int {
    kOk = 0,
    kBadUrl = 1,
    kConnectionFailed = 2,
    kRedirectFailed = 3,
    kBadRedirectUrl = 4,
    kNotHttp = 5,
    kNoServerFile = 6,
    kCannotCreateFile = 7,
    kCancelled = 8,
    kWrongUrl = 9,
  };

  // Leaves the download's steps with a result code. It never leaves run().
  class CInetFileException : public std::exception {
   public:
    // keepText: the code does not replace the job's error text (a network
    // failure, a cancelled transfer).
    explicit CInetFileException(int code, bool keepText = false)
        : m_code(code), m_keepText(keepText) {}
    int code() const { return m_code; }
    bool keepsText() const { return m_keepText; }
    const char* what() const noexcept override { return "CInetFileException"; }

   private:
    int m_code;
    bool m_keepText;
  };

  // The transfer's connection handles, alive while one download runs.
  class CInetFileSession;

  struct Target {
    int type = kUpdateFile;
    std::string url;
    std::string localPath;
    std::string name;         // the file's name for messages (type 2)
    std::string serverLabel;  // the server's name (types 1 and 2)
    bool registerFile = false;
    bool execute = false;
    std::string executeParameters;
    std::string sha256;
  };

  // extraCaFile: a PEM file of certificates trusted on top of the system's
  // store; empty for the system's store alone.
  CInetFile(DownloadEndListener& owner, UpdateLog& log, Target target,
            std::string extraCaFile = {});
  // Ends a running download (code 8) and waits for its thread.
  ~CInetFile() override;

  // Counts the start, waits for an earlier run, and starts a new one; true
  // if a thread runs.
  bool start();
  // Ends a running download promptly with code 8; a job not yet started is
  // unaffected.
  void abort();

  int startCount() const { return m_startCount.load(); }
  const Target& target() const { return m_target; }
  // The text of the last failure; read it from the owner's end handling.
  const std::string& errorText() const { return m_errorText; }

  static std::string errorTextFor(int code);

 protected:
  void run() override;

 private:
  static size_t onBody(char* data, size_t size, size_t count, void* self);
  static int checkUrl(const std::string& url, bool redirect, std::string& normalised);

  void download();
  size_t writeBody(const char* data, size_t size);
  bool openLocalFile();
  bool closeLocalFile();

  DownloadEndListener& m_owner;
  UpdateLog& m_log;
  const Target m_target;
  const std::string m_extraCaFile;
  std::string m_errorText;
  std::atomic<bool> m_stop{false};
  std::atomic<int> m_startCount{0};

  // The running transfer, for abort() to wake it.
  std::mutex m_sessionLock;
  CInetFileSession* m_session = nullptr;

  // Body state of the running transfer (job thread only).
  void* m_easy = nullptr;
  int m_fd = -1;
  bool m_created = false;
  int m_pendingCode = kOk;
};
