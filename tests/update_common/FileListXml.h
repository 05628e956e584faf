#pragma once

#include <string>
#include <utility>
#include <vector>

// Update file lists written for the tests.
using FileListChildren = std::vector<std::pair<std::string, std::string>>;

inline std::string fileListEntry(const FileListChildren& children) {
  std::string xml = "<File>";
  for (const auto& [key, value] : children) xml += "<" + key + ">" + value + "</" + key + ">";
  return xml + "</File>";
}

inline std::string fileList(const std::vector<std::string>& entries) {
  std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<UpdateList>\n";
  for (const std::string& e : entries) xml += "  " + e + "\n";
  return xml + "</UpdateList>\n";
}
