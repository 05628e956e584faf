#include "update/CInetFile.h"

#include <curl/curl.h>
#include <fcntl.h>
#include <openssl/err.h>
#include <openssl/ssl.h>
#include <openssl/x509.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <mutex>
#include <string_view>
#include <system_error>

#include "update/DownloadEndListener.h"
#include "update/UpdateLog.h"
#include "update/common/TextFormat.h"

namespace {

constexpr const char* kAgent = "AutoUpdate - MFC App";
constexpr long kChunk = 1024;
constexpr int kMaxRedirects = 10;

void initialiseCurlOnce() {
  static std::once_flag once;
  std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char x = a[i];
    char y = b[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

// Names under ".invalid" can never resolve; asking for one would only send
// a pointless lookup out of the machine.
bool isInvalidHost(std::string host) {
  while (!host.empty() && host.back() == '.') host.pop_back();
  if (equalsIgnoringCase(host, "invalid")) return true;
  return host.size() > 8 &&
         equalsIgnoringCase(std::string_view(host).substr(host.size() - 8), ".invalid");
}

// Whether the response's body carried its own end: a length, chunks, or the
// framing of HTTP/2 and later. A body that only the connection's end closes
// cannot be told from one cut short, since a connection dropped without
// TLS's close_notify ends the transfer as cleanly as a finished one.
bool bodyEndIsKnown(CURL* easy) {
  long version = 0;
  curl_easy_getinfo(easy, CURLINFO_HTTP_VERSION, &version);
  if (version != CURL_HTTP_VERSION_1_0 && version != CURL_HTTP_VERSION_1_1) return true;
  curl_off_t length = -1;
  curl_easy_getinfo(easy, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length);
  if (length >= 0) return true;
  curl_header* coding = nullptr;
  if (curl_easy_header(easy, "Transfer-Encoding", 0, CURLH_HEADER, -1, &coding) != CURLHE_OK)
    return false;
  // curl has decoded the chunks, and fails a transfer whose last chunk never came.
  const std::string_view value(coding->value);
  for (size_t at = 0; at + 7 <= value.size(); ++at)
    if (equalsIgnoringCase(value.substr(at, 7), "chunked")) return true;
  return false;
}

CURLcode trustExtraCa(CURL*, void* sslContext, void* caFile) {
  X509_STORE* store = SSL_CTX_get_cert_store(static_cast<SSL_CTX*>(sslContext));
  const bool loaded =
      store != nullptr && X509_STORE_load_file(store, static_cast<const char*>(caFile)) == 1;
  ERR_clear_error();
  return loaded ? CURLE_OK : CURLE_SSL_CACERT_BADFILE;
}

}  // namespace

class CInetFile::CInetFileSession {
 public:
  CInetFileSession() {
    initialiseCurlOnce();
    multi = curl_multi_init();
    easy = curl_easy_init();
  }
  ~CInetFileSession() {
    if (multi && easy && added) curl_multi_remove_handle(multi, easy);
    if (easy) curl_easy_cleanup(easy);
    if (multi) curl_multi_cleanup(multi);
  }
  CInetFileSession(const CInetFileSession&) = delete;
  CInetFileSession& operator=(const CInetFileSession&) = delete;

  void wake() {
    if (multi) curl_multi_wakeup(multi);
  }

  CURLM* multi = nullptr;
  CURL* easy = nullptr;
  bool added = false;
};

CInetFile::CInetFile(DownloadEndListener& owner, UpdateLog& log, Target target,
                     std::string extraCaFile)
    : m_owner(owner),
      m_log(log),
      m_target(std::move(target)),
      m_extraCaFile(std::move(extraCaFile)),
      m_errorText("连接服务器失败, 请选择其他服务器进行尝试") {}

CInetFile::~CInetFile() {
  abort();
  wait();
}

std::string CInetFile::errorTextFor(int code) {
  switch (code) {
    case kBadUrl:
      return "URL解析错误, 请选择其他服务器进行尝试";
    case kConnectionFailed:
      return "服务器拒绝连接, 请选择其他服务器进行尝试";
    case kRedirectFailed:
      return "重定向失败, 请选择其他服务器进行尝试";
    case kBadRedirectUrl:
      return "重定向URL解析错误, 请选择其他服务器进行尝试";
    case kNotHttp:
      return "不是HTTP连接, 请选择其他服务器进行尝试";
    case kNoServerFile:
      return "取得服务器文件失败, 请选择其他服务器进行尝试";
    case kCannotCreateFile:
      return "创建本地文件失败";
    case kCancelled:
      return "主动取消连接";
    case kWrongUrl:
      return "URL不正确";
    default:
      return "连接服务器失败, 请选择其他服务器进行尝试";
  }
}

bool CInetFile::start() {
  ++m_startCount;
  wait();
  m_stop = false;
  return CVornThread::start();
}

void CInetFile::abort() {
  m_stop = true;
  std::lock_guard<std::mutex> lock(m_sessionLock);
  if (m_session) m_session->wake();
}

int CInetFile::checkUrl(const std::string& url, bool redirect, std::string& normalised) {
  const int refused = redirect ? kBadRedirectUrl : kBadUrl;
  CURLU* parsed = curl_url();
  if (parsed == nullptr) return refused;
  int result = refused;
  char* scheme = nullptr;
  char* host = nullptr;
  char* full = nullptr;
  if (curl_url_set(parsed, CURLUPART_URL, url.c_str(), CURLU_NON_SUPPORT_SCHEME) == CURLUE_OK &&
      curl_url_get(parsed, CURLUPART_SCHEME, &scheme, 0) == CURLUE_OK &&
      curl_url_get(parsed, CURLUPART_HOST, &host, 0) == CURLUE_OK &&
      curl_url_get(parsed, CURLUPART_URL, &full, 0) == CURLUE_OK) {
    if (!equalsIgnoringCase(scheme, "https")) {
      result = kBadUrl;  // plain HTTP, whether listed or redirected to
    } else if (*host != '\0' && !isInvalidHost(host)) {
      normalised = full;
      result = kOk;
    }
  }
  curl_free(scheme);
  curl_free(host);
  curl_free(full);
  curl_url_cleanup(parsed);
  return result;
}

size_t CInetFile::onBody(char* data, size_t size, size_t count, void* self) {
  return static_cast<CInetFile*>(self)->writeBody(data, size * count);
}

size_t CInetFile::writeBody(const char* data, size_t size) {
  long status = 0;
  curl_easy_getinfo(static_cast<CURL*>(m_easy), CURLINFO_RESPONSE_CODE, &status);
  if (status >= 300 && status < 400) return size;  // a redirect's own page
  if (status != 200) {
    m_pendingCode = kNoServerFile;
    return CURL_WRITEFUNC_ERROR;
  }
  if (m_fd < 0 && !openLocalFile()) {
    m_pendingCode = kCannotCreateFile;
    return CURL_WRITEFUNC_ERROR;
  }
  for (size_t done = 0; done < size;) {
    const ssize_t n = ::write(m_fd, data + done, size - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      m_pendingCode = kCannotCreateFile;
      return CURL_WRITEFUNC_ERROR;
    }
    done += static_cast<size_t>(n);
  }
  if (m_stop) {
    m_pendingCode = kCancelled;
    return CURL_WRITEFUNC_ERROR;
  }
  return size;
}

bool CInetFile::openLocalFile() {
  if (m_target.localPath.empty()) return false;
  if (m_target.type == kUpdateFile) {
    const std::string download = m_target.localPath + ".update";
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::path(download).parent_path(), error);
    // A fresh file, never whatever (or wherever a link points) lies there.
    if (::unlink(download.c_str()) != 0 && errno != ENOENT) return false;
    m_fd = ::open(download.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    m_created = m_fd >= 0;
  } else {
    m_fd = ::open(m_target.localPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC,
                  0600);
  }
  return m_fd >= 0;
}

bool CInetFile::closeLocalFile() {
  const bool closed = m_fd < 0 || ::close(m_fd) == 0;
  m_fd = -1;
  return closed;
}

void CInetFile::download() {
  std::string url;
  if (const int code = checkUrl(m_target.url, false, url)) throw CInetFileException(code);

  CInetFileSession session;
  if (!session.multi || !session.easy) throw CInetFileException(kConnectionFailed, true);
  {
    std::lock_guard<std::mutex> lock(m_sessionLock);
    m_session = &session;
  }
  struct Detach {
    CInetFile* job;
    ~Detach() {
      std::lock_guard<std::mutex> lock(job->m_sessionLock);
      job->m_session = nullptr;
      job->m_easy = nullptr;
    }
  } detach{this};

  CURL* easy = session.easy;
  m_easy = easy;
  curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "https");
  curl_easy_setopt(easy, CURLOPT_REDIR_PROTOCOLS_STR, "https");
  curl_easy_setopt(easy, CURLOPT_FOLLOWLOCATION, 0L);  // each hop is checked here
  curl_easy_setopt(easy, CURLOPT_USERAGENT, kAgent);
  curl_easy_setopt(easy, CURLOPT_SSL_VERIFYPEER, 1L);
  curl_easy_setopt(easy, CURLOPT_SSL_VERIFYHOST, 2L);
  curl_easy_setopt(easy, CURLOPT_SSLVERSION, static_cast<long>(CURL_SSLVERSION_TLSv1_2));
  curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(easy, CURLOPT_QUICK_EXIT, 1L);  // an aborted name lookup is not waited for
  curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT, 30L);
  // A server that stops sending for a minute has dropped us.
  curl_easy_setopt(easy, CURLOPT_LOW_SPEED_LIMIT, 1L);
  curl_easy_setopt(easy, CURLOPT_LOW_SPEED_TIME, 60L);
  curl_easy_setopt(easy, CURLOPT_BUFFERSIZE, kChunk);
  curl_easy_setopt(easy, CURLOPT_HTTPGET, 1L);
  curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, &CInetFile::onBody);
  curl_easy_setopt(easy, CURLOPT_WRITEDATA, this);
  if (!m_extraCaFile.empty()) {
    const bool hooked =
        curl_easy_setopt(easy, CURLOPT_SSL_CTX_FUNCTION, &trustExtraCa) == CURLE_OK &&
        curl_easy_setopt(easy, CURLOPT_SSL_CTX_DATA, m_extraCaFile.c_str()) == CURLE_OK;
    // A TLS library without that hook gets the file as its only trust.
    if (!hooked) curl_easy_setopt(easy, CURLOPT_CAINFO, m_extraCaFile.c_str());
  }

  for (int hop = 0;; ++hop) {
    curl_easy_setopt(easy, CURLOPT_URL, url.c_str());
    m_pendingCode = kOk;
    if (curl_multi_add_handle(session.multi, easy) != CURLM_OK)
      throw CInetFileException(kConnectionFailed, true);
    session.added = true;
    int running = 1;
    while (running && !m_stop) {
      if (curl_multi_perform(session.multi, &running) != CURLM_OK) break;
      if (running && !m_stop) curl_multi_poll(session.multi, nullptr, 0, 500, nullptr);
    }
    bool done = false;
    CURLcode outcome = CURLE_OK;
    int left = 0;
    while (CURLMsg* message = curl_multi_info_read(session.multi, &left)) {
      if (message->msg == CURLMSG_DONE) {
        done = true;
        outcome = message->data.result;
      }
    }
    curl_multi_remove_handle(session.multi, easy);
    session.added = false;

    if (m_stop) throw CInetFileException(kCancelled, true);
    if (m_pendingCode != kOk) throw CInetFileException(m_pendingCode);
    if (!done) throw CInetFileException(kConnectionFailed, true);
    if (outcome == CURLE_UNSUPPORTED_PROTOCOL || outcome == CURLE_URL_MALFORMAT)
      throw CInetFileException(kBadUrl);
    if (outcome != CURLE_OK) throw CInetFileException(kConnectionFailed, true);

    long status = 0;
    curl_easy_getinfo(easy, CURLINFO_RESPONSE_CODE, &status);
    if (status == 301 || status == 302 || status == 303 || status == 307 || status == 308) {
      char* location = nullptr;
      curl_easy_getinfo(easy, CURLINFO_REDIRECT_URL, &location);
      if (location == nullptr || hop >= kMaxRedirects) throw CInetFileException(kRedirectFailed);
      const std::string next = location;
      if (const int code = checkUrl(next, true, url)) throw CInetFileException(code);
      continue;
    }
    if (status != 200) throw CInetFileException(kNoServerFile);
    if (!bodyEndIsKnown(easy)) throw CInetFileException(kConnectionFailed, true);
    break;
  }
  if (m_fd < 0 && !openLocalFile()) throw CInetFileException(kCannotCreateFile);  // empty body
}

void CInetFile::run() {
  int result = kOk;
  m_fd = -1;
  m_created = false;
  try {
    download();
  } catch (const CInetFileException& failure) {
    m_log.trace(textf("Error: Exiting with CInetFileException(%d)\n", failure.code()));
    if (!failure.keepsText()) m_errorText = errorTextFor(failure.code());
    result = failure.code();
  } catch (const std::exception&) {
    result = kConnectionFailed;  // out of memory and the like: as a failed connection
  }
  if (!closeLocalFile() && result == kOk) {
    result = kCannotCreateFile;  // the last blocks never reached the disk
    m_errorText = errorTextFor(result);
  }
  if (result != kOk && m_created) ::unlink((m_target.localPath + ".update").c_str());
  m_created = false;
  m_owner.onDownloadEnd(
      (static_cast<uint32_t>(m_target.type) << 16) | (static_cast<uint32_t>(result) & 0xFFFFu),
      this);
}
