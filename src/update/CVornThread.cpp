#include "update/CVornThread.h"

#include <system_error>

void CVornThread::Event::set() {
  std::lock_guard<std::mutex> lock(m_lock);
  m_signalled = true;
  m_changed.notify_all();
}

void CVornThread::Event::reset() {
  std::lock_guard<std::mutex> lock(m_lock);
  m_signalled = false;
}

void CVornThread::Event::wait() {
  std::unique_lock<std::mutex> lock(m_lock);
  m_changed.wait(lock, [this] { return m_signalled; });
}

CVornThread::CVornThread() = default;

CVornThread::~CVornThread() {
  wait();
}

bool CVornThread::start() {
  std::lock_guard<std::mutex> lock(m_handleLock);
  if (!m_thread) {
    // Reset before the thread exists, so a run that ends at once cannot
    // have its end signal overwritten.
    m_evStop.reset();
    try {
      m_thread = std::make_unique<std::thread>(&CVornThread::entry, this);
    } catch (const std::system_error&) {
      m_evStop.set();
    }
  }
  return m_thread != nullptr;
}

void CVornThread::wait() {
  m_evStop.wait();
  std::unique_ptr<std::thread> thread;
  {
    std::lock_guard<std::mutex> lock(m_handleLock);
    thread.swap(m_thread);
  }
  if (thread && thread->joinable()) thread->join();
}

void CVornThread::entry() {
  run();
  m_evStop.set();
}
