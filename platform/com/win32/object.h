// COM objects without hand-written IUnknown: a class lists the interfaces it
// answers in a table, and Object<Impl> supplies QueryInterface, AddRef and
// Release for all of its bases. The reference count starts at 1, changes
// only through Interlocked calls, and the object frees itself at zero; every
// live object holds one module lock.
//
//   class Thing : public com::Dispatch<IThing> {
//   public:
//     static const com::InterfaceEntry *interfaces();  // first entry: identity
//   };
//   IThing *p; com::Object<Thing>::create(IID_IThing, (void **)&p);
#ifndef PLATFORM_COM_OBJECT_H
#define PLATFORM_COM_OBJECT_H

#include "platform/com/win32/module.h"

#include <windows.h>
#include <objbase.h>

#include <cstddef>
#include <new>
#include <utility>

namespace com {

struct InterfaceEntry {
  const IID *iid; // null ends the table
  std::ptrdiff_t offset;
};

// The offset of interface Base inside Class, for InterfaceEntry tables.
template <typename Class, typename Base> std::ptrdiff_t interfaceOffset() {
  // Any non-null address will do: only the difference is used.
  Class *object = reinterpret_cast<Class *>(0x1000);
  return reinterpret_cast<char *>(static_cast<Base *>(object)) - reinterpret_cast<char *>(object);
}

// Looks riid up in table. IID_IUnknown gives the first entry, so every
// query for the identity returns the same pointer. Sets *out (null on
// E_NOINTERFACE) and adds no reference.
HRESULT findInterface(void *object, const InterfaceEntry *table, REFIID riid, void **out);

template <typename Impl> class Object final : public Impl {
public:
  template <typename... Args> explicit Object(Args &&...args) : Impl(std::forward<Args>(args)...) {
    lockModule();
  }
  ~Object() override { unlockModule(); }

  // Creates an object and asks it for riid; the caller owns the result.
  template <typename... Args> static HRESULT create(REFIID riid, void **out, Args &&...args) {
    if (!out)
      return E_POINTER;
    *out = nullptr;
    Object *object = new (std::nothrow) Object(std::forward<Args>(args)...);
    if (!object)
      return E_OUTOFMEMORY;
    HRESULT hr = object->QueryInterface(riid, out);
    object->Release();
    return hr;
  }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void **out) override {
    if (!out)
      return E_POINTER;
    HRESULT hr = findInterface(static_cast<Impl *>(this), Impl::interfaces(), riid, out);
    if (SUCCEEDED(hr))
      AddRef();
    return hr;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&refs_); }
  ULONG STDMETHODCALLTYPE Release() override {
    LONG refs = InterlockedDecrement(&refs_);
    if (refs == 0)
      delete this;
    return refs;
  }

private:
  LONG refs_ = 1;
};

} // namespace com

#endif
