#pragma once

#include <QObject>
#include <atomic>

// Carries a refresh request from any thread to a slot of a widget on the GUI thread.
//
// Worker threads store their values in atomics and call Request(); on the GUI thread the
// slot runs at once, elsewhere one queued call is posted and further requests fold into it
// until the slot has started. The slot must call Begin() before it reads the stored values,
// so a value stored while the slot runs queues a fresh call instead of being lost.
class GuiRefresh {
 public:
  GuiRefresh(QObject* owner, const char* slotName);

  GuiRefresh(const GuiRefresh&) = delete;
  GuiRefresh& operator=(const GuiRefresh&) = delete;

  void Request();
  void Begin();

 private:
  QObject* m_owner;
  const char* m_slotName;
  std::atomic<bool> m_queued{false};
};
