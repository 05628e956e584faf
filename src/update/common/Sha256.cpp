#include "update/common/Sha256.h"

#include <fcntl.h>
#include <openssl/evp.h>
#include <unistd.h>

#include <cerrno>
#include <memory>
#include <vector>

namespace {

struct ContextFree {
  void operator()(EVP_MD_CTX* context) const { EVP_MD_CTX_free(context); }
};
using Context = std::unique_ptr<EVP_MD_CTX, ContextFree>;

Context newContext() {
  Context context(EVP_MD_CTX_new());
  if (context && EVP_DigestInit_ex(context.get(), EVP_sha256(), nullptr) != 1) context.reset();
  return context;
}

std::optional<std::string> finish(EVP_MD_CTX* context) {
  unsigned char digest[EVP_MAX_MD_SIZE];
  unsigned int size = 0;
  if (EVP_DigestFinal_ex(context, digest, &size) != 1) return std::nullopt;
  static const char kHex[] = "0123456789abcdef";
  std::string text;
  for (unsigned int i = 0; i < size; ++i) {
    text += kHex[digest[i] >> 4];
    text += kHex[digest[i] & 15];
  }
  return text;
}

}  // namespace

std::optional<std::string> Sha256::ofFile(const std::string& path) {
  Context context = newContext();
  if (!context) return std::nullopt;
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  std::vector<char> block(size_t(64) << 10);
  bool ok = true;
  for (;;) {
    const ssize_t n = ::read(fd, block.data(), block.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      ok = n == 0;
      break;
    }
    if (EVP_DigestUpdate(context.get(), block.data(), static_cast<size_t>(n)) != 1) {
      ok = false;
      break;
    }
  }
  ::close(fd);
  if (!ok) return std::nullopt;
  return finish(context.get());
}

std::string Sha256::ofBytes(std::string_view bytes) {
  Context context = newContext();
  if (!context || EVP_DigestUpdate(context.get(), bytes.data(), bytes.size()) != 1) return {};
  return finish(context.get()).value_or(std::string());
}

bool Sha256::matches(std::string_view listed, std::string_view actual) {
  const size_t first = listed.find_first_not_of(" \t\r\n");
  if (first == std::string_view::npos) return false;
  listed = listed.substr(first, listed.find_last_not_of(" \t\r\n") - first + 1);
  if (listed.size() != actual.size() || actual.size() != 64) return false;
  for (size_t i = 0; i < listed.size(); ++i) {
    char c = listed[i];
    if (c >= 'A' && c <= 'F') c = static_cast<char>(c - 'A' + 'a');
    if (c != actual[i]) return false;
  }
  return true;
}
