// A circuit that hands every call to QorSim's real one. The test stand-ins
// that answer or note some calls themselves (the recording simulator, the
// circuit that keeps its own naked pins) derive from it and override only
// those, so the long list of forwarded methods is written once.
#ifndef PASSIVE_LIB_TESTS_FORWARDING_CIRCUIT_H
#define PASSIVE_LIB_TESTS_FORWARDING_CIRCUIT_H

#include "QorLib01.h"

#include "platform/base/win32/com-ptr.h"
#include "platform/com/win32/dispatch.h"

namespace passive_test {

class ForwardingCircuit : public com::Dispatch<IQorSimCkt> {
public:
  explicit ForwardingCircuit(IQorSimCkt *inner) : inner_(inner) {}

  HRESULT STDMETHODCALLTYPE VisEventProc(short e, IUnknown *s, LONG id, LONG seq, VARIANT a,
                                         VARIANT b) override {
    return inner_->VisEventProc(e, s, id, seq, a, b);
  }
  HRESULT STDMETHODCALLTYPE SetupEvents(IDrawPage *p) override { return inner_->SetupEvents(p); }
  HRESULT STDMETHODCALLTYPE SplashScreen() override { return inner_->SplashScreen(); }
  HRESULT STDMETHODCALLTYPE CreateNetlist() override { return inner_->CreateNetlist(); }
  HRESULT STDMETHODCALLTYPE Quit() override { return inner_->Quit(); }
  HRESULT STDMETHODCALLTYPE OcxMapFind(BSTR n, IQorOcx **p) override {
    return inner_->OcxMapFind(n, p);
  }
  HRESULT STDMETHODCALLTYPE OcxMapInsert(BSTR n, IDrawShape *s, IQorOcx *o,
                                         VARIANT_BOOL u) override {
    return inner_->OcxMapInsert(n, s, o, u);
  }
  HRESULT STDMETHODCALLTYPE get_OcxMapPartID(BSTR n, BSTR *p) override {
    return inner_->get_OcxMapPartID(n, p);
  }
  HRESULT STDMETHODCALLTYPE put_OcxMapPartID(BSTR n, BSTR v) override {
    return inner_->put_OcxMapPartID(n, v);
  }
  HRESULT STDMETHODCALLTYPE GetDev(IDrawShape *s, IQorDev **p) override {
    return inner_->GetDev(s, p);
  }
  HRESULT STDMETHODCALLTYPE GetDevIff(IDrawShape *s, IQorDev **p) override {
    return inner_->GetDevIff(s, p);
  }
  HRESULT STDMETHODCALLTYPE IndexMapFind(BSTR n, LONG *p) override {
    return inner_->IndexMapFind(n, p);
  }
  HRESULT STDMETHODCALLTYPE IndexMapInsert(BSTR n, LONG *p) override {
    return inner_->IndexMapInsert(n, p);
  }
  HRESULT STDMETHODCALLTYPE DevMapFind(BSTR n, IQorDev **p) override {
    return inner_->DevMapFind(n, p);
  }
  HRESULT STDMETHODCALLTYPE DevMapInsert(BSTR n, IQorDev *d) override {
    return inner_->DevMapInsert(n, d);
  }
  HRESULT STDMETHODCALLTYPE TopologyInsert(LONG a, LONG b, LONG n, QorPathTypes t) override {
    return inner_->TopologyInsert(a, b, n, t);
  }
  HRESULT STDMETHODCALLTYPE get_VarType(LONG i, QorVariableTypes *p) override {
    return inner_->get_VarType(i, p);
  }
  HRESULT STDMETHODCALLTYPE put_VarType(LONG i, QorVariableTypes v) override {
    return inner_->put_VarType(i, v);
  }
  HRESULT STDMETHODCALLTYPE get_NakedPin(LONG i, VARIANT_BOOL *p) override {
    return inner_->get_NakedPin(i, p);
  }
  HRESULT STDMETHODCALLTYPE put_NakedPin(LONG i, VARIANT_BOOL v) override {
    return inner_->put_NakedPin(i, v);
  }
  HRESULT STDMETHODCALLTYPE get_SpiceNet(LONG i, BSTR *p) override {
    return inner_->get_SpiceNet(i, p);
  }
  HRESULT STDMETHODCALLTYPE SolveDC() override { return inner_->SolveDC(); }
  HRESULT STDMETHODCALLTYPE ResetDC(VARIANT_BOOL r) override { return inner_->ResetDC(r); }

protected:
  base::ComPtr<IQorSimCkt> inner_;
};

} // namespace passive_test

#endif
