// Devices of the tests and the benchmark, stamped natively the way the
// component libraries stamp through COM: element handles taken once per
// matrix, Jacobian terms added to their values, -F added to the right-hand
// side and current magnitudes to AbsSum. A net row's F is the current
// leaving the net through the device; a branch row's F its branch equation.
#ifndef CIRCUIT_SIM_TESTS_NATIVE_DEVICES_H
#define CIRCUIT_SIM_TESTS_NATIVE_DEVICES_H

#include "circuit-sim/core/dc-newton.h"

#include <cmath>
#include <memory>
#include <vector>

namespace qorsim_test {

using qorsim::CSparse;
using qorsim::DcVectors;
using qorsim::SparseElement;

class NativeDevice {
public:
  virtual ~NativeDevice() = default;
  virtual void setUp(CSparse &matrix) = 0;
  virtual void load(DcVectors &v) = 0;
  virtual void limit(DcVectors &) {}
};

class Resistor : public NativeDevice {
public:
  Resistor(int a, int b, double ohms) : a_(a), b_(b), g_(1.0 / ohms) {}
  void setUp(CSparse &m) override {
    aa_ = m.element(a_, a_);
    ab_ = m.element(a_, b_);
    ba_ = m.element(b_, a_);
    bb_ = m.element(b_, b_);
  }
  void load(DcVectors &v) override {
    aa_->real += g_;
    bb_->real += g_;
    ab_->real -= g_;
    ba_->real -= g_;
    const double i = g_ * (v.solution[a_] - v.solution[b_]);
    v.rhs[a_] -= i;
    v.rhs[b_] += i;
    v.absSum[a_] += std::fabs(i);
    v.absSum[b_] += std::fabs(i);
  }

private:
  int a_, b_;
  double g_;
  SparseElement *aa_ = nullptr, *ab_ = nullptr, *ba_ = nullptr, *bb_ = nullptr;
};

// An ideal source of volts from net p to net m; its current (leaving p
// into the source) is the unknown of the branch row.
class VoltageSource : public NativeDevice {
public:
  VoltageSource(int p, int m, int branch, double volts)
      : p_(p), m_(m), branch_(branch), volts_(volts) {}
  void setUp(CSparse &m) override {
    pb_ = m.element(p_, branch_);
    mb_ = m.element(m_, branch_);
    bp_ = m.element(branch_, p_);
    bm_ = m.element(branch_, m_);
  }
  void load(DcVectors &v) override {
    pb_->real += 1.0;
    bp_->real += 1.0;
    mb_->real -= 1.0;
    bm_->real -= 1.0;
    const double i = v.solution[branch_];
    v.rhs[p_] -= i;
    v.rhs[m_] += i;
    v.rhs[branch_] -= v.solution[p_] - v.solution[m_] - volts_;
  }

private:
  int p_, m_, branch_;
  double volts_;
  SparseElement *pb_ = nullptr, *mb_ = nullptr, *bp_ = nullptr, *bm_ = nullptr;
};

// A junction diode from anode a to ground, its step limited to twice the
// thermal voltage above the point where its current turns on.
class Diode : public NativeDevice {
public:
  Diode(int a, double saturation, double thermal) : a_(a), is_(saturation), vt_(thermal) {}
  void setUp(CSparse &m) override { aa_ = m.element(a_, a_); }
  void load(DcVectors &v) override {
    const double vd = v.solution[a_];
    const double e = std::exp(vd / vt_);
    const double i = is_ * (e - 1.0);
    aa_->real += is_ / vt_ * e + 1e-12;
    v.rhs[a_] -= i;
    v.absSum[a_] += std::fabs(i);
  }
  void limit(DcVectors &v) override {
    const double vd = v.solution[a_];
    const double critical = vt_ * std::log(vt_ / (std::sqrt(2.0) * is_));
    const double next = vd + v.delta[a_];
    if (next > critical && std::fabs(v.delta[a_]) > 2 * vt_)
      v.delta[a_] = (vd > 0 ? 2 * vt_ : critical - vd);
  }

private:
  int a_;
  double is_, vt_;
  SparseElement *aa_ = nullptr;
};

class NativeCircuit : public qorsim::DcDevices {
public:
  explicit NativeCircuit(int nets) : nets_(nets) {}
  template <typename Device, typename... Args> void add(Args... args) {
    devices_.push_back(std::make_unique<Device>(args...));
  }
  // Creates the matrix and the vectors and sets every device up.
  void setUp(CSparse &matrix, DcVectors &v) {
    matrix.Create(nets_);
    v.assign(static_cast<std::size_t>(nets_) + 1);
    for (auto &d : devices_)
      d->setUp(matrix);
    vectors_ = &v;
  }
  void loadStart() override { loadNewton(); }
  void loadNewton() override {
    for (auto &d : devices_)
      d->load(*vectors_);
  }
  void limitDelta() override {
    for (auto &d : devices_)
      d->limit(*vectors_);
  }

private:
  int nets_;
  std::vector<std::unique_ptr<NativeDevice>> devices_;
  DcVectors *vectors_ = nullptr;
};

} // namespace qorsim_test

#endif
