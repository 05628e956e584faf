#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "tools/unitsim/PseudoTerminal.h"
#include "RecordingOwner.h"
#include "RecordingReporter.h"
#include "serial/CSerialPort.h"
#include "serial/PortDiscovery.h"
#include "serial/PortSelector.h"

namespace {

class ListSelector : public PortSelector {
 public:
  void AddPortItem(const QString& portName) override { items.append(portName); }
  void SelectPortItem(int index) override { selected = index; }
  QStringList items;
  int selected = -1;
};

std::unique_ptr<PseudoTerminal> NewTerminal() {
  std::string error;
  auto terminal = PseudoTerminal::Open(&error);
  EXPECT_TRUE(terminal) << error;
  return terminal;
}

TEST(PortDiscoveryTest, OffersThePortsThatOpenExclusivelyInTheirOrder) {
  auto first = NewTerminal();
  auto held = NewTerminal();
  auto last = NewTerminal();
  ASSERT_TRUE(first && held && last);
  const QString firstPath = QString::fromStdString(first->DevicePath());
  const QString heldPath = QString::fromStdString(held->DevicePath());
  const QString lastPath = QString::fromStdString(last->DevicePath());

  RecordingOwner owner;
  RecordingReporter reporter;
  CSerialPort holder(reporter);
  ASSERT_TRUE(holder.InitialisePort(owner, heldPath, 115200));

  PortDiscovery discovery({firstPath, heldPath, "/dev/tavrik-no-such-port", lastPath});
  ListSelector selector;
  discovery.FillPortList(selector);
  EXPECT_EQ(selector.items, QStringList({firstPath, lastPath}));
  EXPECT_EQ(selector.selected, 0);
  EXPECT_EQ(discovery.FreePorts(), selector.items);

  // Probing leaves a free port free; with none free nothing is selected.
  EXPECT_TRUE(holder.InitialisePort(owner, firstPath, 115200));
  ListSelector empty;
  PortDiscovery({"/dev/tavrik-no-such-port"}).FillPortList(empty);
  EXPECT_TRUE(empty.items.isEmpty());
  EXPECT_EQ(empty.selected, -1);
}

TEST(PortDiscoveryTest, DeviceNamesSortNaturally) {
  QStringList names{"ttyUSB0", "ttyS10", "ttyACM1", "ttyS2", "ttyS", "ttyS1"};
  std::sort(names.begin(), names.end(), PortDiscovery::NaturalLess);
  EXPECT_EQ(names, QStringList({"ttyACM1", "ttyS", "ttyS1", "ttyS2", "ttyS10", "ttyUSB0"}));
}

}  // namespace
