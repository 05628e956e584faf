#pragma once

#include <mutex>
#include <vector>

class CInetFile;

// The download jobs waiting or running, in order of creation, under a lock
// of their own. The list owns its jobs: removing one hands it to the caller,
// and the jobs still listed when the list goes are deleted with it.
class CInetFiles {
 public:
  CInetFiles() = default;
  virtual ~CInetFiles();
  CInetFiles(const CInetFiles&) = delete;
  CInetFiles& operator=(const CInetFiles&) = delete;

  void add(CInetFile* job);
  size_t count() const;
  CInetFile* first() const;
  // Takes the job out of the list without deleting it; false if not listed.
  bool remove(CInetFile* job);
  // Aborts every listed job's transfer; under the list's lock, so no job is
  // taken out (and deleted) meanwhile.
  void abortAll();
  // A copy of the list as it is now.
  std::vector<CInetFile*> snapshot() const;
  // Deletes every listed job.
  void clear();

 private:
  mutable std::mutex m_lock;
  std::vector<CInetFile*> m_jobs;
};
