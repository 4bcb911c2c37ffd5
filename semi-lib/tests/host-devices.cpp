// Ground, resistor and voltage source of the native test circuits.
#include "semi-lib/tests/host-devices.h"

#include <cstdio>
#include <cstdlib>

namespace semi_test {

std::string exactText(double value) {
  char text[40];
  if (value == static_cast<double>(static_cast<long long>(value)) && value < 1e15 &&
      value > -1e15) {
    std::snprintf(text, sizeof text, "%lld", static_cast<long long>(value));
    return text;
  }
  for (int digits = 1; digits <= 17; ++digits) {
    std::snprintf(text, sizeof text, "%.*g", digits, value);
    if (std::strtod(text, nullptr) == value)
      break;
  }
  return text;
}

void LinearDevice::SpiceInfo(std::string &element, std::string &model) {
  element = elementText();
  model.clear();
}

void LinearDevice::keep(const std::string &devName, semi::SimCircuit *circuit) {
  if (!circuit)
    throw semi::HostError(semi::ResultInvalidArg);
  devName_ = devName;
  circuit_ = circuit;
}

int LinearDevice::node(const std::string &suffix, int type) {
  const int index = circuit_->IndexMapInsert(devName_ + suffix);
  circuit_->putVarType(index, type);
  return index;
}

void LinearDevice::add(semi::SparseEntry *entry, double value) {
  entry->putRealValue(entry->RealValue() + value);
}

void LinearDevice::addRhs(int index, double value) {
  circuit_->putRhs(index, circuit_->Rhs(index) + value);
}

void GroundDevice::InstallDevice(const std::string &devName, semi::DeviceComponent *,
                                 semi::SimCircuit *circuit) {
  keep(devName, circuit);
  net_ = node("G", semi::VarVoltage);
  branch_ = node("GI", semi::VarCurrent);
  const int groundWire = 100;
  circuit_->TopologyInsert(net_, 0, net_, groundWire);
}

void GroundDevice::SetUpDeviceDC() {
  netBranch_ = circuit_->InstallMatrixEntry(net_, branch_);
  branchNet_ = circuit_->InstallMatrixEntry(branch_, net_);
}

void GroundDevice::LoadDeviceDC() {
  add(netBranch_, 1.0);
  add(branchNet_, 1.0);
  addRhs(net_, -circuit_->Solution(branch_));
  addRhs(branch_, -circuit_->Solution(net_));
}

void ResistorDevice::InstallDevice(const std::string &devName, semi::DeviceComponent *,
                                   semi::SimCircuit *circuit) {
  keep(devName, circuit);
  a_ = node("A", semi::VarVoltage);
  b_ = node("B", semi::VarVoltage);
  circuit_->TopologyInsert(a_, b_, a_, semi::PathDcResist);
}

void ResistorDevice::SetUpDeviceDC() {
  group_ = circuit_->InstallMatrixTransadmittance(a_, b_, a_, b_);
}

void ResistorDevice::LoadDeviceDC() {
  const double g = 1 / ohms_;
  add(group_.entry1, g);
  add(group_.entry2, g);
  add(group_.entry3Neg, -g);
  add(group_.entry4Neg, -g);
  const double i = g * (circuit_->Solution(a_) - circuit_->Solution(b_));
  addRhs(a_, -i);
  addRhs(b_, i);
}

std::string ResistorDevice::elementText() {
  return circuit_->OcxMapPartID(devName_) + " " + circuit_->SpiceNet(a_) + " " +
         circuit_->SpiceNet(b_) + " " + exactText(ohms_);
}

void VoltageSourceDevice::InstallDevice(const std::string &devName, semi::DeviceComponent *,
                                        semi::SimCircuit *circuit) {
  keep(devName, circuit);
  p_ = node("P", semi::VarVoltage);
  m_ = node("M", semi::VarVoltage);
  branch_ = node("I", semi::VarCurrent);
  const int voltageSource = 20;
  circuit_->TopologyInsert(p_, m_, branch_, voltageSource);
}

void VoltageSourceDevice::SetUpDeviceDC() {
  pb_ = circuit_->InstallMatrixEntry(p_, branch_);
  mb_ = circuit_->InstallMatrixEntry(m_, branch_);
  bp_ = circuit_->InstallMatrixEntry(branch_, p_);
  bm_ = circuit_->InstallMatrixEntry(branch_, m_);
}

void VoltageSourceDevice::LoadDeviceDC() {
  add(pb_, 1.0);
  add(bp_, 1.0);
  add(mb_, -1.0);
  add(bm_, -1.0);
  const double i = circuit_->Solution(branch_);
  addRhs(p_, -i);
  addRhs(m_, i);
  addRhs(branch_, -(circuit_->Solution(p_) - circuit_->Solution(m_) - volts_));
}

std::string VoltageSourceDevice::elementText() {
  return circuit_->OcxMapPartID(devName_) + " " + circuit_->SpiceNet(p_) + " " +
         circuit_->SpiceNet(m_) + " DC " + exactText(volts_);
}

} // namespace semi_test
