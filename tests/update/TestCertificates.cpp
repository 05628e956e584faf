#include "tests/update/TestCertificates.h"

#include <fstream>
#include <random>

#include "tests/update/TestProcess.h"

namespace fs = std::filesystem;

namespace {

std::string serial() {
  std::random_device random;
  return "0x" + std::to_string(random() % 1000000000 + 1);
}

}  // namespace

TestCertificates::TestCertificates(const fs::path& directory) : m_directory(directory) {
  fs::create_directories(directory);
  caFile = directory / "ca.pem";
  serverCert = directory / "server.pem";
  serverKey = directory / "server.key";
  otherHostCert = directory / "otherhost.pem";
  otherHostKey = directory / "otherhost.key";
  strangerCert = directory / "stranger.pem";
  strangerKey = directory / "stranger.key";
  m_ok = makeAuthority(directory / "ca") && makeServer(directory / "ca", directory / "server") &&
         makeServer(directory / "ca", directory / "otherhost", "DNS:updates.example.com") &&
         makeAuthority(directory / "otherca") &&
         makeServer(directory / "otherca", directory / "stranger");
}

bool TestCertificates::makeAuthority(const fs::path& stem) {
  return TestProcess::run({"openssl",
                           "req",
                           "-x509",
                           "-newkey",
                           "ec",
                           "-pkeyopt",
                           "ec_paramgen_curve:prime256v1",
                           "-nodes",
                           "-keyout",
                           stem.string() + ".key",
                           "-out",
                           stem.string() + ".pem",
                           "-days",
                           "3",
                           "-subj",
                           "/CN=Tavrik test authority " + stem.filename().string(),
                           "-addext",
                           "basicConstraints=critical,CA:TRUE",
                           "-addext",
                           "keyUsage=critical,keyCertSign,cRLSign"},
                          (m_directory / "openssl.log").string());
}

bool TestCertificates::makeServer(const fs::path& authority, const fs::path& stem,
                                  const std::string& subject) {
  const fs::path extensions = stem.string() + ".ext";
  std::ofstream(extensions) << "subjectAltName=" << subject
                            << "\n"
                               "basicConstraints=CA:FALSE\n"
                               "keyUsage=critical,digitalSignature\n"
                               "extendedKeyUsage=serverAuth\n";
  const std::string name = subject.substr(subject.find(':') + 1);
  return TestProcess::run(
             {"openssl", "req", "-new", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1",
              "-nodes", "-keyout", stem.string() + ".key", "-out", stem.string() + ".csr", "-subj",
              "/CN=" + name},
             (m_directory / "openssl.log").string()) &&
         TestProcess::run({"openssl", "x509", "-req", "-in", stem.string() + ".csr", "-CA",
                           authority.string() + ".pem", "-CAkey", authority.string() + ".key",
                           "-set_serial", serial(), "-days", "3", "-extfile", extensions.string(),
                           "-out", stem.string() + ".pem"},
                          (m_directory / "openssl.log").string());
}
