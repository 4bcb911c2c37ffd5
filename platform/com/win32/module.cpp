// Module counts and the cached type library of a COM server.
#include "platform/com/win32/module.h"

#include <oleauto.h>

#include <cwchar>

namespace com {
namespace {

HINSTANCE instance_;
LONG lockCount_;

// One entry per interface asked for; a server's library holds a few dozen
// interfaces at most, and a miss beyond the table only costs a lookup.
struct CachedTypeInfo {
  IID iid;
  ITypeInfo *info;
};
const int CacheSize = 48;
CachedTypeInfo cache_[CacheSize];
int cached_;

// A module carries its own type library as TYPELIB resource 1; a module
// that also links one of our platform layers carries that layer's library
// too (2: the XML object model, 3: the stand-in drawing host).
const int LibrarySlots = 3;
ITypeLib *typeLibs_[LibrarySlots];
bool librariesLoaded_;

void loadTypeLibs() {
  if (librariesLoaded_)
    return;
  librariesLoaded_ = true;
  wchar_t path[MAX_PATH + 8];
  DWORD length = GetModuleFileNameW(instance_, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH)
    return;
  for (int slot = 0; slot < LibrarySlots; ++slot) {
    swprintf(path + length, 8, L"\\%d", slot + 1);
    if (FAILED(LoadTypeLibEx(path, REGKIND_NONE, &typeLibs_[slot])))
      typeLibs_[slot] = nullptr;
  }
}

HRESULT findTypeInfo(REFIID iid, ITypeInfo **info) {
  loadTypeLibs();
  HRESULT hr = TYPE_E_CANTLOADLIBRARY;
  for (ITypeLib *library : typeLibs_) {
    if (!library)
      continue;
    hr = library->GetTypeInfoOfGuid(iid, info);
    if (SUCCEEDED(hr))
      return hr;
  }
  return hr;
}

} // namespace

void setModuleInstance(HINSTANCE instance) { instance_ = instance; }
HINSTANCE moduleInstance() { return instance_; }

void lockModule() { InterlockedIncrement(&lockCount_); }
void unlockModule() { InterlockedDecrement(&lockCount_); }
LONG moduleLockCount() { return lockCount_; }

HRESULT typeInfoOf(REFIID iid, ITypeInfo **out) {
  *out = nullptr;
  for (int i = 0; i < cached_; ++i) {
    if (IsEqualIID(cache_[i].iid, iid)) {
      *out = cache_[i].info;
      (*out)->AddRef();
      return S_OK;
    }
  }
  ITypeInfo *info = nullptr;
  HRESULT hr = findTypeInfo(iid, &info);
  if (FAILED(hr))
    return hr;
  if (cached_ < CacheSize) {
    cache_[cached_].iid = iid;
    cache_[cached_].info = info;
    info->AddRef();
    ++cached_;
  }
  *out = info;
  return S_OK;
}

void releaseTypeInfo() {
  for (int i = 0; i < cached_; ++i)
    cache_[i].info->Release();
  cached_ = 0;
  for (ITypeLib *&library : typeLibs_) {
    if (library)
      library->Release();
    library = nullptr;
  }
  librariesLoaded_ = false;
}

bool modulePath(char *buffer, DWORD size) {
  DWORD length = GetModuleFileNameA(instance_, buffer, size);
  if (length == 0 || length >= size) {
    if (size)
      buffer[0] = '\0';
    return false;
  }
  return true;
}

} // namespace com
