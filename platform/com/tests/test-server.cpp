// The COM layer's test server: two classes built from the layer exactly as
// the add-on's servers are, one of them a per-process singleton.
#include "test-server.h"

#include "platform/base/win32/bstr.h"
#include "platform/base/win32/com-error.h"
#include "platform/com/win32/dispatch.h"
#include "platform/com/win32/module.h"
#include "platform/com/win32/object.h"
#include "platform/com/win32/server.h"
#include "platform/com/win32/support-error-info.h"

#include <string>

namespace {

class Counter : public com::Dispatch<ITestCounter>,
                public com::SupportErrorInfo<&IID_ITestCounter> {
public:
  static const com::InterfaceEntry *interfaces() {
    static const com::InterfaceEntry table[] = {
        {&IID_ITestCounter, com::interfaceOffset<Counter, ITestCounter>()},
        {&IID_IDispatch, com::interfaceOffset<Counter, ITestCounter>()},
        {&IID_ISupportErrorInfo, com::interfaceOffset<Counter, ISupportErrorInfo>()},
        {nullptr, 0}};
    return table;
  }

  HRESULT STDMETHODCALLTYPE Add(LONG amount) override {
    total_ += amount;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_Total(LONG *total) override {
    if (!total)
      return E_POINTER;
    *total = total_;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Fail(LONG result) override {
    return base::guardCom(IID_ITestCounter, [&]() -> HRESULT {
      throw base::ComError(static_cast<HRESULT>(result), IID_ITestCounter);
    });
  }
  HRESULT STDMETHODCALLTYPE get_Label(LONG index, BSTR *label) override {
    if (!label)
      return E_POINTER;
    *label = nullptr;
    return base::guardCom(IID_ITestCounter, [&]() -> HRESULT {
      if (index < 0)
        return E_INVALIDARG;
      *label = base::Bstr("Counter \xB5" + std::to_string(index + total_)).detach();
      return S_OK;
    });
  }

private:
  LONG total_ = 0;
};

HRESULT createCounter(REFIID riid, void **out) { return com::Object<Counter>::create(riid, out); }

IUnknown *sharedCounter;

const com::ClassEntry classes[] = {
    {&CLSID_TestCounter, "TestCounter", "Test Counter", createCounter, nullptr,
     com::ClassKind::Plain},
    {&CLSID_TestShared, "TestShared", "Test Shared Counter", createCounter, &sharedCounter,
     com::ClassKind::Control},
};

const com::Server server = {classes, 2, &LIBID_ComTestLib, 1, 0, true, false};

} // namespace

COM_SERVER_EXPORTS(server)
