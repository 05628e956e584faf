#pragma once

#include <atomic>
#include <string>
#include <string_view>

// A text that one thread sets and others read at any time. Values are
// interned and never freed, so a reader holds a stable pointer and the
// common case (one of a few fixed status texts per frame) costs one atomic
// store without allocating.
class SharedText {
 public:
  SharedText();
  SharedText(const SharedText&) = delete;
  SharedText& operator=(const SharedText&) = delete;

  void Set(std::string_view text) { m_text.store(Intern(text), std::memory_order_release); }
  // For texts already interned (see Intern), e.g. the decoder's constants.
  void SetInterned(const std::string* text) { m_text.store(text, std::memory_order_release); }
  std::string Get() const { return *m_text.load(std::memory_order_acquire); }
  bool Equals(const std::string* interned) const {
    return m_text.load(std::memory_order_acquire) == interned;
  }

  static const std::string* Intern(std::string_view text);

 private:
  std::atomic<const std::string*> m_text;
};
