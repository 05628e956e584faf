#pragma once

#include <string>
#include <vector>

// Starts a program that lives on by itself: in a session of its own, not a
// child of ours (so it is never left as a zombie), with none of our file
// descriptors beyond standard input, output and error. No shell is involved.
class DetachedProcess {
 public:
  // True once the program has been executed; false if it could not be.
  static bool start(const std::string& program, const std::vector<std::string>& arguments);
};
