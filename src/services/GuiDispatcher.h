#pragma once

#include <functional>
#include <memory>

class QObject;

// Carries calls onto the GUI thread: queued, or queued with the caller
// waiting for it. A waiter never relies on the GUI thread alone to wake it:
// Release() lets every waiter go, so shutdown can never deadlock against a
// worker waiting for the GUI thread while the GUI thread waits for the worker.
class GuiDispatcher {
 public:
  GuiDispatcher();
  ~GuiDispatcher();

  // Dropped if context (default: the application) is gone when it is due.
  void Post(std::function<void()> call, QObject* context = nullptr);
  bool CallAndWait(std::function<void()> call);
  void Release();

  static bool OnGuiThread();

 private:
  struct Shared;
  std::shared_ptr<Shared> m_shared;
};
