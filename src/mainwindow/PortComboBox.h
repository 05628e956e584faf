#pragma once

#include <QComboBox>
#include <functional>

// The editable port selector. A device path is longer than the box, so the
// whole text is in its tooltip and the drop-down list is as wide as its
// longest entry; opening the list first asks for a fresh one.
class PortComboBox final : public QComboBox {
  Q_OBJECT

 public:
  explicit PortComboBox(QWidget* parent = nullptr);

  void SetBeforePopup(std::function<void()> refresh) { m_beforePopup = std::move(refresh); }
  void showPopup() override;

 private:
  std::function<void()> m_beforePopup;
};
