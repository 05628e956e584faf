#pragma once

#include <filesystem>

// A certificate authority made for one test run, a server certificate for
// 127.0.0.1 signed by it, and a second server certificate from an authority
// nobody trusts. Made with the openssl command into `directory`.
class TestCertificates {
 public:
  explicit TestCertificates(const std::filesystem::path& directory);

  bool ok() const { return m_ok; }

  std::filesystem::path caFile;
  std::filesystem::path serverCert;
  std::filesystem::path serverKey;
  std::filesystem::path strangerCert;
  std::filesystem::path strangerKey;

 private:
  bool makeAuthority(const std::filesystem::path& stem);
  bool makeServer(const std::filesystem::path& authority, const std::filesystem::path& stem);

  std::filesystem::path m_directory;
  bool m_ok = false;
};
