// Module counts and the cached type library of a COM server.
#include "platform/com/win32/module.h"

#include <oleauto.h>

namespace com {
namespace {

HINSTANCE instance_;
LONG lockCount_;
ITypeLib *typeLib_;

// One entry per interface asked for; a server's library holds a few dozen
// interfaces at most, and a miss beyond the table only costs a lookup.
struct CachedTypeInfo {
  IID iid;
  ITypeInfo *info;
};
const int CacheSize = 48;
CachedTypeInfo cache_[CacheSize];
int cached_;

HRESULT loadTypeLib() {
  if (typeLib_)
    return S_OK;
  wchar_t path[MAX_PATH];
  DWORD length = GetModuleFileNameW(instance_, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH)
    return HRESULT_FROM_WIN32(GetLastError() ? GetLastError() : ERROR_FILENAME_EXCED_RANGE);
  return LoadTypeLibEx(path, REGKIND_NONE, &typeLib_);
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
  HRESULT hr = loadTypeLib();
  if (FAILED(hr))
    return hr;
  ITypeInfo *info = nullptr;
  hr = typeLib_->GetTypeInfoOfGuid(iid, &info);
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
  if (typeLib_) {
    typeLib_->Release();
    typeLib_ = nullptr;
  }
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
