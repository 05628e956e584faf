#pragma once

#include <QHash>
#include <QWidget>

// Finds the main window's controls by their template numbers (the
// "controlId" property every control carries).
class ControlMap {
 public:
  explicit ControlMap(QWidget& root);

  QWidget* Get(int controlId) const { return m_controls.value(controlId, nullptr); }
  template <typename T>
  T* As(int controlId) const {
    return qobject_cast<T*>(Get(controlId));
  }

  void Enable(int controlId, bool enabled) const;
  void SetText(int controlId, const QString& text) const;
  QString Text(int controlId) const;
  void Show(int controlId, bool visible) const;

 private:
  QHash<int, QWidget*> m_controls;
};
