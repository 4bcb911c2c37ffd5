// The control of a test component, for the circuit tests and the
// work-event benchmark: what QorSim asks of a component's control; the
// answers every test control gives alike; and the circuit QorSim keeps for
// a page.
#ifndef CIRCUIT_SIM_TESTS_TEST_CONTROL_H
#define CIRCUIT_SIM_TESTS_TEST_CONTROL_H

#include "QorSim.h"

#include "platform/base/win32/bstr.h"
#include "platform/base/win32/com-ptr.h"
#include "platform/com/win32/dispatch.h"
#include "platform/com/win32/object.h"

#include <string>
#include <utility>
#include <vector>

namespace qorsim_test {

using base::Bstr;
using base::ComPtr;

// What a test component's control answers as a real one does: its shape,
// a status of 0, _Name as Name, and nothing to do at Initialize.
class ShapeControl : public com::Dispatch<IQorOcx> {
public:
  explicit ShapeControl(IDrawShape *shape) : shape_(shape) {}
  HRESULT STDMETHODCALLTYPE get__Name(BSTR *pVal) override { return get_Name(pVal); }
  HRESULT STDMETHODCALLTYPE get_CompShape(IDrawShape **pShape) override {
    shape_->AddRef();
    *pShape = shape_.get();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_Status(LONG *pStatus) override {
    *pStatus = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Initialize(IDrawShape *) override { return S_OK; }

protected:
  static HRESULT text(const std::string &value, BSTR *out) {
    *out = Bstr(value).detach();
    return S_OK;
  }
  ComPtr<IDrawShape> shape_;
};

// The shape side of a test component: its device's class and value (the
// test devices read the value from Name), the part ID and error mark with
// every write to them, and a count of advises.
class TestControl : public ShapeControl {
public:
  TestControl(IDrawShape *shape, std::string progId, std::string value, std::string id)
      : ShapeControl(shape), progId_(std::move(progId)), value_(std::move(value)) {
    partId = std::move(id);
  }
  static const com::InterfaceEntry *interfaces() {
    static const com::InterfaceEntry table[] = {
        {&IID_IQorOcx, com::interfaceOffset<TestControl, IQorOcx>()},
        {&IID_IDispatch, com::interfaceOffset<TestControl, IQorOcx>()},
        {nullptr, 0}};
    return table;
  }
  HRESULT STDMETHODCALLTYPE get_Name(BSTR *pVal) override { return text(value_, pVal); }
  HRESULT STDMETHODCALLTYPE get_DevProgID(BSTR *pVal) override { return text(progId_, pVal); }
  HRESULT STDMETHODCALLTYPE get_PartID(BSTR *pVal) override { return text(partId, pVal); }
  HRESULT STDMETHODCALLTYPE put_PartID(BSTR id) override {
    partId = Bstr::toAnsiText(id);
    partIdWrites.push_back(partId);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_ErrorMark(BSTR *pVal) override { return text(errorMark, pVal); }
  HRESULT STDMETHODCALLTYPE put_ErrorMark(BSTR mark) override {
    errorMark = Bstr::toAnsiText(mark);
    marks.push_back(errorMark);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE ShowProperties() override { return S_OK; }
  // Only the DC advise the simulator sends counts: any other mask shows
  // as a missing advise.
  HRESULT STDMETHODCALLTYPE OnAdvise(QorAdviseMask Mask) override {
    advises += Mask == qorMaskDC;
    return S_OK;
  }

  int advises = 0;
  std::string partId, errorMark;
  std::vector<std::string> partIdWrites, marks; // every write, in order

private:
  std::string progId_, value_;
};

// The circuit the process's simulator root hands out for the page; null
// when there is no root (QorSim not registered) or it gives none.
inline ComPtr<IQorSimCkt> pageCircuit(IDrawPage *page) {
  ComPtr<IQorSimRoot> root;
  ComPtr<IQorSimCkt> circuit;
  if (FAILED(CoCreateInstance(CLSID_SimRoot, nullptr, CLSCTX_INPROC_SERVER, IID_IQorSimRoot,
                              root.receiveVoid())) ||
      root->FindSim(page, circuit.receive()) != S_OK)
    return nullptr;
  return circuit;
}

} // namespace qorsim_test

#endif
