#include "update/CServers.h"

void CServers::add(std::unique_ptr<CServer> server) {
  std::lock_guard<std::mutex> lock(m_lock);
  m_servers.push_back(std::move(server));
}

size_t CServers::count() const {
  std::lock_guard<std::mutex> lock(m_lock);
  return m_servers.size();
}

std::optional<CServer> CServers::first() const {
  std::lock_guard<std::mutex> lock(m_lock);
  if (m_servers.empty()) return std::nullopt;
  return *m_servers.front();
}
