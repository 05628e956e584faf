#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

#include "convert/ConvertColumns.h"
#include "convert/LogConverter.h"
#include "protocol/ConfigFile.h"
#include "protocol/PorotocalRtkAnalyse.h"

// One conversion as the conversion dialog runs it: the two files are checked
// and opened first, on the thread that asks; the conversion itself may then
// run on any one thread. The job decodes with an analyser of its own, so it
// never touches the program's live one.
class ConversionJob {
 public:
  enum class Opening {
    Ready,         // both files open
    SameFile,      // the target names the source (also through a link): nothing opened
    TargetBusy,    // the target is the file being recorded: nothing opened
    SourceFailed,  // the target is open; Run() writes just the header
    TargetFailed,  // nothing to write to; nothing is left open
  };

  struct Request {
    std::string sourcePath;  // native file names
    std::string targetPath;
    ConvertColumns columns;
    ConfigLines config;    // for the heading convention
    std::string busyPath;  // a file the program is writing (the recording), if any
    size_t blockChars = LogConverter::kBlockChars;
  };

  explicit ConversionJob(Request request);
  ~ConversionJob();
  ConversionJob(const ConversionJob&) = delete;
  ConversionJob& operator=(const ConversionJob&) = delete;

  // Opens the source for reading and creates or empties the target. A
  // target that is the source itself, or the log being recorded, is refused
  // before anything is opened: opening it for writing would empty the log.
  Opening Open();

  // Converts what Open() left open and closes both files; without a source
  // the target gets only its header. The observer is asked after each block
  // and may stop the conversion there.
  LogConverter::Result Run(const LogConverter::Observer& observer = {});

  uint64_t LogSize() const { return m_logSize; }

 private:
  using File = std::unique_ptr<std::FILE, int (*)(std::FILE*)>;

  Request m_request;
  CPorotocalRtkAnalyse m_analyser{CPorotocalRtkAnalyse::Publishing::Off};
  File m_source{nullptr, &std::fclose};
  File m_target{nullptr, &std::fclose};
  uint64_t m_logSize = 0;
};

// True when both names lead to one existing file: the same device and inode,
// also through a symbolic or a hard link.
bool NameTheSameFile(const std::string& a, const std::string& b);
