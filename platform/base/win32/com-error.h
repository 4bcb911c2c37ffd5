// The internal COM error: a failed HRESULT and the interface that reported
// it, thrown by the call wrappers and caught at every interface boundary.
// Because each statically linked module has its own unwinder, nothing may be
// thrown across a COM method, an export or a callback: the guards below turn
// every exception into that boundary's return value.
#ifndef PLATFORM_BASE_COM_ERROR_H
#define PLATFORM_BASE_COM_ERROR_H

#include <windows.h>
#include <objbase.h>

#include <new>

namespace base {

class ComError {
public:
  explicit ComError(HRESULT hr, const IID &iid = IID_NULL) : hr_(hr), iid_(iid) {}
  HRESULT hr() const { return hr_; }
  const IID &iid() const { return iid_; }

private:
  HRESULT hr_;
  IID iid_;
};

// Throws ComError when hr failed; returns hr otherwise (S_FALSE stays visible).
inline HRESULT check(HRESULT hr, const IID &iid = IID_NULL) {
  if (FAILED(hr))
    throw ComError(hr, iid);
  return hr;
}

// Throws ComError(E_POINTER) for a null interface a wrapper is asked to call.
template <typename T> T *checkPointer(T *p, const IID &iid = IID_NULL) {
  if (!p)
    throw ComError(E_POINTER, iid);
  return p;
}

// Records error info for automation clients: the interface at fault as the
// GUID, a short description of hr. Failure to record is ignored on purpose:
// the HRESULT itself is the error report.
void setErrorInfo(HRESULT hr, const IID &iid);

// Runs body (returning HRESULT) at an interface boundary: a ComError returns
// its HRESULT, out of memory E_OUTOFMEMORY, anything else E_UNEXPECTED; each
// failure also sets error info naming iid.
template <typename Body> HRESULT guardCom(const IID &iid, Body &&body) noexcept {
  HRESULT hr;
  try {
    return body();
  } catch (const ComError &error) {
    hr = error.hr();
  } catch (const std::bad_alloc &) {
    hr = E_OUTOFMEMORY;
  } catch (...) {
    hr = E_UNEXPECTED;
  }
  setErrorInfo(hr, iid);
  return hr;
}

// The host-facing entry points (event sinks, advise calls): a COM error
// stops the work and answers S_FALSE, so the host carries on.
template <typename Body> HRESULT guardHostEntry(Body &&body) noexcept {
  try {
    return body();
  } catch (const ComError &) {
    return S_FALSE;
  } catch (const std::bad_alloc &) {
    return E_OUTOFMEMORY;
  } catch (...) {
    return E_UNEXPECTED;
  }
}

// Exported entry points that are not COM methods.
template <typename Body> HRESULT guardExport(Body &&body) noexcept {
  try {
    return body();
  } catch (const ComError &error) {
    return error.hr();
  } catch (const std::bad_alloc &) {
    return E_OUTOFMEMORY;
  } catch (...) {
    return E_UNEXPECTED;
  }
}

} // namespace base

#endif
