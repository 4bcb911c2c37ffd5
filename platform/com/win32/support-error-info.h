// ISupportErrorInfo for a class whose methods set error info at the
// boundary (base::guardCom): automation clients ask it before they read the
// error info, and it answers S_OK for the listed interfaces, S_FALSE for
// any other.
#ifndef PLATFORM_COM_SUPPORT_ERROR_INFO_H
#define PLATFORM_COM_SUPPORT_ERROR_INFO_H

#include <windows.h>
#include <oaidl.h>

namespace com {

template <const IID *...Supported> class SupportErrorInfo : public ISupportErrorInfo {
public:
  virtual ~SupportErrorInfo() = default;
  HRESULT STDMETHODCALLTYPE InterfaceSupportsErrorInfo(REFIID riid) override {
    for (const IID *iid : {Supported...}) {
      if (IsEqualIID(*iid, riid))
        return S_OK;
    }
    return S_FALSE;
  }
};

} // namespace com

#endif
