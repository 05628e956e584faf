#pragma once

#include <chrono>
#include <filesystem>
#include <thread>

// Waits for a file a started program writes; it runs on its own, so it may
// take a while on a busy machine.
inline bool waitForFile(const std::filesystem::path& path) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  while (!std::filesystem::exists(path)) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return true;
}
