// The simulator as a component's property sheet reaches it, recorded.
// While a SimulatorRecorder lives, every SimRoot this thread creates is a
// recording root in front of QorSim's real one: the circuits it finds and
// the devices they give forward every call to QorSim's real objects, and
// the calls a binding or an Apply makes of them (OcxMapInsert, OcxMapPartID
// put, UpdateParams, SolveDC) are noted in order, each followed by the work phases that QorSim
// itself reported while it ran the call ("OcxMapPartID put R7: numbering").
#ifndef PASSIVE_LIB_TESTS_RECORDING_SIMULATOR_H
#define PASSIVE_LIB_TESTS_RECORDING_SIMULATOR_H

#include "QorLib01.h"
#include "passive-lib/tests/forwarding-circuit.h"

#include "platform/base/win32/bstr.h"
#include "platform/base/win32/com-ptr.h"
#include "platform/com/win32/dispatch.h"
#include "platform/com/win32/object.h"

#include <string>
#include <utility>
#include <vector>

namespace passive_test {

// What QorSim reports of its work (host-seams.h collects it).
using WorkPhases = std::vector<std::pair<std::string, double>>;

class CallLog {
public:
  explicit CallLog(const WorkPhases &phases) : phases_(phases) {}

  // Runs call, then notes its name with the phases QorSim reported meanwhile.
  template <typename Call> HRESULT note(const std::string &name, Call call) {
    const std::size_t from = phases_.size();
    const HRESULT hr = call();
    std::string line = name;
    for (std::size_t i = from; i < phases_.size(); ++i)
      line += (i == from ? ": " : " ") + phases_[i].first;
    calls.push_back(line);
    return hr;
  }

  std::vector<std::string> calls;

private:
  const WorkPhases &phases_;
};

class RecordingDevice : public com::Dispatch<IQorDev> {
public:
  RecordingDevice(IQorDev *inner, CallLog &log) : inner_(inner), log_(log) {}
  static const com::InterfaceEntry *interfaces() {
    static const com::InterfaceEntry table[] = {
        {&IID_IQorDev, com::interfaceOffset<RecordingDevice, IQorDev>()},
        {&IID_IDispatch, com::interfaceOffset<RecordingDevice, IQorDev>()},
        {nullptr, 0}};
    return table;
  }

  HRESULT STDMETHODCALLTYPE UpdateParams() override {
    return log_.note("UpdateParams", [&] { return inner_->UpdateParams(); });
  }

  HRESULT STDMETHODCALLTYPE InstallDevice(BSTR n, IUnknown *c, IQorSimCkt *k) override {
    return inner_->InstallDevice(n, c, k);
  }
  HRESULT STDMETHODCALLTYPE TopologyFix() override { return inner_->TopologyFix(); }
  HRESULT STDMETHODCALLTYPE SpiceInfo(BSTR *e, BSTR *m) override { return inner_->SpiceInfo(e, m); }
  HRESULT STDMETHODCALLTYPE SetUpDeviceDC() override { return inner_->SetUpDeviceDC(); }
  HRESULT STDMETHODCALLTYPE LoadDevicePWL() override { return inner_->LoadDevicePWL(); }
  HRESULT STDMETHODCALLTYPE LoadDeviceDC() override { return inner_->LoadDeviceDC(); }
  HRESULT STDMETHODCALLTYPE LimitDeltaDC() override { return inner_->LimitDeltaDC(); }
  HRESULT STDMETHODCALLTYPE UpdateResult() override { return inner_->UpdateResult(); }

private:
  base::ComPtr<IQorDev> inner_;
  CallLog &log_;
};

class RecordingCircuit : public ForwardingCircuit {
public:
  RecordingCircuit(IQorSimCkt *inner, CallLog &log) : ForwardingCircuit(inner), log_(log) {}
  static const com::InterfaceEntry *interfaces() {
    static const com::InterfaceEntry table[] = {
        {&IID_IQorSimCkt, com::interfaceOffset<RecordingCircuit, IQorSimCkt>()},
        {&IID_IDispatch, com::interfaceOffset<RecordingCircuit, IQorSimCkt>()},
        {nullptr, 0}};
    return table;
  }

