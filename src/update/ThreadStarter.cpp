#include "update/ThreadStarter.h"

ThreadStarter::ThreadStarter() : m_thread(&ThreadStarter::loop, this) {}

ThreadStarter::~ThreadStarter() {
  {
    std::lock_guard<std::mutex> lock(m_lock);
    m_quit = true;
  }
  m_changed.notify_all();
  m_thread.join();
}

void ThreadStarter::run(const std::function<void()>& call) {
  std::unique_lock<std::mutex> lock(m_lock);
  m_changed.wait(lock, [this] { return m_call == nullptr; });
  m_call = &call;
  const uint64_t ticket = ++m_asked;
  m_changed.notify_all();
  m_changed.wait(lock, [this, ticket] { return m_done >= ticket; });
}

void ThreadStarter::loop() {
  std::unique_lock<std::mutex> lock(m_lock);
  for (;;) {
    m_changed.wait(lock, [this] { return m_call != nullptr || m_quit; });
    if (m_call == nullptr) return;
    const std::function<void()>* call = m_call;
    m_call = nullptr;
    lock.unlock();
    (*call)();
    lock.lock();
    ++m_done;
    m_changed.notify_all();
  }
}
