#include "services/GuiDispatcher.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QThread>
#include <condition_variable>
#include <mutex>

struct GuiDispatcher::Shared {
  std::mutex lock;
  std::condition_variable changed;
  bool released = false;
};

GuiDispatcher::GuiDispatcher() : m_shared(std::make_shared<Shared>()) {}

GuiDispatcher::~GuiDispatcher() {
  Release();
}

bool GuiDispatcher::OnGuiThread() {
  QCoreApplication* app = QCoreApplication::instance();
  return app != nullptr && QThread::currentThread() == app->thread();
}

void GuiDispatcher::Post(std::function<void()> call, QObject* context) {
  QObject* receiver = context != nullptr ? context : QCoreApplication::instance();
  if (receiver == nullptr) return;
  QMetaObject::invokeMethod(receiver, std::move(call), Qt::QueuedConnection);
}

bool GuiDispatcher::CallAndWait(std::function<void()> call) {
  if (OnGuiThread()) {
    call();
    return true;
  }
  auto done = std::make_shared<bool>(false);
  std::shared_ptr<Shared> shared = m_shared;
  {
    std::lock_guard guard(shared->lock);
    if (shared->released) return false;
  }
  Post([shared, done, call = std::move(call)] {
    {
      std::lock_guard guard(shared->lock);
      if (shared->released) return;
    }
    call();
    std::lock_guard guard(shared->lock);
    *done = true;
    shared->changed.notify_all();
  });
  std::unique_lock guard(shared->lock);
  shared->changed.wait(guard, [&] { return *done || shared->released; });
  return *done;
}

void GuiDispatcher::Release() {
  std::lock_guard guard(m_shared->lock);
  m_shared->released = true;
  m_shared->changed.notify_all();
}
