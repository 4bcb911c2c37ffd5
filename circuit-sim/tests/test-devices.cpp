// The simulator tests' device server. Each device reads its value from
// its control's Name text (a number), registers its nets as the component
// libraries do (device name + pin row name, + "BE" for a branch current)
// and stamps through the circuit's element handles and vectors:
//   TestRes      resistor, pins A and B, value in ohms
//   TestVdc      ideal source, pins P and M, value in volts
//   TestGnd      pin A tied to the reference node by a zero-volt branch,
//                recorded as a ground wire (its net is SPICE node 0)
//   TestDiode    junction diode from A to B, saturation current 1e-14 A
//   TestRunaway  pin A whose equation never settles
//   TestBroken   a resistor whose Newton load fails
//   TestCap      a capacitor: open at DC, pins A and B
// SpiceInfo writes "<part ID> <net> <net> <value>" for resistors, adds
// "DC" for sources and names the model TESTD for diodes, whose model line
// is longer than a netlist line. TestDeviceLoads() counts LoadDeviceDC
// calls of every device.
#include "test-devices.h"
#include "QorSim.h"

#include "platform/base/win32/bstr.h"
#include "platform/base/win32/com-error.h"
#include "platform/base/win32/com-ptr.h"
#include "platform/com/win32/dispatch.h"
#include "platform/com/win32/module.h"
#include "platform/com/win32/object.h"
#include "platform/com/win32/server.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using base::ComPtr;

LONG loads;

enum class Kind { Res, Vdc, Gnd, Diode, Runaway, Broken, Cap };

const double Saturation = 1e-14;
// The diode's model: more than one netlist line long (100 characters).
const char DiodeModel[] = ".MODEL TESTD D(IS=1E-14 N=1 RS=0 CJO=0 VJ=1 M=0.5 TT=0 BV=1E+30 "
                          "IBV=1E-3 EG=1.11 XTI=3 KF=0 AF=1.00)";
const double Thermal = 0.025852;

class TestDevice : public com::Dispatch<IQorDev> {
public:
  explicit TestDevice(Kind kind) : kind_(kind) {}
  static const com::InterfaceEntry *interfaces() {
    static const com::InterfaceEntry table[] = {
        {&IID_IQorDev, com::interfaceOffset<TestDevice, IQorDev>()},
        {&IID_IDispatch, com::interfaceOffset<TestDevice, IQorDev>()},
        {nullptr, 0}};
    return table;
  }

