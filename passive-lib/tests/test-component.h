// Test stand-ins around the passive devices:
//   TestComponent  the shape side of a component until the library's own
//                  controls exist: IQorOcx and IQorOcx2 over the kind's
//                  component XML, parsed by the QorLib service; after a
//                  solve it has its device write the results (as the
//                  controls do on OnAdvise).
//   TestCircuit    a circuit that forwards to QorSim's real one but keeps
//                  its own naked-pin flags, records topology branches,
//                  counts ResetDC calls and answers part IDs and SPICE net
//                  names ("0" for the reference, "N<index>" otherwise), so
//                  that the devices' fix rules and netlist lines can be
//                  seen from the outside.
#ifndef PASSIVE_LIB_TESTS_TEST_COMPONENT_H
#define PASSIVE_LIB_TESTS_TEST_COMPONENT_H

#include "QorLib01.h"
#include "circuit-sim/tests/test-control.h"
#include "passive-lib/tests/forwarding-circuit.h"
#include "passive-lib/tests/xml-items.h"

#include "platform/base/win32/bstr.h"
#include "platform/base/win32/com-ptr.h"
#include "platform/base/win32/variant.h"
#include "platform/com/win32/dispatch.h"
#include "platform/com/win32/object.h"
#include "platform/xml/win32/xml-guids.h"

#include <limits>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace passive_test {

using base::Bstr;
using base::ComPtr;

inline Bstr ansi(const std::string &text) { return Bstr(text); }

class TestComponent : public qorsim_test::ShapeControl, public com::Dispatch<IQorOcx2> {
public:
  TestComponent(IQorLib *lib, IDrawShape *shape, const std::string &xml)
      : ShapeControl(shape), lib_(lib) {
    put_DataStr1(ansi(xml).get());
  }
  static const com::InterfaceEntry *interfaces() {
    static const com::InterfaceEntry table[] = {
        {&IID_IQorOcx, com::interfaceOffset<TestComponent, IQorOcx>()},
        {&IID_IDispatch, com::interfaceOffset<TestComponent, IQorOcx>()},
        {&IID_IQorOcx2, com::interfaceOffset<TestComponent, IQorOcx2>()},
        {nullptr, 0}};
    return table;
  }

