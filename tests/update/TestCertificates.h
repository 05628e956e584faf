#pragma once

#include <filesystem>
#include <string>

// A certificate authority made for one test run, a server certificate for
// 127.0.0.1 signed by it, one it signed for another host name, and a server
// certificate from an authority nobody trusts. Made with the openssl command
// into `directory`.
class TestCertificates {
 public:
  explicit TestCertificates(const std::filesystem::path& directory);

  bool ok() const { return m_ok; }

  std::filesystem::path caFile;
  std::filesystem::path serverCert;
  std::filesystem::path serverKey;
  std::filesystem::path otherHostCert;
  std::filesystem::path otherHostKey;
  std::filesystem::path strangerCert;
  std::filesystem::path strangerKey;

 private:
  bool makeAuthority(const std::filesystem::path& stem);
  // subject: an X.509 subjectAltName value
  bool makeServer(const std::filesystem::path& authority, const std::filesystem::path& stem,
                  const std::string& subject = "IP:127.0.0.1");

  std::filesystem::path m_directory;
  bool m_ok = false;
};
