// The six passive kinds: their nets, stamps, parameter handling and result
// formulas on the frame of PassiveDevice.
#include "passive-lib/win32/passive-device.h"

#include <cmath>
#include <limits>

namespace passive {
namespace {

const double Infinity = std::numeric_limits<double>::infinity();

// Products left to right, plus infinity for a value that is not finite.
double finiteOr(double value) { return std::isfinite(value) ? value : Infinity; }

// Stores a value that changed and is a number; the caller then asks the
// circuit for ResetDC.
bool storeChanged(double &stored, double value) {
  if (std::isnan(value) || value == stored)
    return false;
  stored = value;
  return true;
}

// Ground and power rail: pin A tied to the reference node by a branch
// whose equation is V(A) = 0 or V(A) = Vdc.
class RailDevice : public PassiveDevice {
public:
  explicit RailDevice(bool rail)
      : PassiveDevice({"A", nullptr, true, true, rail ? qorPathVSource : qorPathGndWire,
                       rail ? "Vdc" : nullptr, FixRule::None, " 0 DC "}),
        rail_(rail) {}

protected:
  void setUpOwn(IQorSparseMatrix *matrix) override {
    const LONG entries[4][2] = {{IndexBE, IndexA}, {IndexA, IndexBE}, {IndexBE, 0}, {0, IndexBE}};
    installEntries(matrix, entries, own_);
  }
  void loadOwn() override {
    const double v = solution(IndexA);
    branchStamp(own_, IndexA, 0, rail_ ? value_ - v : -v);
  }
  bool storeParam(double value) override { return storeChanged(value_, value); }
  void readSolution() override { current_ = branchCurrent(); }
  double result(const std::string &name) const override {
    if (name == "Idc")
      return current_;
    if (rail_ && name == "Pdc")
      return std::isfinite(current_) ? std::fabs(current_ * value_) : Infinity;
    return Infinity;
  }

private:
  bool rail_;
  double current_ = Infinity;
};

class ResDev : public PassiveDevice {
public:
  ResDev()
      : PassiveDevice({"A", "B", false, false, qorPathDcResist, "R", FixRule::BothPins, " "}) {}

protected:
  void setUpOwn(IQorSparseMatrix *matrix) override {
    for (auto &entry : own_)
      entry = nullptr;
    matrix->InstallMatrixTransadmittance(IndexA, IndexB, IndexA, IndexB, &own_[0], &own_[1],
                                         &own_[2], &own_[3]);
    for (auto *entry : own_)
      if (entry)
        entry->Release();
  }
  void loadOwn() override {
    const double va = solution(IndexA), vb = solution(IndexB);
    add(own_[0], g_);
    add(own_[1], g_);
    add(own_[2], -g_);
    add(own_[3], -g_);
    const double current = (va - vb) * g_;
    addRhs(IndexA, -current);
    addRhs(IndexB, current);
    addAbsSum(IndexA, current < 0.0 ? -current : current);
    addAbsSum(IndexB, current < 0.0 ? -current : current);
  }
  bool storeParam(double value) override {
    if (std::isnan(value) || value == value_)
      return false;
    g_ = 1.0 / value;
    value_ = value;
    return true;
  }
  void readSolution() override { v_ = pinVoltage(); }
  double result(const std::string &name) const override {
    if (name == "Vdc")
      return v_;
    if (name == "Idc")
      return finiteOr(v_ * g_);
    if (name == "Pdc")
      return finiteOr(v_ * g_ * v_);
    return Infinity;
  }

private:
  double g_ = Infinity;
  double v_ = Infinity;
};

class CapDev : public PassiveDevice {
public:
  CapDev() : PassiveDevice({"A", "B", false, false, qorPathDcOpen, "C", FixRule::PerPin, " "}) {}

protected:
  void setUpOwn(IQorSparseMatrix *) override {}
  void loadOwn() override {}
  bool storeParam(double value) override {
    value_ = value;
    return false;
  }
  void readSolution() override { v_ = pinVoltage(); }
  double result(const std::string &name) const override {
    if (name == "Vdc")
      return v_;
    if (name == "Qdc")
      return finiteOr(v_ * value_);
    if (name == "Edc")
      return finiteOr(v_ * value_ * v_ * 0.5);
    return Infinity;
  }

private:
  double v_ = Infinity;
};

// Inductor (a short with its current as unknown) and DC source (its branch
// equation V(P) - V(M) = Vdc): two pins joined by a branch.
class BranchDevice : public PassiveDevice {
public:
  explicit BranchDevice(bool source)
      : PassiveDevice({source ? "P" : "A", source ? "M" : "B", true, false,
                       source ? qorPathVSource : qorPathDcShort, source ? "Vdc" : "L",
                       FixRule::BothPins, source ? " DC " : " "}),
        source_(source) {}

protected:
  void setUpOwn(IQorSparseMatrix *matrix) override {
    const LONG entries[4][2] = {
        {IndexBE, IndexA}, {IndexA, IndexBE}, {IndexBE, IndexB}, {IndexB, IndexBE}};
    installEntries(matrix, entries, own_);
    if (!source_)
      return;
    // Initial contents only: the solver clears both before every load.
    add(own_[0], 1.0);
    add(own_[1], 1.0);
    add(own_[2], -1.0);
    add(own_[3], -1.0);
  }
  void loadOwn() override {
    const double drop = solution(IndexA) - solution(IndexB);
    branchStamp(own_, IndexA, IndexB, source_ ? value_ - drop : -drop);
  }
  bool storeParam(double value) override {
    if (source_)
      return storeChanged(value_, value);
    value_ = value;
    return false;
  }
  void readSolution() override { current_ = branchCurrent(); }
  double result(const std::string &name) const override {
    if (name == "Idc")
      return current_;
    if (source_) {
      if (name == "Pdc")
        return std::isfinite(current_) ? std::fabs(current_ * value_) : Infinity;
      return Infinity;
    }
    if (name == "Phi")
      return finiteOr(current_ * value_);
    if (name == "Edc")
      return finiteOr(current_ * value_ * current_ * 0.5);
    return Infinity;
  }

private:
  bool source_;
  double current_ = Infinity;
};

template <typename Device, typename... Args> HRESULT create(REFIID riid, void **out, Args... args) {
  if (!out)
    return E_POINTER;
  *out = nullptr;
  auto *device = new (std::nothrow) com::Object<Device>(args...);
  if (!device)
    return E_OUTOFMEMORY;
  HRESULT hr = device->construct();
  if (SUCCEEDED(hr))
    hr = device->QueryInterface(riid, out);
  device->Release();
  return hr;
}

} // namespace

HRESULT createGndDev(REFIID riid, void **out) { return create<RailDevice>(riid, out, false); }
HRESULT createPwrDev(REFIID riid, void **out) { return create<RailDevice>(riid, out, true); }
HRESULT createResDev(REFIID riid, void **out) { return create<ResDev>(riid, out); }
HRESULT createCapDev(REFIID riid, void **out) { return create<CapDev>(riid, out); }
HRESULT createIndDev(REFIID riid, void **out) { return create<BranchDevice>(riid, out, false); }
HRESULT createVdcDev(REFIID riid, void **out) { return create<BranchDevice>(riid, out, true); }

} // namespace passive
