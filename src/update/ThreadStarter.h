#pragma once

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>

// Runs calls on a thread of its own, made with the scheduling of the thread
// that made the starter. A new thread inherits its creator's scheduling, and
// a thread that has put itself at idle priority may not lift itself, or the
// threads and programs it starts, back without privilege: the update thread
// starts its downloads through this, so they, and whatever they execute, run
// as the rest of the program does.
class ThreadStarter {
 public:
  // Throws std::system_error when no thread can be made.
  ThreadStarter();
  // Runs what was asked for and joins the thread.
  ~ThreadStarter();
  ThreadStarter(const ThreadStarter&) = delete;
  ThreadStarter& operator=(const ThreadStarter&) = delete;

  // Runs call on the starter's thread and waits for it to return.
  void run(const std::function<void()>& call);

 private:
  void loop();

  std::mutex m_lock;
  std::condition_variable m_changed;
  const std::function<void()>* m_call = nullptr;  // the call asked for, until taken
  uint64_t m_asked = 0;
  uint64_t m_done = 0;
  bool m_quit = false;
  std::thread m_thread;  // last: it runs loop() on the members above
};
