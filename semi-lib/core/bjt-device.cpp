// The bipolar transistor device: nodes, matrix entries, Gummel-Poon stamps,
// step limiting and results.
#include "semi-lib/core/bjt-device.h"

#include "semi-lib/core/junction.h"
#include "semi-lib/core/spice-lines.h"

#include <algorithm>
#include <cmath>

namespace semi {

namespace {

std::vector<ParamSpec> bjtParams() {
  return {
      {"IS", true, false},   {"BF", true, false},   {"NF", true, false},   {"ISE", true, false},
      {"NE", true, false},   {"VAF", true, false},  {"IKF", true, false},  {"BR", true, false},
      {"NR", true, false},   {"ISC", true, false},  {"NC", true, false},   {"VAR", true, false},
      {"IKR", true, false},  {"RC", true, true},    {"RB", true, true},    {"RE", true, true},
      {"TF", false, false},  {"CJE", false, false}, {"VJE", false, false}, {"MJE", false, false},
      {"TR", false, false},  {"CJC", false, false}, {"VJC", false, false}, {"MJC", false, false},
      {"GMIN", true, false}, {"IMAX", true, false}};
}

} // namespace

BjtDevice::BjtDevice(Polarity polarity) : SemiDevice(bjtParams()), polarity_(polarity) {}

void BjtDevice::InstallDevice(const std::string &devName, DeviceComponent *component,
                              SimCircuit *circuit) {
  keep(devName, component, circuit);
  c_ = makeNode("C", VarVoltage);
  b_ = makeNode("B", VarVoltage);
  e_ = makeNode("E", VarVoltage);
  // A resistive DC path from base to collector and from base to emitter.
  circuit_->TopologyInsert(b_, c_, b_, PathDcResist);
  circuit_->TopologyInsert(b_, e_, b_, PathDcResist);
  UpdateParams();
}

void BjtDevice::TopologyFix() {
  bool *flags[3] = {&unconnectedC_, &unconnectedB_, &unconnectedE_};
  const int pins[3] = {c_, b_, e_};
  for (int i = 0; i < 3; ++i) {
    *flags[i] = circuit_->NakedPin(pins[i]);
    if (*flags[i])
      circuit_->clearNakedPin(pins[i]);
  }
  allUnconnected_ = unconnectedC_ && unconnectedB_ && unconnectedE_;
  if (allUnconnected_) {
    ic_ = ib_ = ie_ = 0;
  } else {
    ic_ = makeNode("iC", VarVoltage);
    ib_ = makeNode("iB", VarVoltage);
    ie_ = makeNode("iE", VarVoltage);
  }
  circuit_->TopologyInsert(c_, ic_, c_, PathDcResist);
  circuit_->TopologyInsert(b_, ib_, b_, PathDcResist);
  circuit_->TopologyInsert(e_, ie_, e_, PathDcResist);
  bc_ = makeNode("bC", VarVoltage);
  circuit_->TopologyInsert(c_, bc_, c_, PathDcResist);
  link_ = makeNode("BEbC", VarCurrent);
}

void BjtDevice::SpiceInfo(std::string &element, std::string &model) {
  const std::string partId = circuit_->OcxMapPartID(devName_);
  const SpiceKind kind = polarity_ == Polarity::Npn ? SpiceKind::Npn : SpiceKind::Pnp;
  const std::vector<ParamItem> items = component_->ParamItems();
  element = partId + " " + circuit_->SpiceNet(spiceTerminal(c_, ic_)) + " " +
            circuit_->SpiceNet(spiceTerminal(b_, ib_)) + " " +
            circuit_->SpiceNet(spiceTerminal(e_, ie_)) + " " +
            spiceModelName(kind, typeText(items), partId);
  model = spiceModelLine(kind, items, partId);
}

void BjtDevice::SetUpDeviceDC() {
  orderSeriesPair(c_, ic_, param(RC));
  orderSeriesPair(b_, ib_, param(RB));
  orderSeriesPair(e_, ie_, param(RE));
  collector_ = circuit_->InstallMatrixTransadmittance(ic_, c_, ic_, c_);
  base_ = circuit_->InstallMatrixTransadmittance(ib_, b_, ib_, b_);
  emitter_ = circuit_->InstallMatrixTransadmittance(ie_, e_, ie_, e_);
  linkEntries_[0] = circuit_->InstallMatrixEntry(link_, ib_);
  linkEntries_[1] = circuit_->InstallMatrixEntry(ib_, link_);
  linkEntries_[2] = circuit_->InstallMatrixEntry(link_, bc_);
  linkEntries_[3] = circuit_->InstallMatrixEntry(bc_, link_);
  beJunction_ = circuit_->InstallMatrixTransadmittance(ib_, ie_, ib_, ie_);
  bcJunction_ = circuit_->InstallMatrixTransadmittance(bc_, ic_, bc_, ic_);
  forward_ = circuit_->InstallMatrixTransadmittance(ic_, ie_, ib_, ie_);
  reverse_ = circuit_->InstallMatrixTransadmittance(ie_, ic_, bc_, ic_);
}

void BjtDevice::loadJunctions() {
  const double s = sign();
  const double vbe = s * (circuit_->Solution(ib_) - circuit_->Solution(ie_));
  const double vbc = s * (circuit_->Solution(bc_) - circuit_->Solution(ic_));
  const double imax = param(IMAX), gmin = param(GMIN);

  const JunctionPoint f = EvalJunction(param(IS), param(NF), vbe, imax, gmin, true);
  JunctionPoint le{0, 0};
  if (param(ISE) != 0)
    le = EvalJunction(param(ISE), param(NE), vbe, imax, gmin, false);
  const JunctionPoint r = EvalJunction(param(IS), param(NR), vbc, imax, gmin, true);
  JunctionPoint lc{0, 0};
  if (param(ISC) != 0)
    lc = EvalJunction(param(ISC), param(NC), vbc, imax, gmin, false);

  // Early effect and high injection: qbInv is the inverse base charge.
  const double a = param(VAF) > 0 ? -1 / param(VAF) : 0;
  const double b = param(VAR) > 0 ? -1 / param(VAR) : 0;
  const double q1 = 1 + a * vbc + b * vbe;
  const double q2 =
      (param(IKF) > 0 ? f.current / param(IKF) : 0) + (param(IKR) > 0 ? r.current / param(IKR) : 0);
  const double t = 4 * q2 + 1;
  const double sq = t > 1e-8 ? std::sqrt(t) : 1e-16;
  const double k = 2 / (sq + 1);
  const double qbInv = k * q1;
  const double dVbc = (a - (param(IKR) > 0 ? qbInv * r.conductance / (sq * param(IKR)) : 0)) * k;
  const double dVbe = (b - (param(IKF) > 0 ? qbInv * f.conductance / (sq * param(IKF)) : 0)) * k;

  const double ict = (f.current - r.current) * qbInv;
  const double gF = dVbe * (f.current - r.current) + f.conductance * qbInv;
  const double gR = (r.current - f.current) * dVbc + r.conductance * qbInv;
  const double ibe = f.current / param(BF) + le.current;
  const double gpi = f.conductance / param(BF) + le.conductance;
  const double ibc = r.current / param(BR) + lc.current;
  const double gmu = r.conductance / param(BR) + lc.conductance;

  stamp(beJunction_, gpi);
  stamp(bcJunction_, gmu);
  stamp(forward_, gF);
  stamp(reverse_, gR);

  const double toIc = ibc - ict, toBc = -ibc, toIb = -ibe, toIe = ict + ibe;
  addRhs(ic_, s * toIc);
  addRhs(bc_, s * toBc);
  addRhs(ib_, s * toIb);
  addRhs(ie_, s * toIe);
  addAbsSum(ic_, toIc);
  addAbsSum(bc_, toBc);
  addAbsSum(ib_, toIb);
  addAbsSum(ie_, toIe);

  op_.pdc = std::fabs((vbe - vbc) * ict) + std::fabs(vbc * ibc) + std::fabs(vbe * ibe);
  op_.vbe = vbe;
  op_.vbc = vbc;
  op_.vce = vbe - vbc;
  op_.ib = ibe + ibc;
  op_.ic = ict - ibc;
  op_.ie = -(ict + ibe);
  op_.gpi = gpi;
  op_.gmu = gmu;
  op_.gce = gR;
  op_.gm = gF - gR;
  op_.gF = gF;
  op_.gr = r.conductance;
  op_.forwardCharge = param(TF) * qbInv * f.current;
  op_.forwardCap = param(TF) * gF;
  op_.reverseCharge = param(TR) * r.current;
  op_.reverseCap = param(TR) * r.conductance;
}

void BjtDevice::loadLink() {
  add(linkEntries_[0], 1.0);
  add(linkEntries_[1], 1.0);
  add(linkEntries_[2], -1.0);
  add(linkEntries_[3], -1.0);
  addRhs(link_, -(circuit_->Solution(ib_) - circuit_->Solution(bc_)));
  const double i = circuit_->Solution(link_);
  addRhs(ib_, -i);
  addRhs(bc_, i);
  addAbsSum(ib_, i);
  addAbsSum(bc_, i);
}

void BjtDevice::loadResistance(int pin, int internal, bool unconnected, double r,
                               const Transadmittance &group) {
  const double g = unconnected || allUnconnected_ || r == 0 ? 1.0 : 1 / r;
  stamp(group, g);
  const double v = circuit_->Solution(internal) - circuit_->Solution(pin);
  const double i = g * v;
  addRhs(internal, -i);
  addRhs(pin, i);
  op_.pdc += std::fabs(i * v);
  addAbsSum(internal, i);
  addAbsSum(pin, i);
}

void BjtDevice::LoadDeviceDC() {
  loadJunctions();
  loadLink();
  loadResistance(c_, ic_, unconnectedC_, param(RC), collector_);
  loadResistance(b_, ib_, unconnectedB_, param(RB), base_);
  loadResistance(e_, ie_, unconnectedE_, param(RE), emitter_);
}

void BjtDevice::LimitDeltaDC() {
  if (allUnconnected_)
    return;
  const bool npn = polarity_ == Polarity::Npn;
  limitJunctionStep(npn ? ib_ : ie_, npn ? ie_ : ib_, param(IS), param(NF), param(IMAX));
  limitJunctionStep(npn ? bc_ : ic_, npn ? ic_ : bc_, param(IS), param(NR), param(IMAX));
}

double BjtDevice::resultValue(const std::string &name, double vc, double vb, double ve) const {
  const double cpi =
      DepletionCap(op_.vbe, param(CJE), param(MJE), param(VJE), DepletionFc).capacitance +
      param(TF) * op_.gF;
  const double cmu =
      DepletionCap(op_.vbc, param(CJC), param(MJC), param(VJC), DepletionFc).capacitance +
      param(TR) * op_.gr;
  const double caps = std::max(cpi + cmu, 1e-15);
  if (name == "Pdc")
    return op_.pdc;
  if (name == "Vc")
    return vc;
  if (name == "Vb")
    return vb;
  if (name == "Ve")
    return ve;
  if (name == "Ic")
    return op_.ic;
  if (name == "Ib")
    return op_.ib;
  if (name == "Ie")
    return op_.ie;
  if (name == "Vbe")
    return vb - ve;
  if (name == "Vbc")
    return vb - vc;
  if (name == "Vce")
    return vc - ve;
  if (name == "Vbe(int)")
    return op_.vbe;
  if (name == "Vbc(int)")
    return op_.vbc;
  if (name == "Vce(int)")
    return op_.vce;
  if (name == "beta(DC)")
    return op_.ib >= 0 ? op_.ic / std::max(op_.ib, 1e-15) : -(op_.ic / std::max(-op_.ib, 1e-15));
  if (name == "beta(AC)")
    return op_.gm / op_.gpi;
  if (name == "gm")
    return op_.gm;
  if (name == "rpi")
    return 1 / op_.gpi;
  if (name == "cpi")
    return cpi;
  if (name == "rmu")
    return 1 / op_.gmu;
  if (name == "cmu")
    return cmu;
  if (name == "ro")
    return 1 / op_.gce;
  if (name == "fT")
    return op_.gm / (TwoPi * caps);
  if (name == "fbeta")
    return op_.gpi / (TwoPi * caps);
  return HUGE_VAL;
}

bool BjtDevice::UpdateResult() {
  double vc = 0, vb = 0, ve = 0;
  try {
    vc = circuit_->Solution(c_);
    vb = circuit_->Solution(b_);
    ve = circuit_->Solution(e_);
  } catch (const HostError &) {
    return false;
  }
  const bool solved = std::isfinite(vc) && std::isfinite(vb) && std::isfinite(ve);
  return writeResults(solved,
                      [&](const std::string &name) { return resultValue(name, vc, vb, ve); });
}

} // namespace semi
