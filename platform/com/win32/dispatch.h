// IDispatch for a dual interface, answered from the module's type library:
// GetIDsOfNames and Invoke go through the cached ITypeInfo of Interface, so
// a late-bound call reaches exactly the vtable method an early-bound caller
// would call. No member names are written by hand.
#ifndef PLATFORM_COM_DISPATCH_H
#define PLATFORM_COM_DISPATCH_H

#include "platform/com/win32/module.h"

#include <windows.h>
#include <oaidl.h>
#include <oleauto.h>

namespace com {

template <typename Interface> class Dispatch : public Interface {
public:
  virtual ~Dispatch() = default;

  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT *count) override {
    if (!count)
      return E_POINTER;
    *count = 1;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID, ITypeInfo **info) override {
    if (!info)
      return E_POINTER;
    *info = nullptr;
    if (index != 0)
      return DISP_E_BADINDEX;
    return typeInfoOf(__uuidof(Interface), info);
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR *names, UINT count, LCID,
                                          DISPID *ids) override {
    if (!IsEqualIID(riid, IID_NULL))
      return DISP_E_UNKNOWNINTERFACE;
    ITypeInfo *info;
    HRESULT hr = typeInfoOf(__uuidof(Interface), &info);
    if (FAILED(hr))
      return hr;
    hr = info->GetIDsOfNames(names, count, ids);
    info->Release();
    return hr;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID riid, LCID, WORD flags, DISPPARAMS *params,
                                   VARIANT *result, EXCEPINFO *exception, UINT *argError) override {
    if (!IsEqualIID(riid, IID_NULL))
      return DISP_E_UNKNOWNINTERFACE;
    ITypeInfo *info;
    HRESULT hr = typeInfoOf(__uuidof(Interface), &info);
    if (FAILED(hr))
      return hr;
    hr = info->Invoke(static_cast<Interface *>(this), id, flags, params, result, exception,
                      argError);
    info->Release();
    return hr;
  }
};

} // namespace com

#endif
