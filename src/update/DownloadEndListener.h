#pragma once

#include <cstdint>

class CInetFile;

// Where a download job reports its end, on the job's own thread. `word`
// carries the job type in its high 16 bits and the result code in its low 16.
class DownloadEndListener {
 public:
  virtual ~DownloadEndListener() = default;
  virtual void onDownloadEnd(uint32_t word, CInetFile* job) = 0;
};
