// The wire device: its nets, its branch and its stamp.
#include "circuit-sim/win32/wire-dev.h"
#include "circuit-sim/win32/host-calls.h"

#include "platform/base/win32/bstr.h"
#include "platform/base/win32/com-error.h"

#include <cmath>

namespace qorsim {

const com::InterfaceEntry *WireDev::interfaces() {
  static const com::InterfaceEntry table[] = {
      {&IID_IQorWireDev, com::interfaceOffset<WireDev, IQorWireDev>()},
      {&IID_IDispatch, com::interfaceOffset<WireDev, IQorWireDev>()},
      {&IID_IQorDev, com::interfaceOffset<WireDev, IQorDev>()},
      {&IID_ISupportErrorInfo, com::interfaceOffset<WireDev, ISupportErrorInfo>()},
      {nullptr, 0}};
  return table;
}

HRESULT STDMETHODCALLTYPE WireDev::get_NetInfo(short VisFromParts, LONG *pNetIndex) {
  if (VisFromParts != BeginPart && VisFromParts != EndPart)
    return E_INVALIDARG;
  if (!pNetIndex)
    return E_POINTER;
  *pNetIndex = VisFromParts == BeginPart ? begin_ : end_;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE WireDev::put_NetInfo(short VisFromParts, LONG newVal) {
  if (VisFromParts != BeginPart && VisFromParts != EndPart)
    return E_INVALIDARG;
  (VisFromParts == BeginPart ? begin_ : end_) = newVal;
  return S_OK;
}

long WireDev::registerNet(const std::string &suffix, QorVariableTypes type) {
  base::Bstr name(name_ + suffix);
  LONG index = -1;
  base::check(circuit_->IndexMapInsert(name.get(), &index), IID_IQorSimCkt);
  base::check(circuit_->put_VarType(index, type), IID_IQorSimCkt);
  return index;
}

HRESULT STDMETHODCALLTYPE WireDev::InstallDevice(BSTR DevName, IUnknown *Component,
                                                 IQorSimCkt *Circuit) {
  if (!DevName || !Component || !Circuit)
    return E_INVALIDARG;
  return base::guardCom(IID_IQorDev, [&]() -> HRESULT {
    name_ = base::Bstr::toAnsiText(DevName);
    shape_.reset();
    Component->QueryInterface(IID_IDrawShape, shape_.receiveVoid());
    circuit_ = ComPtr<IQorSimCkt>(Circuit);
    vectors_ = circuit_.query<IQorSimDC>();
    branch_ = registerNet("BE", qorVarCurrent);
    bool beginMade = false, endMade = false;
    if (begin_ == -1) {
      begin_ = registerNet("BEG", qorVarVoltage);
      beginMade = true;
    }
    if (end_ == -1) {
      end_ = registerNet("END", qorVarVoltage);
      endMade = true;
    }
    const long nameIndex = beginMade ? begin_ : endMade ? end_ : branch_;
    base::check(circuit_->TopologyInsert(begin_, end_, nameIndex, qorPathWire), IID_IQorSimCkt);
    return S_OK;
  });
}

HRESULT STDMETHODCALLTYPE WireDev::TopologyFix() { return S_OK; }

// A wire has no netlist line: the caller's texts stay as they were.
HRESULT STDMETHODCALLTYPE WireDev::SpiceInfo(BSTR *, BSTR *) { return S_OK; }

double WireDev::solution(long index) {
  double value = 0;
  base::check(vectors_->get_Solution(index, &value), IID_IQorSimDC);
  return value;
}

void WireDev::addRhs(long index, double amount) {
  double value = 0;
  base::check(vectors_->get_Rhs(index, &value), IID_IQorSimDC);
  base::check(vectors_->put_Rhs(index, value + amount), IID_IQorSimDC);
}

void WireDev::addAbsSum(long index, double amount) {
  double value = 0;
  base::check(vectors_->get_AbsSum(index, &value), IID_IQorSimDC);
  base::check(vectors_->put_AbsSum(index, value + amount), IID_IQorSimDC);
}

// The Newton form of V(begin) - V(end) = 0 with the current flowing from
// the begin net through the wire to the end net.
void WireDev::stamp() {
  const double signs[4] = {1.0, 1.0, -1.0, -1.0};
  for (int i = 0; i < 4; ++i) {
    IQorSparseEntry *entry = base::checkPointer(entries_[i], IID_IQorSparseEntry);
    double value = 0;
    base::check(entry->get_RealValue(&value), IID_IQorSparseEntry);
    base::check(entry->put_RealValue(value + signs[i]), IID_IQorSparseEntry);
  }
}

HRESULT STDMETHODCALLTYPE WireDev::SetUpDeviceDC() {
  return base::guardCom(IID_IQorDev, [&]() -> HRESULT {
    base::checkPointer(vectors_.get(), IID_IQorSimDC);
    ComPtr<IQorSparseMatrix> matrix;
    base::check(vectors_->get_Matrix(matrix.receive()), IID_IQorSimDC);
    base::checkPointer(matrix.get(), IID_IQorSimDC);
    const long rows[4] = {branch_, begin_, branch_, end_};
    const long cols[4] = {begin_, branch_, end_, branch_};
    for (int i = 0; i < 4; ++i) {
      ComPtr<IQorSparseEntry> entry;
      base::check(matrix->InstallMatrixEntry(rows[i], cols[i], entry.receive()),
                  IID_IQorSparseMatrix);
      // The matrix owns its elements: the handle is kept without a reference.
      entries_[i] = entry.get();
    }
    stamp();
    base::check(vectors_->put_Rhs(branch_, 0.0), IID_IQorSimDC);
    return S_OK;
  });
}

HRESULT STDMETHODCALLTYPE WireDev::LoadDevicePWL() { return LoadDeviceDC(); }

HRESULT STDMETHODCALLTYPE WireDev::LoadDeviceDC() {
  return base::guardCom(IID_IQorDev, [&]() -> HRESULT {
    base::checkPointer(vectors_.get(), IID_IQorSimDC);
    stamp();
    const double v1 = solution(begin_), v2 = solution(end_), current = solution(branch_);
    addRhs(branch_, -(v1 - v2));
    addRhs(begin_, -current);
    addRhs(end_, current);
    addAbsSum(begin_, std::fabs(current));
    addAbsSum(end_, std::fabs(current));
    return S_OK;
  });
}

HRESULT STDMETHODCALLTYPE WireDev::LimitDeltaDC() { return S_OK; }
HRESULT STDMETHODCALLTYPE WireDev::UpdateParams() { return S_OK; }
HRESULT STDMETHODCALLTYPE WireDev::UpdateResult() { return S_OK; }

HRESULT createWireDev(REFIID riid, void **out) { return com::Object<WireDev>::create(riid, out); }

} // namespace qorsim
