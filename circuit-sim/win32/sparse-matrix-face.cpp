// The circuit matrix's COM face: element handles for the devices.
#include "circuit-sim/win32/sparse-matrix-face.h"
#include "circuit-sim/win32/sparse-entry.h"

#include "platform/com/win32/module.h"

#include <memory>
#include <stdexcept>

namespace qorsim {

namespace {

// A request outside the matrix (a negative index, no matrix yet, more
// indices than it holds) is the caller's bad argument.
HRESULT entryOut(CSparse &matrix, LONG row, LONG col, IQorSparseEntry **out) {
  try {
    SparseEntry *entry = SparseEntry::of(matrix.element(row, col));
    entry->AddRef();
    *out = entry;
    return S_OK;
  } catch (const std::out_of_range &) {
    return E_INVALIDARG;
  } catch (const std::bad_alloc &) {
    return E_OUTOFMEMORY;
  }
}

} // namespace

SparseMatrix::SparseMatrix(IUnknown *owner)
    : owner_(owner), matrix_(std::make_unique<ElementPools<SparseEntry>>()) {
  com::lockModule();
}

SparseMatrix::~SparseMatrix() { com::unlockModule(); }

HRESULT STDMETHODCALLTYPE SparseMatrix::QueryInterface(REFIID riid, void **out) {
  return queryDualInterface<IQorSparseMatrix>(this, riid, out);
}

ULONG STDMETHODCALLTYPE SparseMatrix::AddRef() { return owner_->AddRef(); }
ULONG STDMETHODCALLTYPE SparseMatrix::Release() { return owner_->Release(); }

HRESULT STDMETHODCALLTYPE SparseMatrix::InstallMatrixEntry(LONG Row, LONG Col,
                                                           IQorSparseEntry **pEntry) {
  if (!pEntry)
    return E_POINTER;
  *pEntry = nullptr;
  return entryOut(matrix_, Row, Col, pEntry);
}

HRESULT STDMETHODCALLTYPE SparseMatrix::InstallMatrixTransadmittance(
    LONG Row1, LONG Row2, LONG Col1, LONG Col2, IQorSparseEntry **pEntry1,
    IQorSparseEntry **pEntry2, IQorSparseEntry **pEntry3Neg, IQorSparseEntry **pEntry4Neg) {
  IQorSparseEntry **outs[] = {pEntry1, pEntry2, pEntry3Neg, pEntry4Neg};
  for (IQorSparseEntry **out : outs) {
    if (!out)
      return E_POINTER;
  }
  for (IQorSparseEntry **out : outs)
    *out = nullptr;
  // Positive positions first; the trash element goes second unless both
  // positive positions are trash.
  const LONG rows[] = {Row1, Row2, Row2, Row1};
  const LONG cols[] = {Col1, Col2, Col1, Col2};
  for (int i = 0; i < 4; ++i) {
    HRESULT hr = entryOut(matrix_, rows[i], cols[i], outs[i]);
    if (FAILED(hr)) {
      for (IQorSparseEntry **out : outs) {
        if (*out)
          (*out)->Release();
        *out = nullptr;
      }
      return hr;
    }
  }
  if (*pEntry1 == SparseEntry::of(matrix_.trash()))
    std::swap(*pEntry1, *pEntry2);
  return S_OK;
}

} // namespace qorsim
