#include "tests/update/HttpsTestServer.h"

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <thread>

#include "tests/update/TestProcess.h"

namespace fs = std::filesystem;

namespace {

constexpr auto kPatience = std::chrono::seconds(60);

}  // namespace

HttpsTestServer::HttpsTestServer(const fs::path& root, const fs::path& cert, const fs::path& key,
                                 const fs::path& workDirectory) {
  fs::create_directories(workDirectory);
  const fs::path portFile = workDirectory / "port";
  m_log = workDirectory / "requests.jsonl";
  m_pid = TestProcess::spawn({"python3", TAVRIK_HTTPS_SERVER_SCRIPT, "--root", root.string(),
                              "--cert", cert.string(), "--key", key.string(), "--port-file",
                              portFile.string(), "--log", m_log.string()});
  if (m_pid < 0) return;
  const auto deadline = std::chrono::steady_clock::now() + kPatience;
  while (std::chrono::steady_clock::now() < deadline) {
    std::ifstream in(portFile);
    int port = 0;
    if (in >> port && port > 0) {
      m_port = port;
      return;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
}

HttpsTestServer::~HttpsTestServer() {
  TestProcess::end(m_pid);
}

std::string HttpsTestServer::url(const std::string& path) const {
  return "https://127.0.0.1:" + std::to_string(m_port) + path;
}

std::vector<HttpsTestServer::Request> HttpsTestServer::requests() const {
  // Lines as the server writes them:
  // {"event": "begin", "path": "/a/b", "active": 1}
  std::vector<Request> requests;
  std::ifstream in(m_log);
  std::string line;
  while (std::getline(in, line)) {
    const std::string begin = R"({"event": "begin", "path": ")";
    const std::string end = R"({"event": "end", "path": ")";
    const std::string active = R"(", "active": )";
    Request request;
    size_t at;
    if (line.rfind(begin, 0) == 0) {
      request.begins = true;
      at = begin.size();
    } else if (line.rfind(end, 0) == 0) {
      at = end.size();
    } else {
      continue;
    }
    const size_t pathEnd = line.find(active, at);
    if (pathEnd == std::string::npos || line.back() != '}') continue;  // still being written
    request.path = line.substr(at, pathEnd - at);
    request.active = std::atoi(line.c_str() + pathEnd + active.size());
    requests.push_back(request);
  }
  return requests;
}

std::vector<std::string> HttpsTestServer::requestedPaths(const std::string& prefix) const {
  std::vector<std::string> paths;
  for (const Request& request : requests()) {
    if (request.begins && request.path.compare(0, prefix.size(), prefix) == 0)
      paths.push_back(request.path);
  }
  return paths;
}

bool HttpsTestServer::waitForRequest(const std::string& path) const {
  const auto deadline = std::chrono::steady_clock::now() + kPatience;
  while (std::chrono::steady_clock::now() < deadline) {
    for (const Request& request : requests())
      if (request.begins && request.path == path) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return false;
}
