#pragma once

#include <string>

// One update server: its name and the URL of its file list.
class CServer {
 public:
  CServer() = default;
  CServer(std::string serverName, std::string fileListUrl)
      : name(std::move(serverName)), url(std::move(fileListUrl)) {}
  virtual ~CServer() = default;

  std::string name;
  std::string url;
};
