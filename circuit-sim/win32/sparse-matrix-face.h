// SparseMatrix: the circuit matrix's COM face (IQorSparseMatrix), embedded
// in the circuit object and holding its CSparse. It lives and dies with the
// circuit: its references are the circuit's.
#ifndef CIRCUIT_SIM_WIN32_SPARSE_MATRIX_FACE_H
#define CIRCUIT_SIM_WIN32_SPARSE_MATRIX_FACE_H

#include "QorSim.h"
#include "circuit-sim/core/sparse-matrix.h"

#include "platform/com/win32/dispatch.h"

namespace qorsim {

class SparseMatrix final : public com::Dispatch<IQorSparseMatrix> {
public:
  explicit SparseMatrix(IUnknown *owner);
  ~SparseMatrix() override;
  SparseMatrix(const SparseMatrix &) = delete;
  SparseMatrix &operator=(const SparseMatrix &) = delete;

  CSparse &matrix() { return matrix_; }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void **out) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;

  HRESULT STDMETHODCALLTYPE InstallMatrixEntry(LONG Row, LONG Col,
                                               IQorSparseEntry **pEntry) override;
  HRESULT STDMETHODCALLTYPE InstallMatrixTransadmittance(LONG Row1, LONG Row2, LONG Col1, LONG Col2,
                                                         IQorSparseEntry **pEntry1,
                                                         IQorSparseEntry **pEntry2,
                                                         IQorSparseEntry **pEntry3Neg,
                                                         IQorSparseEntry **pEntry4Neg) override;

private:
  IUnknown *owner_; // the circuit; not counted, it owns us
  CSparse matrix_;
};

} // namespace qorsim

#endif
