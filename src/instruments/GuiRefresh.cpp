#include "GuiRefresh.h"

#include <QThread>

GuiRefresh::GuiRefresh(QObject* owner, const char* slotName)
    : m_owner(owner), m_slotName(slotName) {}

void GuiRefresh::Request() {
  if (QThread::currentThread() == m_owner->thread()) {
    QMetaObject::invokeMethod(m_owner, m_slotName, Qt::DirectConnection);
    return;
  }
  // Invoking the slot by name keeps the posted event free of captured data, so nothing but
  // the atomics crosses between the threads.
  if (!m_queued.exchange(true, std::memory_order_acq_rel)) {
    QMetaObject::invokeMethod(m_owner, m_slotName, Qt::QueuedConnection);
  }
}

void GuiRefresh::Begin() {
  m_queued.store(false, std::memory_order_release);
}
