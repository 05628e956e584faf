#include "update/common/UpdateFileList.h"

#include <cstring>
#include <limits>
#include <pugixml.hpp>

#include "update/common/LeadingDigits.h"

namespace {

bool sameKey(const char* name, const char* key) {
  for (; *name && *key; ++name, ++key) {
    char a = *name;
    char b = *key;
    if (a >= 'A' && a <= 'Z') a = static_cast<char>(a - 'A' + 'a');
    if (b >= 'A' && b <= 'Z') b = static_cast<char>(b - 'A' + 'a');
    if (a != b) return false;
  }
  return *name == *key;
}

// Walks the subtree below `top` in document order without recursion, so a
// deeply nested list cannot exhaust the stack.
template <typename Visit>
void forEachBelow(const pugi::xml_node& top, Visit visit) {
  pugi::xml_node node = top.first_child();
  while (node) {
    visit(node);
    if (node.first_child()) {
      node = node.first_child();
      continue;
    }
    while (node && node != top && !node.next_sibling()) node = node.parent();
    if (!node || node == top) break;
    node = node.next_sibling();
  }
}

// All character data below the element, surrounding white space trimmed, as
// a list written by hand with line breaks around the values means.
std::string textContent(const pugi::xml_node& element) {
  std::string text;
  forEachBelow(element, [&](const pugi::xml_node& node) {
    if (node.type() == pugi::node_pcdata || node.type() == pugi::node_cdata) text += node.value();
  });
  const size_t first = text.find_first_not_of(" \t\r\n");
  if (first == std::string::npos) return {};
  const size_t last = text.find_last_not_of(" \t\r\n");
  return text.substr(first, last - first + 1);
}

bool isYes(const std::string& value) {
  return sameKey(value.c_str(), "YES");
}

uint32_t unsigned32(const std::string& value) {
  return static_cast<uint32_t>(leadingDigits(value, std::numeric_limits<uint32_t>::max()));
}

void readEntry(const pugi::xml_node& file, CUpdateFile& entry) {
  uint32_t dateLow = 0;
  uint32_t dateHigh = 0;
  for (const pugi::xml_node& child : file.children()) {
    if (child.type() != pugi::node_element) continue;
    const char* key = child.name();
    const std::string value = textContent(child);
    if (sameKey(key, "FileName")) {
      entry.fileName = value;
    } else if (sameKey(key, "FileVersion")) {
      entry.fileVersion = value;
    } else if (sameKey(key, "ProductVersion")) {
      entry.productVersion = value;
    } else if (sameKey(key, "Length")) {
      entry.length = static_cast<int64_t>(
          leadingDigits(value, static_cast<uint64_t>(std::numeric_limits<int64_t>::max())));
    } else if (sameKey(key, "FileDateLow")) {
      dateLow = unsigned32(value);
    } else if (sameKey(key, "FileDateHigh")) {
      dateHigh = unsigned32(value);
    } else if (sameKey(key, "InstallDir")) {
      entry.installDir = value;
    } else if (sameKey(key, "LocalPath")) {
      entry.localPath = value;
    } else if (sameKey(key, "Register")) {
      entry.registerFile = isYes(value);
    } else if (sameKey(key, "Execute")) {
      entry.execute = isYes(value);
    } else if (sameKey(key, "ExecutePar")) {
      entry.executeParameters = value;
    } else if (sameKey(key, "ZipFile")) {
      entry.zipFile = isYes(value);
    } else if (sameKey(key, "ForceOverwrite")) {
      entry.forceOverwrite = isYes(value);
    } else if (sameKey(key, "URL")) {
      entry.url = value;
    } else if (sameKey(key, "UserName")) {
      entry.userName = value;
    } else if (sameKey(key, "Password")) {
      entry.password = value;
    } else if (sameKey(key, "SHA256")) {
      entry.sha256 = value;
    }
  }
  entry.fileDate = (static_cast<uint64_t>(dateHigh) << 32) | dateLow;
}

}  // namespace

UpdateFileList::UpdateFileList(std::string programDirectory)
    : m_resolver(std::move(programDirectory)) {}

UpdateFileList::~UpdateFileList() = default;

void UpdateFileList::clear() {
  std::lock_guard<std::mutex> lock(m_lock);
  m_files.clear();
}

bool UpdateFileList::loadFromXml(const std::string& path, std::vector<Refusal>* refusals) {
  clear();
  pugi::xml_document document;
  if (!document.load_file(path.c_str())) return false;
  readEntries(document, refusals);
  return true;
}

bool UpdateFileList::loadFromXmlText(std::string_view text, std::vector<Refusal>* refusals) {
  clear();
  pugi::xml_document document;
  if (!document.load_buffer(text.data(), text.size())) return false;
  readEntries(document, refusals);
  return true;
}

void UpdateFileList::readEntries(const pugi::xml_document& document,
                                 std::vector<Refusal>* refusals) {
  const pugi::xml_node root = document.document_element();
  std::lock_guard<std::mutex> lock(m_lock);
  forEachBelow(root, [&](const pugi::xml_node& node) {
    if (node.type() != pugi::node_element || std::strcmp(node.name(), "File") != 0) return;
    auto entry = std::make_unique<CUpdateFile>();
    readEntry(node, *entry);
    const InstallPathResolver::Resolution where =
        m_resolver.resolve(entry->installDir, entry->localPath, entry->fileName);
    if (!where.accepted) {
      if (refusals) refusals->push_back({entry->fileName, where.reason});
      return;
    }
    entry->fullPath = where.fullPath;
    m_files.push_back(std::move(entry));
  });
}

int UpdateFileList::pruneAndCount() {
  std::lock_guard<std::mutex> lock(m_lock);
  std::erase_if(m_files,
                [](const std::unique_ptr<CUpdateFile>& file) { return !file->needsUpdate(); });
  return static_cast<int>(m_files.size());
}

int64_t UpdateFileList::totalLength() const {
  std::lock_guard<std::mutex> lock(m_lock);
  int64_t total = 0;
  for (const auto& file : m_files) {
    if (file->needsUpdateFlag && file->length <= std::numeric_limits<int64_t>::max() - total)
      total += file->length;
  }
  return total;
}

std::unique_ptr<CUpdateFile> UpdateFileList::takeNext() {
  std::lock_guard<std::mutex> lock(m_lock);
  if (m_files.empty()) return nullptr;
  std::unique_ptr<CUpdateFile> first = std::move(m_files.front());
  m_files.erase(m_files.begin());
  return first;
}

size_t UpdateFileList::size() const {
  std::lock_guard<std::mutex> lock(m_lock);
  return m_files.size();
}
