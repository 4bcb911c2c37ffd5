// The diode device: nodes, stamps, step limit, charge and results.
#include "semi-lib/core/diode-device.h"

#include "semi-lib/core/spice-lines.h"

#include <cmath>

namespace semi {

DiodeDevice::DiodeDevice()
    : SemiDevice({{"IS", true, false},
                  {"N", true, false},
                  {"RS", true, true},
                  {"TT", false, false},
                  {"CJO", false, false},
                  {"VJ", false, false},
                  {"M", false, false},
                  {"GMIN", true, false},
                  {"IMAX", true, false}}) {}

void DiodeDevice::InstallDevice(const std::string &devName, DeviceComponent *component,
                                SimCircuit *circuit) {
  keep(devName, component, circuit);
  a_ = makeNode("A", VarVoltage);
  k_ = makeNode("K", VarVoltage);
  circuit_->TopologyInsert(a_, k_, a_, PathDcResist);
  UpdateParams();
}

void DiodeDevice::TopologyFix() {
  unconnectedA_ = circuit_->NakedPin(a_);
  if (unconnectedA_)
    circuit_->clearNakedPin(a_);
  unconnectedK_ = circuit_->NakedPin(k_);
  if (unconnectedK_)
    circuit_->clearNakedPin(k_);
  ik_ = makeNode("iK", VarVoltage);
  circuit_->TopologyInsert(k_, ik_, k_, PathDcResist);
}

void DiodeDevice::SpiceInfo(std::string &element, std::string &model) {
  const std::string partId = circuit_->OcxMapPartID(devName_);
  const std::vector<ParamItem> items = component_->ParamItems();
  element = partId + " " + circuit_->SpiceNet(a_) + " " +
            circuit_->SpiceNet(spiceTerminal(k_, ik_)) + " " +
            spiceModelName(SpiceKind::Diode, typeText(items), partId);
  model = spiceModelLine(SpiceKind::Diode, items, partId);
}

void DiodeDevice::SetUpDeviceDC() {
  orderSeriesPair(k_, ik_, param(RS));
  series_ = circuit_->InstallMatrixTransadmittance(ik_, k_, ik_, k_);
  junctionGroup_ = circuit_->InstallMatrixTransadmittance(a_, ik_, a_, ik_);
}

JunctionPoint DiodeDevice::junction(double vj) const {
  return EvalJunction(param(IS), param(N), vj, param(IMAX), param(GMIN), true);
}

ChargePoint DiodeDevice::EvalCharge(double vj) const {
  ChargePoint transit{0, 0};
  if (param(TT) != 0) {
    const JunctionPoint p = junction(vj);
    transit = {param(TT) * p.current, param(TT) * p.conductance};
  }
  const ChargePoint depletion = DepletionCap(vj, param(CJO), param(M), param(VJ), DepletionFc);
  return {transit.charge + depletion.charge, transit.capacitance + depletion.capacitance};
}

void DiodeDevice::LoadDeviceDC() {
  const bool unconnected = unconnectedA_ || unconnectedK_;
  const double vj = circuit_->Solution(a_) - circuit_->Solution(ik_);
  // An unconnected pin turns the junction into a unit conductance.
  const JunctionPoint p = unconnected ? JunctionPoint{vj, 1.0} : junction(vj);
  stamp(junctionGroup_, p.conductance);
  addRhs(a_, -p.current);
  addRhs(ik_, p.current);
  pdc_ = std::fabs(p.current * vj);
  addAbsSum(a_, p.current);
  addAbsSum(ik_, p.current);

  const double g = unconnected || param(RS) == 0 ? 1.0 : 1 / param(RS);
  stamp(series_, g);
  const double v = circuit_->Solution(ik_) - circuit_->Solution(k_);
  const double i = g * v;
  addRhs(ik_, -i);
  addRhs(k_, i);
  pdc_ += std::fabs(i * v);
  addAbsSum(ik_, i);
  addAbsSum(k_, i);
}

void DiodeDevice::LimitDeltaDC() {
  if (unconnectedA_ || unconnectedK_)
    return;
  limitJunctionStep(a_, ik_, param(IS), param(N), param(IMAX));
}

double DiodeDevice::resultValue(const std::string &name, double vj, double vrs) const {
  if (!std::isfinite(vj))
    return HUGE_VAL;
  if (name == "Pdc")
    return pdc_;
  if (name == "Vdc")
    return vj + vrs;
  if (name == "Idc")
    return junction(vj).current;
  if (name == "Vj")
    return vj;
  if (name == "Qj")
    return EvalCharge(vj).charge;
  if (name == "rd")
    return 1 / junction(vj).conductance;
  if (name == "gd")
    return junction(vj).conductance;
  if (name == "cd")
    return EvalCharge(vj).capacitance;
  return HUGE_VAL;
}

bool DiodeDevice::UpdateResult() {
  double va = 0, vik = 0, vk = 0;
  try {
    va = circuit_->Solution(a_);
    vik = circuit_->Solution(ik_);
    vk = circuit_->Solution(k_);
  } catch (const HostError &) {
    return false;
  }
  const double vj = std::isfinite(va) && std::isfinite(vik) ? va - vik : HUGE_VAL;
  const double vrs = std::isfinite(vik) && std::isfinite(vk) ? vik - vk : HUGE_VAL;
  return WriteResults(true, [&](const std::string &name) { return resultValue(name, vj, vrs); });
}

} // namespace semi