  // Noted.
  HRESULT STDMETHODCALLTYPE OcxMapInsert(BSTR n, IDrawShape *s, IQorOcx *o,
                                         VARIANT_BOOL u) override {
    return log_.note(u ? "OcxMapInsert update" : "OcxMapInsert",
                     [&] { return inner_->OcxMapInsert(n, s, o, u); });
  }
  HRESULT STDMETHODCALLTYPE put_OcxMapPartID(BSTR n, BSTR v) override {
    return log_.note("OcxMapPartID put " + base::Bstr::toAnsiText(v),
                     [&] { return inner_->put_OcxMapPartID(n, v); });
  }
  HRESULT STDMETHODCALLTYPE SolveDC() override {
    return log_.note("SolveDC", [&] { return inner_->SolveDC(); });
  }
  // The device comes back behind a recorder of its own.
  HRESULT STDMETHODCALLTYPE GetDev(IDrawShape *s, IQorDev **p) override {
    HRESULT hr = inner_->GetDev(s, p);
    if (hr != S_OK || !p || !*p)
      return hr;
    auto real = base::ComPtr<IQorDev>::adopt(std::exchange(*p, nullptr));
    return com::Object<RecordingDevice>::create(IID_IQorDev, reinterpret_cast<void **>(p),
                                                real.get(), log_);
  }

private:
  CallLog &log_;
};

// The root, and the class factory that hands out itself.
class RecordingRoot : public com::Dispatch<IQorSimRoot>, public IClassFactory {
public:
  RecordingRoot(IQorSimRoot *inner, CallLog &log) : inner_(inner), log_(log) {}
  static const com::InterfaceEntry *interfaces() {
    static const com::InterfaceEntry table[] = {
        {&IID_IQorSimRoot, com::interfaceOffset<RecordingRoot, IQorSimRoot>()},
        {&IID_IDispatch, com::interfaceOffset<RecordingRoot, IQorSimRoot>()},
        {&IID_IClassFactory, com::interfaceOffset<RecordingRoot, IClassFactory>()},
        {nullptr, 0}};
    return table;
  }

  HRESULT STDMETHODCALLTYPE FindSim(IDrawPage *page, IQorSimCkt **p) override {
    HRESULT hr = inner_->FindSim(page, p);
    if (hr != S_OK || !p || !*p)
      return hr;
    auto real = base::ComPtr<IQorSimCkt>::adopt(std::exchange(*p, nullptr));
    return com::Object<RecordingCircuit>::create(IID_IQorSimCkt, reinterpret_cast<void **>(p),
                                                 real.get(), log_);
  }
  HRESULT STDMETHODCALLTYPE VisEventProc(short e, IUnknown *s, LONG id, LONG seq, VARIANT a,
                                         VARIANT b) override {
    return inner_->VisEventProc(e, s, id, seq, a, b);
  }
  HRESULT STDMETHODCALLTYPE ShowHelpAbout() override { return inner_->ShowHelpAbout(); }
  HRESULT STDMETHODCALLTYPE CreateNetlist(IDrawPage *p) override {
    return inner_->CreateNetlist(p);
  }

  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown *outer, REFIID riid, void **out) override {
    if (outer)
      return CLASS_E_NOAGGREGATION;
    return static_cast<IQorSimRoot *>(this)->QueryInterface(riid, out);
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }

private:
  base::ComPtr<IQorSimRoot> inner_;
  CallLog &log_;
};

// Puts the recording root in front of QorSim's for its lifetime (this
// thread's apartment only; QorSim itself stays registered as it was).
class SimulatorRecorder {
public:
  explicit SimulatorRecorder(const WorkPhases &phases) : log(phases) {
    base::ComPtr<IQorSimRoot> real;
    registered_ =
        SUCCEEDED(CoCreateInstance(CLSID_SimRoot, nullptr, CLSCTX_INPROC_SERVER, IID_IQorSimRoot,
                                   real.receiveVoid())) &&
        SUCCEEDED(com::Object<RecordingRoot>::create(IID_IClassFactory, factory_.receiveVoid(),
                                                     real.get(), log)) &&
        SUCCEEDED(CoRegisterClassObject(CLSID_SimRoot, factory_.get(), CLSCTX_INPROC_SERVER,
                                        REGCLS_MULTIPLEUSE, &cookie_));
  }
  ~SimulatorRecorder() {
    if (registered_)
      CoRevokeClassObject(cookie_);
  }
  SimulatorRecorder(const SimulatorRecorder &) = delete;
  SimulatorRecorder &operator=(const SimulatorRecorder &) = delete;

  bool registered() const { return registered_; }

  CallLog log;

private:
  base::ComPtr<IClassFactory> factory_;
  DWORD cookie_ = 0;
  bool registered_ = false;
};

} // namespace passive_test

#endif
