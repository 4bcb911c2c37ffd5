// The bipolar transistor device: nodes, matrix entries, Gummel-Poon stamps,
// step limiting and results.
#include "semi-lib/core/bjt-device.h"

#include "semi-lib/core/junction.h"
#include "semi-lib/core/spice-lines.h"

#include <algorithm>
#include <cmath>

namespace semi {

namespace {

std::vector<ParamDefinition> bjtParams() {
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

BjtDevice::Terms BjtDevice::evaluate(double vbe, double vbc) const {
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

  Terms terms;
  terms.ict = (f.current - r.current) * qbInv;
  terms.gF = dVbe * (f.current - r.current) + f.conductance * qbInv;
  terms.gR = (r.current - f.current) * dVbc + r.conductance * qbInv;
  terms.ibe = f.current / param(BF) + le.current;
  terms.gpi = f.conductance / param(BF) + le.conductance;
  terms.ibc = r.current / param(BR) + lc.current;
  terms.gmu = r.conductance / param(BR) + lc.conductance;
  terms.forward = f.current;
  terms.reverse = r.current;
  terms.reverseSlope = r.conductance;
  terms.qbInv = qbInv;
  return terms;
}

BjtDevice::OperatingPoint BjtDevice::pointOf(const Terms &t, double vbe, double vbc) const {
  OperatingPoint op;
  op.pdc = std::fabs((vbe - vbc) * t.ict) + std::fabs(vbc * t.ibc) + std::fabs(vbe * t.ibe);
  op.vbe = vbe;
  op.vbc = vbc;
  op.vce = vbe - vbc;
  op.ib = t.ibe + t.ibc;
  op.ic = t.ict - t.ibc;
  op.ie = -(t.ict + t.ibe);
  op.gpi = t.gpi;
  op.gmu = t.gmu;
  op.gce = t.gR;
  op.gm = t.gF - t.gR;
  op.gF = t.gF;
  op.gr = t.reverseSlope;
  op.forwardCharge = param(TF) * t.qbInv * t.forward;
  op.forwardCap = param(TF) * t.gF;
  op.reverseCharge = param(TR) * t.reverse;
  op.reverseCap = param(TR) * t.reverseSlope;
  return op;
}

void BjtDevice::loadJunctions() {
  const double s = sign();
  const double vbe = s * (circuit_->Solution(ib_) - circuit_->Solution(ie_));
  const double vbc = s * (circuit_->Solution(bc_) - circuit_->Solution(ic_));
  const Terms t = evaluate(vbe, vbc);

  stamp(beJunction_, t.gpi);
  stamp(bcJunction_, t.gmu);
  stamp(forward_, t.gF);
  stamp(reverse_, t.gR);

  const double toIc = t.ibc - t.ict, toBc = -t.ibc, toIb = -t.ibe, toIe = t.ict + t.ibe;
  addRhs(ic_, s * toIc);
  addRhs(bc_, s * toBc);
  addRhs(ib_, s * toIb);
  addRhs(ie_, s * toIe);
  addAbsSum(ic_, toIc);
  addAbsSum(bc_, toBc);
  addAbsSum(ib_, toIb);
  addAbsSum(ie_, toIe);
  op_ = pointOf(t, vbe, vbc);
}

double BjtDevice::seriesConductance(bool unconnected, double r) const {
  return unconnected || allUnconnected_ || r == 0 ? 1.0 : 1 / r;
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
  const double g = seriesConductance(unconnected, r);
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
  // The currents, junction voltages and conductances are those of the last
  // load; only the pin voltages are read from the solution.
  const bool solved = std::isfinite(vc) && std::isfinite(vb) && std::isfinite(ve);
  return WriteResults(solved,
                      [&](const std::string &name) { return resultValue(name, vc, vb, ve); });
}

} // namespace semi
