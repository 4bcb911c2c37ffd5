// Error info for automation clients, set where an error leaves a module.
#include "platform/base/win32/com-error.h"

#include "platform/base/win32/com-ptr.h"

#include <oleauto.h>

#include <cstdio>

namespace base {

void setErrorInfo(HRESULT hr, const IID &iid) {
  ComPtr<ICreateErrorInfo> create;
  if (FAILED(CreateErrorInfo(create.receive())))
    return;
  create->SetGUID(iid);
  // The description is the HRESULT itself: automation clients show it, and it
  // needs no string table in every module.
  wchar_t text[32];
  swprintf(text, 32, L"Error 0x%08lX", static_cast<unsigned long>(hr));
  create->SetDescription(text);
  ComPtr<IErrorInfo> info = create.query<IErrorInfo>();
  SetErrorInfo(0, info.get());
}

} // namespace base
