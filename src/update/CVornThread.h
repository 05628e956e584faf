#pragma once

#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>

// A thread that runs `run` once per start. m_evStop is set while no run is
// in progress, so wait() returns at once for a thread never started.
// A derived class must wait() in its own destructor, before its members go.
class CVornThread {
 public:
  CVornThread();
  virtual ~CVornThread();
  CVornThread(const CVornThread&) = delete;
  CVornThread& operator=(const CVornThread&) = delete;

  virtual void run() = 0;

  // Starts a thread unless one is still attached; true if a thread is there.
  bool start();
  // Waits for the run to end and joins its thread.
  void wait();

 private:
  // A manual-reset event.
  class Event {
   public:
    explicit Event(bool signalled) : m_signalled(signalled) {}
    void set();
    void reset();
    void wait();

   private:
    std::mutex m_lock;
    std::condition_variable m_changed;
    bool m_signalled;
  };

  void entry();

  std::mutex m_handleLock;
  std::unique_ptr<std::thread> m_thread;  // the handle; exchanged under m_handleLock
  Event m_evStop{true};
};
