// Class objects, plain and singleton.
#include "platform/com/win32/class-factory.h"

#include "platform/base/win32/com-error.h"
#include "platform/com/win32/module.h"
#include "platform/com/win32/object.h"

namespace com {

const InterfaceEntry *ClassFactory::interfaces() {
  static const InterfaceEntry table[] = {
      {&IID_IClassFactory, interfaceOffset<ClassFactory, IClassFactory>()}, {nullptr, 0}};
  return table;
}

HRESULT STDMETHODCALLTYPE ClassFactory::CreateInstance(IUnknown *outer, REFIID riid, void **out) {
  if (!out)
    return E_POINTER;
  *out = nullptr;
  if (outer)
    return CLASS_E_NOAGGREGATION;
  return base::guardCom(IID_IClassFactory, [&]() -> HRESULT {
    if (entry_.singleton)
      return createSingleton(riid, out);
    return entry_.create(riid, out);
  });
}

// The first creation makes the instance and keeps one reference in the
// class table; every later creation answers from that same object. The kept
// reference is dropped only when the module may unload (canUnloadNow).
HRESULT ClassFactory::createSingleton(REFIID riid, void **out) {
  if (!*entry_.singleton) {
    IUnknown *instance = nullptr;
    HRESULT hr = entry_.create(IID_IUnknown, reinterpret_cast<void **>(&instance));
    if (FAILED(hr))
      return hr;
    *entry_.singleton = instance;
  }
  return (*entry_.singleton)->QueryInterface(riid, out);
}

HRESULT STDMETHODCALLTYPE ClassFactory::LockServer(BOOL lock) {
  if (lock)
    lockModule();
  else
    unlockModule();
  return S_OK;
}

} // namespace com
