// SparseEntry: a matrix element that is a COM object at the same time, so
// that devices in other servers stamp into the matrix through
// IQorSparseEntry without any lookup. Elements belong to their matrix's
// pools: the reference count never frees one, the matrix does when it is
// destroyed. Each element counts as a live object of the server.
#ifndef CIRCUIT_SIM_SPARSE_ENTRY_H
#define CIRCUIT_SIM_SPARSE_ENTRY_H

#include "QorSim.h"
#include "circuit-sim/core/sparse-element.h"

#include "platform/com/win32/dispatch.h"

namespace qorsim {

// QueryInterface of an object with one dual interface, as the matrix and
// its elements are: that interface, IDispatch and IUnknown give the same
// pointer, with a reference added.
template <typename Interface> HRESULT queryDualInterface(Interface *self, REFIID riid, void **out) {
  if (!out)
    return E_POINTER;
  *out = nullptr;
  if (!IsEqualIID(riid, __uuidof(Interface)) && !IsEqualIID(riid, IID_IDispatch) &&
      !IsEqualIID(riid, IID_IUnknown))
    return E_NOINTERFACE;
  self->AddRef();
  *out = self;
  return S_OK;
}

class SparseEntry final : public com::Dispatch<IQorSparseEntry>, public SparseElement {
public:
  SparseEntry();
  ~SparseEntry() override;
  SparseEntry(const SparseEntry &) = delete;
  SparseEntry &operator=(const SparseEntry &) = delete;

  static SparseEntry *of(SparseElement *element) { return static_cast<SparseEntry *>(element); }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void **out) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;

  HRESULT STDMETHODCALLTYPE get_RealValue(double *pVal) override;
  HRESULT STDMETHODCALLTYPE put_RealValue(double newVal) override;

private:
  LONG refs_ = 0;
};

} // namespace qorsim

#endif
