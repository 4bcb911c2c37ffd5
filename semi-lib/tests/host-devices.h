// The linear devices the test circuits need beside the semiconductors:
// ground (a zero-volt link from its net to the reference, joined to it for
// the netlist), a resistor and an ideal DC voltage source, stamped through
// the same host interface and writing their own SPICE element lines.
#ifndef SEMI_LIB_TESTS_HOST_DEVICES_H
#define SEMI_LIB_TESTS_HOST_DEVICES_H

#include "semi-lib/core/device-host.h"

#include <string>

namespace semi_test {

class LinearDevice : public semi::SimDevice {
public:
  void TopologyFix() override {}
  void SpiceInfo(std::string &element, std::string &model) override;
  void SetUpDeviceDC() override {}
  void LoadDevicePWL() override { LoadDeviceDC(); }
  void LimitDeltaDC() override {}
  bool UpdateParams() override { return true; }
  bool UpdateResult() override { return true; }

protected:
  void keep(const std::string &devName, semi::SimCircuit *circuit);
  int node(const std::string &suffix, int type);
  void add(semi::SparseEntry *entry, double value);
  void addRhs(int index, double value);
  virtual std::string elementText() = 0;

  std::string devName_;
  semi::SimCircuit *circuit_ = nullptr;
};

class GroundDevice : public LinearDevice {
public:
  void InstallDevice(const std::string &devName, semi::DeviceComponent *,
                     semi::SimCircuit *circuit) override;
  void SetUpDeviceDC() override;
  void LoadDeviceDC() override;

private:
  std::string elementText() override { return ""; }
  int net_ = 0, branch_ = 0;
  semi::SparseEntry *netBranch_ = nullptr, *branchNet_ = nullptr;
};

class ResistorDevice : public LinearDevice {
public:
  explicit ResistorDevice(double ohms) : ohms_(ohms) {}
  void InstallDevice(const std::string &devName, semi::DeviceComponent *,
                     semi::SimCircuit *circuit) override;
  void SetUpDeviceDC() override;
  void LoadDeviceDC() override;

private:
  std::string elementText() override;
  double ohms_;
  int a_ = 0, b_ = 0;
  semi::Transadmittance group_{};
};

// Volts from pin P to pin M; its branch current enters P's terminal.
class VoltageSourceDevice : public LinearDevice {
public:
  explicit VoltageSourceDevice(double volts) : volts_(volts) {}
  void InstallDevice(const std::string &devName, semi::DeviceComponent *,
                     semi::SimCircuit *circuit) override;
  void SetUpDeviceDC() override;
  void LoadDeviceDC() override;
  int branch() const { return branch_; }

private:
  std::string elementText() override;
  double volts_;
  int p_ = 0, m_ = 0, branch_ = 0;
  semi::SparseEntry *pb_ = nullptr, *mb_ = nullptr, *bp_ = nullptr, *bm_ = nullptr;
};

// Shortest text that reads back as the same double.
std::string exactText(double value);

} // namespace semi_test

#endif
