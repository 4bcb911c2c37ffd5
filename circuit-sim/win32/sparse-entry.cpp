// The matrix element's COM face.
#include "circuit-sim/win32/sparse-entry.h"

#include "platform/com/win32/module.h"

namespace qorsim {

SparseEntry::SparseEntry() { com::lockModule(); }

SparseEntry::~SparseEntry() { com::unlockModule(); }

HRESULT STDMETHODCALLTYPE SparseEntry::QueryInterface(REFIID riid, void **out) {
  return queryDualInterface<IQorSparseEntry>(this, riid, out);
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
