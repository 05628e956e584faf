#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "update/common/CUpdateFile.h"
#include "update/common/InstallPathResolver.h"

namespace pugi {
class xml_document;
}

// The entries of a downloaded update file list. The list is XML with any
// root; every "File" element below the root is one entry, and its children
// ("FileName", "FileVersion", "URL", ... matched without regard to case, a
// later one overwriting an earlier one) give the entry its values. Entries
// whose path would lead outside the program directory never get in.
// Every operation takes the list's own lock.
class UpdateFileList {
 public:
  struct Refusal {
    std::string fileName;
    std::string reason;
  };

  explicit UpdateFileList(std::string programDirectory);
  ~UpdateFileList();
  UpdateFileList(const UpdateFileList&) = delete;
  UpdateFileList& operator=(const UpdateFileList&) = delete;

  void clear();

  // Replaces the entries with those of the list in `path` (or in `text`).
  // False when it is no readable XML. Refused entries are left out and, when
  // asked for, reported.
  bool loadFromXml(const std::string& path, std::vector<Refusal>* refusals = nullptr);
  bool loadFromXmlText(std::string_view text, std::vector<Refusal>* refusals = nullptr);

  // Drops the entries that are not newer than what is installed; returns how
  // many are left.
  int pruneAndCount();
  // Sum of "Length" over the entries marked as needing an update.
  int64_t totalLength() const;
  // The first entry, taken out of the list; null when it is empty.
  std::unique_ptr<CUpdateFile> takeNext();

  size_t size() const;
  const std::string& programDirectory() const { return m_resolver.programDirectory(); }

 private:
  void readEntries(const pugi::xml_document& document, std::vector<Refusal>* refusals);

  InstallPathResolver m_resolver;
  mutable std::mutex m_lock;
  std::vector<std::unique_ptr<CUpdateFile>> m_files;
};
