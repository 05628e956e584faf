#include "update/CInetFiles.h"

#include <algorithm>

#include "update/CInetFile.h"

CInetFiles::~CInetFiles() {
  clear();
}

void CInetFiles::add(CInetFile* job) {
  std::lock_guard<std::mutex> lock(m_lock);
  m_jobs.push_back(job);
}

size_t CInetFiles::count() const {
  std::lock_guard<std::mutex> lock(m_lock);
  return m_jobs.size();
}

CInetFile* CInetFiles::first() const {
  std::lock_guard<std::mutex> lock(m_lock);
  return m_jobs.empty() ? nullptr : m_jobs.front();
}

bool CInetFiles::remove(CInetFile* job) {
  std::lock_guard<std::mutex> lock(m_lock);
  const auto found = std::find(m_jobs.begin(), m_jobs.end(), job);
  if (found == m_jobs.end()) return false;
  m_jobs.erase(found);
  return true;
}

void CInetFiles::abortAll() {
  std::lock_guard<std::mutex> lock(m_lock);
  for (CInetFile* job : m_jobs) job->abort();
}

std::vector<CInetFile*> CInetFiles::snapshot() const {
  std::lock_guard<std::mutex> lock(m_lock);
  return m_jobs;
}

void CInetFiles::clear() {
  std::vector<CInetFile*> jobs;
  {
    std::lock_guard<std::mutex> lock(m_lock);
    jobs.swap(m_jobs);
  }
  for (CInetFile* job : jobs) delete job;
}
