#include "RecordingReporter.h"

void RecordingReporter::ShowPortError(const QString& title, const QString& text,
                                      OwnerReceipt receipt) {
  {
    std::lock_guard guard(m_lock);
    m_titles.append(title);
    m_texts.append(text);
  }
  receipt.Complete();
}

QStringList RecordingReporter::Texts() const {
  std::lock_guard guard(m_lock);
  return m_texts;
}

QStringList RecordingReporter::Titles() const {
  std::lock_guard guard(m_lock);
  return m_titles;
}
