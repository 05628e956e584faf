#include "protocol/SharedText.h"

#include <mutex>
#include <set>

namespace {

struct InternPool {
  std::mutex lock;
  std::set<std::string, std::less<>> texts;
};

InternPool& Pool() {
  static InternPool pool;
  return pool;
}

}  // namespace

SharedText::SharedText() : m_text(Intern("")) {}

const std::string* SharedText::Intern(std::string_view text) {
  InternPool& pool = Pool();
  std::lock_guard guard(pool.lock);
  auto it = pool.texts.find(text);
  if (it == pool.texts.end()) it = pool.texts.emplace(text).first;
  return &*it;
}
