#pragma once

#include <memory>
#include <mutex>
#include <optional>
#include <vector>

#include "update/CServer.h"

// The servers read from the server list, in list order, under a lock of
// their own.
class CServers {
 public:
  virtual ~CServers() = default;

  void add(std::unique_ptr<CServer> server);
  size_t count() const;
  // A copy of the first server; none when the list is empty.
  std::optional<CServer> first() const;

 private:
  mutable std::mutex m_lock;
  std::vector<std::unique_ptr<CServer>> m_servers;
};