  HRESULT STDMETHODCALLTYPE InstallDevice(BSTR DevName, IUnknown *Component,
                                          IQorSimCkt *Circuit) override {
    if (!DevName || !Component || !Circuit)
      return E_INVALIDARG;
    return base::guardCom(IID_IQorDev, [&]() -> HRESULT {
      circuit_ = ComPtr<IQorSimCkt>(Circuit);
      vectors_ = circuit_.query<IQorSimDC>();
      ComPtr<IQorOcx> control;
      base::check(Component->QueryInterface(IID_IQorOcx, control.receiveVoid()));
      control_ = control;
      base::Bstr text;
      base::check(control->get_Name(text.receive()));
      value_ = std::atof(text.toAnsi().c_str());
      const std::string name = base::Bstr::toAnsiText(DevName);
      const bool source = kind_ == Kind::Vdc;
      a_ = net(name + (source ? "P" : "A"), qorVarVoltage);
      QorPathTypes path = qorPathDcResist;
      if (kind_ == Kind::Gnd || kind_ == Kind::Runaway) {
        b_ = 0;
      } else {
        b_ = net(name + (source ? "M" : "B"), qorVarVoltage);
      }
      if (kind_ == Kind::Vdc || kind_ == Kind::Gnd) {
        branch_ = net(name + "BE", qorVarCurrent);
        path = qorPathVSource;
      }
      if (kind_ == Kind::Cap)
        path = qorPathDcOpen;
      if (kind_ == Kind::Gnd)
        base::check(circuit_->TopologyInsert(0, a_, branch_, qorPathGndWire));
      else
        base::check(circuit_->TopologyInsert(a_, b_, a_, path));
      return S_OK;
    });
  }
  HRESULT STDMETHODCALLTYPE TopologyFix() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE SpiceInfo(BSTR *pElement, BSTR *pModel) override {
    if (!pElement || !pModel)
      return E_POINTER;
    return base::guardCom(IID_IQorDev, [&]() -> HRESULT {
      base::Bstr id;
      base::check(control_->get_PartID(id.receive()));
      std::string element = id.toAnsi() + " " + spiceNet(a_) + " " + spiceNet(b_) + " ";
      char value[32];
      std::snprintf(value, sizeof value, "%.17g", value_);
      switch (kind_) {
      case Kind::Res:
      case Kind::Cap:
        element += value;
        break;
      case Kind::Vdc:
        element += std::string("DC ") + value;
        break;
      case Kind::Diode:
        element += "TESTD";
        *pModel = base::Bstr(DiodeModel).detach();
        break;
      default:
        return S_OK;
      }
      *pElement = base::Bstr(element).detach();
      return S_OK;
    });
  }
  HRESULT STDMETHODCALLTYPE SetUpDeviceDC() override {
    return base::guardCom(IID_IQorDev, [&]() -> HRESULT {
      ComPtr<IQorSparseMatrix> matrix;
      base::check(vectors_->get_Matrix(matrix.receive()));
      entries_.clear();
      if (branch_ >= 0) {
        const LONG rows[] = {a_, branch_, b_, branch_};
        const LONG cols[] = {branch_, a_, branch_, b_};
        for (int i = 0; i < 4; ++i)
          entries_.push_back(entry(matrix.get(), rows[i], cols[i]));
        return S_OK;
      }
      IQorSparseEntry *e1, *e2, *e3, *e4;
      base::check(matrix->InstallMatrixTransadmittance(a_, b_, a_, b_, &e1, &e2, &e3, &e4));
      for (IQorSparseEntry *e : {e1, e2, e3, e4}) {
        entries_.push_back(e);
        e->Release(); // the matrix keeps its elements
      }
      return S_OK;
    });
  }
  HRESULT STDMETHODCALLTYPE LoadDevicePWL() override { return load(); }
  HRESULT STDMETHODCALLTYPE LoadDeviceDC() override {
    InterlockedIncrement(&loads);
    if (kind_ == Kind::Broken)
      return E_FAIL;
    return load();
  }
  HRESULT STDMETHODCALLTYPE LimitDeltaDC() override {
    if (kind_ != Kind::Diode)
      return S_OK;
    return base::guardCom(IID_IQorDev, [&]() -> HRESULT {
      const double vd = get(&IQorSimDC::get_Solution, a_) - get(&IQorSimDC::get_Solution, b_);
      const double step =
          get(&IQorSimDC::get_DeltaSolution, a_) - get(&IQorSimDC::get_DeltaSolution, b_);
      const double critical = Thermal * std::log(Thermal / (std::sqrt(2.0) * Saturation));
      if (vd + step > critical && std::fabs(step) > 2 * Thermal) {
        const double limited = vd > 0 ? 2 * Thermal : critical - vd;
        base::check(vectors_->put_DeltaSolution(a_, get(&IQorSimDC::get_DeltaSolution, a_) - step +
                                                        limited));
      }
      return S_OK;
    });
  }
  HRESULT STDMETHODCALLTYPE UpdateParams() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE UpdateResult() override { return S_OK; }

private:
  std::string spiceNet(LONG index) {
    base::Bstr text;
    base::check(circuit_->get_SpiceNet(index, text.receive()));
    return text.toAnsi();
  }
  LONG net(const std::string &name, QorVariableTypes type) {
    base::Bstr text(name);
    LONG index = -1;
    base::check(circuit_->IndexMapInsert(text.get(), &index));
    base::check(circuit_->put_VarType(index, type));
    return index;
  }
  static IQorSparseEntry *entry(IQorSparseMatrix *matrix, LONG row, LONG col) {
    ComPtr<IQorSparseEntry> e;
    base::check(matrix->InstallMatrixEntry(row, col, e.receive()));
    return e.get();
  }
  double get(HRESULT (STDMETHODCALLTYPE IQorSimDC::*getter)(LONG, double *), LONG index) {
    double value = 0;
    base::check((vectors_.get()->*getter)(index, &value));
    return value;
  }
  void add(HRESULT (STDMETHODCALLTYPE IQorSimDC::*getter)(LONG, double *),
           HRESULT (STDMETHODCALLTYPE IQorSimDC::*putter)(LONG, double), LONG index,
           double amount) {
    base::check((vectors_.get()->*putter)(index, get(getter, index) + amount));
  }
  void addRhs(LONG index, double amount) {
    add(&IQorSimDC::get_Rhs, &IQorSimDC::put_Rhs, index, amount);
  }
  void stamp(std::size_t i, double amount) {
    double value = 0;
    base::check(entries_[i]->get_RealValue(&value));
    base::check(entries_[i]->put_RealValue(value + amount));
  }

