#pragma once

#include <sys/types.h>

#include <filesystem>
#include <string>
#include <vector>

// The local HTTPS server of https_server.py on 127.0.0.1 and a free port,
// serving the files below `root`. It records every request it serves.
class HttpsTestServer {
 public:
  struct Request {
    bool begins = false;  // else it ends
    std::string path;     // without the query
    int active = 0;       // requests being served at that moment
  };

  HttpsTestServer(const std::filesystem::path& root, const std::filesystem::path& cert,
                  const std::filesystem::path& key, const std::filesystem::path& workDirectory);
  ~HttpsTestServer();
  HttpsTestServer(const HttpsTestServer&) = delete;
  HttpsTestServer& operator=(const HttpsTestServer&) = delete;

  bool running() const { return m_port > 0; }
  int port() const { return m_port; }
  // "https://127.0.0.1:<port><path>"
  std::string url(const std::string& path) const;

  std::vector<Request> requests() const;
  // The paths of the requests begun so far, in order.
  std::vector<std::string> requestedPaths(const std::string& prefix = "/") const;
  // Waits (generously) until a request for `path` has begun.
  bool waitForRequest(const std::string& path) const;

 private:
  std::filesystem::path m_log;
  pid_t m_pid = -1;
  int m_port = 0;
};
