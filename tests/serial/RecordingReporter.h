#pragma once

#include <QString>
#include <QStringList>
#include <mutex>

#include "serial/PortErrorReporter.h"

// Records every error box and closes it at once, as a user clicking OK.
class RecordingReporter : public PortErrorReporter {
 public:
  void ShowPortError(const QString& title, const QString& text, OwnerReceipt receipt) override;

  QStringList Texts() const;
  QStringList Titles() const;

 private:
  mutable std::mutex m_lock;
  QStringList m_texts;
  QStringList m_titles;
};