  // Jacobian g on the first two entries, -g on the others ((a,a), (b,b),
  // (b,a), (a,b) for a conductance; (a,branch), (branch,a), (b,branch),
  // (branch,b) for a source); -F = -i into a, +i into b.
  void loadConductance(double g, double current) {
    stamp(0, g);
    stamp(1, g);
    stamp(2, -g);
    stamp(3, -g);
    addRhs(a_, -current);
    addRhs(b_, current);
    if (branch_ >= 0)
      return;
    add(&IQorSimDC::get_AbsSum, &IQorSimDC::put_AbsSum, a_, std::fabs(current));
    add(&IQorSimDC::get_AbsSum, &IQorSimDC::put_AbsSum, b_, std::fabs(current));
  }

  HRESULT load() {
    return base::guardCom(IID_IQorDev, [&]() -> HRESULT {
      const double va = get(&IQorSimDC::get_Solution, a_);
      const double vb = get(&IQorSimDC::get_Solution, b_);
      switch (kind_) {
      case Kind::Res:
      case Kind::Broken:
        loadConductance(1.0 / value_, (va - vb) / value_);
        break;
      case Kind::Diode: {
        const double e = std::exp((va - vb) / Thermal);
        loadConductance(Saturation / Thermal * e + 1e-12, Saturation * (e - 1.0));
        break;
      }
      case Kind::Runaway:
        loadConductance(1.0, -1.0);
        break;
      case Kind::Cap:
        loadConductance(0.0, 0.0);
        break;
      case Kind::Vdc:
      case Kind::Gnd: {
        // Branch equation V(a) - V(b) = value; its current leaves a.
        loadConductance(1.0, get(&IQorSimDC::get_Solution, branch_));
        addRhs(branch_, -(va - vb - value_));
        break;
      }
      }
      return S_OK;
    });
  }

  Kind kind_;
  double value_ = 0.0;
  LONG a_ = -1, b_ = -1, branch_ = -1;
  ComPtr<IQorSimCkt> circuit_;
  ComPtr<IQorSimDC> vectors_;
  ComPtr<IQorOcx> control_;
  std::vector<IQorSparseEntry *> entries_; // owned by the matrix
};

template <Kind kind> HRESULT create(REFIID riid, void **out) {
  return com::Object<TestDevice>::create(riid, out, kind);
}

const com::ClassEntry classes[] = {
    {&CLSID_TestRes, "TestRes", "Test resistor", create<Kind::Res>, nullptr, com::ClassKind::Plain},
    {&CLSID_TestVdc, "TestVdc", "Test source", create<Kind::Vdc>, nullptr, com::ClassKind::Plain},
    {&CLSID_TestGnd, "TestGnd", "Test ground", create<Kind::Gnd>, nullptr, com::ClassKind::Plain},
    {&CLSID_TestDiode, "TestDiode", "Test diode", create<Kind::Diode>, nullptr,
     com::ClassKind::Plain},
    {&CLSID_TestRunaway, "TestRunaway", "Test runaway", create<Kind::Runaway>, nullptr,
     com::ClassKind::Plain},
    {&CLSID_TestBroken, "TestBroken", "Test broken", create<Kind::Broken>, nullptr,
     com::ClassKind::Plain},
    {&CLSID_TestCap, "TestCap", "Test capacitor", create<Kind::Cap>, nullptr,
     com::ClassKind::Plain},
};

const com::Server server = {classes, 7, &LIBID_QorTestDevicesLib, 1, 0, true, false};

} // namespace

COM_SERVER_EXPORTS(server)
extern "C" __declspec(dllexport) LONG WINAPI TestDeviceLoads() { return loads; }
