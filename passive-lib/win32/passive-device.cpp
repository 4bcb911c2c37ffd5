// The shared operations of the passive devices. Failing calls inside throw
// base::ComError; the circuit-facing methods hand the error to their
// caller, UpdateParams and UpdateResult answer S_FALSE.
#include "passive-lib/win32/passive-device.h"

#include "passive-lib/core/value-format.h"
#include "passive-lib/win32/qor-lib.h"
#include "passive-lib/win32/xml-access.h"

#include "platform/base/win32/bstr.h"
#include "platform/base/win32/com-error.h"

#include <cmath>
#include <limits>

namespace passive {
namespace {

const double Infinity = std::numeric_limits<double>::infinity();

double magnitude(double value) { return value < 0.0 ? -value : value; }

} // namespace

const com::InterfaceEntry *PassiveDevice::interfaces() {
  static const com::InterfaceEntry table[] = {
      {&IID_IQorDev, com::interfaceOffset<PassiveDevice, IQorDev>()},
      {&IID_IDispatch, com::interfaceOffset<PassiveDevice, IQorDev>()},
      {&IID_IQorDev2, com::interfaceOffset<PassiveDevice, IQorDev2>()},
      {nullptr, 0}};
  return table;
}

HRESULT PassiveDevice::construct() {
  value_ = Infinity;
  // The service lives in this library: made directly, it costs no registry
  // look-up per device, which a page of thousands of devices would feel.
  HRESULT hr = createQorLib(IID_IQorLib, lib_.receiveVoid());
  return hr == E_NOINTERFACE ? S_OK : hr;
}

LONG PassiveDevice::net(const std::string &suffix, QorVariableTypes type) {
  base::Bstr text(name_ + suffix);
  LONG index = -1;
  base::check(circuit_->IndexMapInsert(text.get(), &index), IID_IQorSimCkt);
  base::check(circuit_->put_VarType(index, type), IID_IQorSimCkt);
  return index;
}

HRESULT STDMETHODCALLTYPE PassiveDevice::InstallDevice(BSTR DevName, IUnknown *Component,
                                                       IQorSimCkt *Circuit) {
  if (!DevName || !Component || !Circuit)
    return E_INVALIDARG;
  return base::guardCom(IID_IQorDev, [&]() -> HRESULT {
    name_ = base::Bstr::toAnsiText(DevName);
    component_.reset();
    Component->QueryInterface(IID_IQorOcx2, component_.receiveVoid());
    circuit_ = ComPtr<IQorSimCkt>(Circuit);
    dc_ = circuit_.query<IQorSimDC>();
    IndexA = net(layout_.pinA, qorVarVoltage);
    if (layout_.pinB) {
      const char *pinB = layout_.pinA[0] == 'P' ? "M" : "B";
      IndexB = net(pinB, qorVarVoltage);
    }
    // The inductor records its branch before it names its current.
    const bool branchFirst = layout_.path == qorPathDcShort;
    auto record = [&]() {
      const LONG index1 = layout_.groundBranch ? 0 : IndexA;
      const LONG index2 = layout_.groundBranch ? IndexA : IndexB;
      const LONG nameIndex =
          layout_.groundBranch || layout_.path == qorPathVSource ? IndexBE : IndexA;
      base::check(circuit_->TopologyInsert(index1, index2, nameIndex, layout_.path),
                  IID_IQorSimCkt);
    };
    if (branchFirst)
      record();
    if (layout_.branch)
      IndexBE = net("BE", qorVarCurrent);
    if (!branchFirst)
      record();
    if (layout_.param)
      static_cast<IQorDev *>(this)->UpdateParams();
    return S_OK;
  });
}

HRESULT STDMETHODCALLTYPE PassiveDevice::TopologyFix() {
  if (layout_.fix == FixRule::None)
    return S_OK;
  return base::guardCom(IID_IQorDev, [&]() -> HRESULT {
    base::checkPointer(circuit_.get(), IID_IQorSimCkt);
    auto naked = [&](LONG index) {
      VARIANT_BOOL flag = VARIANT_FALSE;
      base::check(circuit_->get_NakedPin(index, &flag), IID_IQorSimCkt);
      return flag != VARIANT_FALSE;
    };
    auto clear = [&](LONG index) {
      base::check(circuit_->put_NakedPin(index, VARIANT_FALSE), IID_IQorSimCkt);
    };
    if (layout_.fix == FixRule::BothPins) {
      if (!naked(IndexA) || !naked(IndexB))
        return S_OK;
      Floating = true;
      clear(IndexA);
      clear(IndexB);
      base::check(circuit_->TopologyInsert(IndexA, 0, IndexA, qorPathDcResist), IID_IQorSimCkt);
      return S_OK;
    }
    if (naked(IndexA)) {
      NakedA = true;
      clear(IndexA);
    }
    if (naked(IndexB)) {
      NakedB = true;
      clear(IndexB);
    }
    if (NakedA || NakedB)
      base::check(circuit_->TopologyInsert(IndexA, IndexB, IndexA, qorPathDcResist),
                  IID_IQorSimCkt);
    if (NakedA && NakedB)
      base::check(circuit_->TopologyInsert(IndexA, 0, IndexA, qorPathDcResist), IID_IQorSimCkt);
    return S_OK;
  });
}

bool PassiveDevice::ReadParamItem(ComPtr<IXMLElement> &item) const {
  base::checkPointer(component_.get(), IID_IQorOcx2);
  ComPtr<IXMLElement> root;
  base::check(component_->get_RootData1(root.receive()), IID_IQorOcx2);
  ComPtr<IXMLElement> params = childElement(base::checkPointer(root.get()), "PARAMS");
  if (!params)
    return false;
  const BSTR nameAttribute = itemAttributeNames().name;
  for (ComPtr<IXMLElement> &child : childElements(params.get())) {
    std::string name;
    if (attributeText(child.get(), nameAttribute, name) && name == layout_.param) {
      item = child;
      return true;
    }
  }
  return false;
}

HRESULT STDMETHODCALLTYPE PassiveDevice::SpiceInfo(BSTR *pElement, BSTR *pModel) {
  if (!pElement || !pModel)
    return E_POINTER;
  *pElement = nullptr;
  *pModel = nullptr;
  if (!layout_.param)
    return S_OK;
  return base::guardCom(IID_IQorDev, [&]() -> HRESULT {
    base::checkPointer(circuit_.get(), IID_IQorSimCkt);
    auto spiceNet = [&](LONG index) {
      base::Bstr text;
      base::check(circuit_->get_SpiceNet(index, text.receive()), IID_IQorSimCkt);
      return text.toAnsi();
    };
    base::Bstr partId;
    base::Bstr devName(name_);
    base::check(circuit_->get_OcxMapPartID(devName.get(), partId.receive()), IID_IQorSimCkt);
    std::string line = partId.toAnsi() + " " + spiceNet(IndexA);
    if (layout_.pinB)
      line += " " + spiceNet(IndexB);
    line += layout_.spiceJoin;
    ComPtr<IXMLElement> item;
    if (ReadParamItem(item)) {
      base::Bstr value;
      base::check(
          base::checkPointer(lib_.get(), IID_IQorLib)->FormatSpiceItem(item.get(), value.receive()),
          IID_IQorLib);
      line += value.toAnsi();
    }
    *pElement = base::Bstr(line).detach();
    return S_OK;
  });
}

void PassiveDevice::installEntries(IQorSparseMatrix *matrix, const LONG (*rowsCols)[2],
                                   IQorSparseEntry **out) {
  for (int i = 0; i < 4; ++i) {
    out[i] = nullptr;
    matrix->InstallMatrixEntry(rowsCols[i][0], rowsCols[i][1], &out[i]);
    if (out[i])
      out[i]->Release(); // the matrix keeps its elements
  }
}

HRESULT STDMETHODCALLTYPE PassiveDevice::SetUpDeviceDC() {
  return base::guardCom(IID_IQorDev, [&]() -> HRESULT {
    ComPtr<IQorSparseMatrix> matrix;
    base::check(base::checkPointer(dc_.get(), IID_IQorSimDC)->get_Matrix(matrix.receive()),
                IID_IQorSimDC);
    base::checkPointer(matrix.get(), IID_IQorSparseMatrix);
    setUpOwn(matrix.get());
    auto transadmittance = [&](LONG p, LONG q, IQorSparseEntry **out) {
      for (int i = 0; i < 4; ++i)
        out[i] = nullptr;
      matrix->InstallMatrixTransadmittance(p, q, p, q, &out[0], &out[1], &out[2], &out[3]);
      for (int i = 0; i < 4; ++i)
        if (out[i])
          out[i]->Release();
    };
    if (fixBetweenPins())
      transadmittance(IndexA, IndexB, fixPins_);
    if (fixToGround())
      transadmittance(IndexA, 0, fixGround_);
    return S_OK;
  });
}

HRESULT STDMETHODCALLTYPE PassiveDevice::LoadDevicePWL() {
  return static_cast<IQorDev *>(this)->LoadDeviceDC();
}

HRESULT STDMETHODCALLTYPE PassiveDevice::LoadDeviceDC() {
  return base::guardCom(IID_IQorDev, [&]() -> HRESULT {
    base::checkPointer(dc_.get(), IID_IQorSimDC);
    loadOwn();
    if (fixBetweenPins())
      conductance(fixPins_, IndexA, IndexB, 1.0);
    if (fixToGround())
      conductance(fixGround_, IndexA, 0, 1.0);
    return S_OK;
  });
}

HRESULT STDMETHODCALLTYPE PassiveDevice::UpdateParams() {
  if (!layout_.param)
    return S_OK;
  try {
    double value = 0.0;
    ComPtr<IXMLElement> item;
    if (ReadParamItem(item)) {
      std::string text;
      if (attributeText(item.get(), "IEEE", text)) {
        base::Bstr hex(text);
        double converted = 0.0;
        if (base::checkPointer(lib_.get(), IID_IQorLib)->BSTR2IEEE(hex.get(), &converted) == S_OK)
          value = converted;
      } else if (attributeText(item.get(), "TEXT", text) ||
                 attributeText(item.get(), "DEFAULT", text)) {
        value = leadingNumber(text);
      }
    }
    if (storeParam(value))
      base::check(base::checkPointer(circuit_.get(), IID_IQorSimCkt)->ResetDC(VARIANT_FALSE),
                  IID_IQorSimCkt);
    return S_OK;
  } catch (...) {
    return S_FALSE;
  }
}

HRESULT STDMETHODCALLTYPE PassiveDevice::UpdateResult() {
  try {
    base::checkPointer(dc_.get(), IID_IQorSimDC);
    readSolution();
    base::checkPointer(component_.get(), IID_IQorOcx2);
    ComPtr<IXMLElement> root;
    base::check(component_->get_RootData1(root.receive()), IID_IQorOcx2);
    ComPtr<IXMLElement> results = childElement(base::checkPointer(root.get()), "RESULT");
    if (!results)
      return S_OK;
    const ItemAttributeNames &names = itemAttributeNames();
    for (ComPtr<IXMLElement> &child : childElements(results.get())) {
      std::string name;
      attributeText(child.get(), names.name, name);
      base::Bstr hex;
      base::check(
          base::checkPointer(lib_.get(), IID_IQorLib)->IEEE2BSTR(result(name), hex.receive()),
          IID_IQorLib);
      try {
        setAttributeText(child.get(), names.ieee, hex.get());
      } catch (const base::ComError &) {
        // A refused attribute leaves the old value; the flag still tells
        // the host that the data changed.
      }
      base::check(component_->put_DirtyFlag(VARIANT_TRUE), IID_IQorOcx2);
    }
    return S_OK;
  } catch (...) {
    return S_FALSE;
  }
}

double PassiveDevice::solution(LONG index) const {
  double value = 0.0;
  base::check(dc_->get_Solution(index, &value), IID_IQorSimDC);
  return value;
}

void PassiveDevice::addRhs(LONG index, double amount) {
  double value = 0.0;
  base::check(dc_->get_Rhs(index, &value), IID_IQorSimDC);
  base::check(dc_->put_Rhs(index, value + amount), IID_IQorSimDC);
}

void PassiveDevice::addAbsSum(LONG index, double amount) {
  double value = 0.0;
  base::check(dc_->get_AbsSum(index, &value), IID_IQorSimDC);
  base::check(dc_->put_AbsSum(index, value + amount), IID_IQorSimDC);
}

void PassiveDevice::add(IQorSparseEntry *entry, double amount) {
  base::checkPointer(entry, IID_IQorSparseEntry);
  double value = 0.0;
  base::check(entry->get_RealValue(&value), IID_IQorSparseEntry);
  base::check(entry->put_RealValue(value + amount), IID_IQorSparseEntry);
}

void PassiveDevice::conductance(IQorSparseEntry *const *entries, LONG p, LONG q, double g) {
  add(entries[0], g);
  add(entries[1], g);
  add(entries[2], -g);
  add(entries[3], -g);
  const double current = g * (solution(p) - solution(q));
  addRhs(p, -current);
  addRhs(q, current);
  addAbsSum(p, magnitude(current));
  addAbsSum(q, magnitude(current));
}

void PassiveDevice::branchStamp(IQorSparseEntry *const *entries, LONG from, LONG to,
                                double equationRhs) {
  add(entries[0], 1.0);
  add(entries[1], 1.0);
  add(entries[2], -1.0);
  add(entries[3], -1.0);
  addRhs(IndexBE, equationRhs);
  const double current = solution(IndexBE);
  addRhs(from, -current);
  addRhs(to, current);
  addAbsSum(from, magnitude(current));
  addAbsSum(to, magnitude(current));
}

double PassiveDevice::pinVoltage() const {
  const double va = solution(IndexA);
  const double vb = IndexB >= 0 ? solution(IndexB) : 0.0;
  if (!std::isfinite(va) || !std::isfinite(vb))
    return Infinity;
  return va - vb;
}

double PassiveDevice::branchCurrent() const {
  const double current = solution(IndexBE);
  return std::isfinite(current) ? current : Infinity;
}

} // namespace passive
