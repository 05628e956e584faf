#pragma once

#include <QString>

// The editable port selector the free ports are offered in (a combo box in
// the main window).
class PortSelector {
 public:
  virtual void AddPortItem(const QString& portName) = 0;
  virtual void SelectPortItem(int index) = 0;

 protected:
  ~PortSelector() = default;
};
