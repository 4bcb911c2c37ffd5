// The matrix element's COM face.
#include "circuit-sim/win32/sparse-entry.h"

#include "platform/com/win32/module.h"
#include "platform/com/win32/object.h"

namespace qorsim {

SparseEntry::SparseEntry() { com::lockModule(); }

SparseEntry::~SparseEntry() { com::unlockModule(); }

HRESULT STDMETHODCALLTYPE SparseEntry::QueryInterface(REFIID riid, void **out) {
  static const com::InterfaceEntry table[] = {
      {&IID_IQorSparseEntry, com::interfaceOffset<SparseEntry, IQorSparseEntry>()},
      {&IID_IDispatch, com::interfaceOffset<SparseEntry, IQorSparseEntry>()},
      {nullptr, 0}};
  if (!out)
    return E_POINTER;
  HRESULT hr = com::findInterface(this, table, riid, out);
  if (SUCCEEDED(hr))
    AddRef();
  return hr;
}

ULONG STDMETHODCALLTYPE SparseEntry::AddRef() { return InterlockedIncrement(&refs_); }

// The matrix frees its elements; the last reference only counts down.
ULONG STDMETHODCALLTYPE SparseEntry::Release() {
  LONG refs = InterlockedDecrement(&refs_);
  return refs < 0 ? 0 : refs;
}

HRESULT STDMETHODCALLTYPE SparseEntry::get_RealValue(double *pVal) {
  if (!pVal)
    return E_POINTER;
  *pVal = real;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE SparseEntry::put_RealValue(double newVal) {
  real = newVal;
  return S_OK;
}

} // namespace qorsim