  // IQorOcx
  HRESULT STDMETHODCALLTYPE get_Name(BSTR *pVal) override { return rootText("OCXNAME", pVal); }
  HRESULT STDMETHODCALLTYPE get_DevProgID(BSTR *pVal) override {
    return rootText("DEVPROGID", pVal);
  }
  HRESULT STDMETHODCALLTYPE get_PartID(BSTR *pVal) override { return text(partId, pVal); }
  HRESULT STDMETHODCALLTYPE put_PartID(BSTR) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE get_ErrorMark(BSTR *pVal) override { return text("", pVal); }
  HRESULT STDMETHODCALLTYPE put_ErrorMark(BSTR) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE ShowProperties() override {
    ++shown;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE OnAdvise(QorAdviseMask) override {
    ++advises;
    if (!circuit)
      return S_OK;
    ComPtr<IQorDev> device;
    if (FAILED(circuit->GetDev(shape_.get(), device.receive())) || !device)
      return S_FALSE;
    lastUpdate = device->UpdateResult();
    return S_OK;
  }

  // IQorOcx2
  HRESULT STDMETHODCALLTYPE get_CompGUID(BSTR *pVal) override { return text(guid_, pVal); }
  HRESULT STDMETHODCALLTYPE put_CompGUID(BSTR v) override {
    guid_ = Bstr::toAnsiText(v);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_DataStr1(BSTR *pVal) override {
    return lib_->XML2BSTR(document_.get(), pVal);
  }
  HRESULT STDMETHODCALLTYPE put_DataStr1(BSTR v) override {
    return lib_->BSTR2XML(v, document_.receive());
  }
  HRESULT STDMETHODCALLTYPE get_DataStr2(BSTR *pVal) override { return text("", pVal); }
  HRESULT STDMETHODCALLTYPE put_DataStr2(BSTR) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE get_DirtyFlag(VARIANT_BOOL *pVal) override {
    *pVal = dirty;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE put_DirtyFlag(VARIANT_BOOL v) override {
    dirty = v;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_RootData1(IXMLElement **pVal) override {
    if (!document_)
      return E_FAIL;
    return document_->get_root(pVal);
  }

  // The ITEM of a section by its NAME.
  ComPtr<IXMLElement> item(const char *section, const std::string &name) {
    ComPtr<IXMLElement> root;
    get_RootData1(root.receive());
    return itemOf(sectionOf(root.get(), section).get(), name);
  }
  // A result's value from its IEEE text (NaN when there is none).
  double result(const std::string &name) {
    ComPtr<IXMLElement> found = item("RESULT", name);
    double value = std::numeric_limits<double>::quiet_NaN();
    if (found)
      lib_->BSTR2IEEE(ansi(attribute(found.get(), "IEEE")).get(), &value);
    return value;
  }
  void setParam(const std::string &name, const std::string &text) {
    ComPtr<IXMLElement> found = item("PARAMS", name);
    base::Variant v;
    V_VT(v.get()) = VT_BSTR;
    V_BSTR(v.get()) = ansi(text).detach();
    found->setAttribute(ansi("TEXT").get(), *v.get());
  }

  ComPtr<IQorSimCkt> circuit;
  std::string partId = "X?";
  int advises = 0, shown = 0;
  HRESULT lastUpdate = E_FAIL;
  VARIANT_BOOL dirty = VARIANT_FALSE;

private:
  HRESULT rootText(const char *name, BSTR *pVal) {
    ComPtr<IXMLElement> root;
    HRESULT hr = get_RootData1(root.receive());
    if (FAILED(hr))
      return hr;
    return text(attribute(root.get(), name), pVal);
  }

  ComPtr<IQorLib> lib_;
  ComPtr<IXMLDocument> document_;
  std::string guid_;
};

struct TopologyCall {
  LONG index1, index2, nameIndex;
  QorPathTypes path;
  bool operator==(const TopologyCall &o) const {
    return index1 == o.index1 && index2 == o.index2 && nameIndex == o.nameIndex && path == o.path;
  }
};

class TestCircuit : public ForwardingCircuit, public com::Dispatch<IQorSimDC> {
public:
  explicit TestCircuit(IQorSimCkt *inner)
      : ForwardingCircuit(inner), dc_(inner_.query<IQorSimDC>()) {}
  static const com::InterfaceEntry *interfaces() {
    static const com::InterfaceEntry table[] = {
        {&IID_IQorSimCkt, com::interfaceOffset<TestCircuit, IQorSimCkt>()},
        {&IID_IDispatch, com::interfaceOffset<TestCircuit, IQorSimCkt>()},
        {&IID_IQorSimDC, com::interfaceOffset<TestCircuit, IQorSimDC>()},
        {nullptr, 0}};
    return table;
  }

  // Recorded or answered here.
  HRESULT STDMETHODCALLTYPE TopologyInsert(LONG Index1, LONG Index2, LONG NameIndex,
                                           QorPathTypes PathType) override {
    topology.push_back({Index1, Index2, NameIndex, PathType});
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_NakedPin(LONG Index, VARIANT_BOOL *pFlag) override {
    *pFlag = naked.count(Index) ? VARIANT_TRUE : VARIANT_FALSE;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE put_NakedPin(LONG Index, VARIANT_BOOL newVal) override {
    if (newVal)
      naked.insert(Index);
    else
      naked.erase(Index);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_SpiceNet(LONG Index, BSTR *pNetname) override {
    auto named = netNames.find(Index);
    if (named != netNames.end())
      *pNetname = ansi(named->second).detach();
    else
      *pNetname = ansi(Index == 0 ? "0" : "N" + std::to_string(Index)).detach();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_OcxMapPartID(BSTR DevName, BSTR *pID) override {
    *pID = ansi(partIds[Bstr::toAnsiText(DevName)]).detach();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE ResetDC(VARIANT_BOOL RebuildMatrix) override {
    ++resets;
    lastRebuild = RebuildMatrix;
    return S_OK;
  }

  // IQorSimDC, forwarded to the real circuit.
  HRESULT STDMETHODCALLTYPE get_Matrix(IQorSparseMatrix **p) override { return dc_->get_Matrix(p); }
  HRESULT STDMETHODCALLTYPE get_Solution(LONG i, double *p) override {
    return dc_->get_Solution(i, p);
  }
  HRESULT STDMETHODCALLTYPE put_Solution(LONG i, double v) override {
    return dc_->put_Solution(i, v);
  }
  HRESULT STDMETHODCALLTYPE get_DeltaSolution(LONG i, double *p) override {
    return dc_->get_DeltaSolution(i, p);
  }
  HRESULT STDMETHODCALLTYPE put_DeltaSolution(LONG i, double v) override {
    return dc_->put_DeltaSolution(i, v);
  }
  HRESULT STDMETHODCALLTYPE get_Rhs(LONG i, double *p) override { return dc_->get_Rhs(i, p); }
  HRESULT STDMETHODCALLTYPE put_Rhs(LONG i, double v) override { return dc_->put_Rhs(i, v); }
  HRESULT STDMETHODCALLTYPE get_AbsSum(LONG i, double *p) override { return dc_->get_AbsSum(i, p); }
  HRESULT STDMETHODCALLTYPE put_AbsSum(LONG i, double v) override { return dc_->put_AbsSum(i, v); }

  std::vector<TopologyCall> topology;
  std::set<LONG> naked;
  std::map<std::string, std::string> partIds;
  std::map<LONG, std::string> netNames; // nets joined by wires share a name
  int resets = 0;
  VARIANT_BOOL lastRebuild = VARIANT_TRUE;

private:
  ComPtr<IQorSimDC> dc_;
};

} // namespace passive_test

#endif
