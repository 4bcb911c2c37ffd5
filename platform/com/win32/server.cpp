// Class objects, unload test and registration driven by a server's class
// table.
#include "platform/com/win32/server.h"

#include "platform/base/win32/com-error.h"
#include "platform/base/win32/com-ptr.h"
#include "platform/base/win32/unique-handle.h"
#include "platform/com/win32/class-factory.h"
#include "platform/com/win32/module.h"
#include "platform/com/win32/object.h"
#include "platform/com/win32/registry.h"

#include <oleauto.h>

#include <cstdio>
#include <string>

namespace com {
namespace {

const ClassEntry *findClass(const Server &server, REFCLSID clsid) {
  for (int i = 0; i < server.classCount; ++i) {
    if (IsEqualCLSID(*server.classes[i].clsid, clsid))
      return &server.classes[i];
  }
  return nullptr;
}

// True when the table's reference is the singleton's only one.
bool isIdleSingleton(IUnknown *instance) {
  ULONG refs = instance->AddRef();
  instance->Release();
  return refs == 2;
}

std::string versionedProgId(const ClassEntry &entry) {
  return std::string("QOR.") + entry.name + ".1";
}
std::string progId(const ClassEntry &entry) { return std::string("QOR.") + entry.name; }
std::string classKey(const ClassEntry &entry) { return "CLSID\\" + guidText(*entry.clsid); }

// The keys of one class, as described in server.h. The class key (and a
// service's ProgID keys) is removed whole first, so registering twice
// leaves one set of keys.
void registerClass(const ClassEntry &entry, const std::string &module, const GUID &libraryId) {
  const std::string versioned = versionedProgId(entry);
  const std::string independent = progId(entry);
  const std::string clsid = guidText(*entry.clsid);
  const std::string key = classKey(entry);
  base::check(deleteRegistryTree(HKEY_CLASSES_ROOT, key));
  if (entry.kind == ClassKind::Service) {
    base::check(deleteRegistryTree(HKEY_CLASSES_ROOT, versioned));
    base::check(deleteRegistryTree(HKEY_CLASSES_ROOT, independent));
  }

  base::check(writeRegistryText(HKEY_CLASSES_ROOT, versioned, nullptr, entry.description));
  base::check(writeRegistryText(HKEY_CLASSES_ROOT, versioned + "\\CLSID", nullptr, clsid));
  base::check(writeRegistryText(HKEY_CLASSES_ROOT, independent, nullptr, entry.description));
  base::check(writeRegistryText(HKEY_CLASSES_ROOT, independent + "\\CLSID", nullptr, clsid));
  base::check(writeRegistryText(HKEY_CLASSES_ROOT, independent + "\\CurVer", nullptr, versioned));

  base::check(writeRegistryText(HKEY_CLASSES_ROOT, key, nullptr, entry.description));
  base::check(writeRegistryText(HKEY_CLASSES_ROOT, key + "\\ProgID", nullptr, versioned));
  base::check(writeRegistryText(HKEY_CLASSES_ROOT, key + "\\VersionIndependentProgID", nullptr,
                                independent));
  base::check(createRegistryKey(HKEY_CLASSES_ROOT, key + "\\Programmable"));
  base::check(writeRegistryText(HKEY_CLASSES_ROOT, key + "\\InprocServer32", nullptr, module));
  base::check(writeRegistryText(HKEY_CLASSES_ROOT, key + "\\InprocServer32", "ThreadingModel",
                                "Apartment"));
  if (entry.kind == ClassKind::Service)
    return;
  base::check(
      writeRegistryText(HKEY_CLASSES_ROOT, key + "\\TypeLib", nullptr, guidText(libraryId)));
  if (entry.kind == ClassKind::Plain)
    return;
  base::check(createRegistryKey(HKEY_CLASSES_ROOT, key + "\\Control"));
  base::check(writeRegistryText(HKEY_CLASSES_ROOT, key + "\\MiscStatus", nullptr, "0"));
  // Recompose on resize, cannot link inside, inside-out, activate when
  // visible, set client site first; invisible at run time where the class
  // says so.
  const char *miscStatus = entry.kind == ClassKind::InvisibleControl ? "132497" : "131473";
  base::check(writeRegistryText(HKEY_CLASSES_ROOT, key + "\\MiscStatus\\1", nullptr, miscStatus));
  base::check(writeRegistryText(HKEY_CLASSES_ROOT, key + "\\Version", nullptr, "1.0"));
}

void registerTypeLibrary() {
  wchar_t path[MAX_PATH];
  DWORD length = GetModuleFileNameW(moduleInstance(), path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH)
    throw base::ComError(E_FAIL);
  base::ComPtr<ITypeLib> library;
  base::check(LoadTypeLibEx(path, REGKIND_NONE, library.receive()));
  base::check(RegisterTypeLib(library.get(), path, nullptr));
}

} // namespace

HRESULT getClassObject(const Server &server, REFCLSID clsid, REFIID riid, void **out) {
  if (!out)
    return E_POINTER;
  *out = nullptr;
  const ClassEntry *entry = findClass(server, clsid);
  if (!entry || !entry->create)
    return CLASS_E_CLASSNOTAVAILABLE;
  return Object<ClassFactory>::create(riid, out, *entry);
}

HRESULT canUnloadNow(const Server &server) {
  LONG idle = 0;
  for (int i = 0; i < server.classCount; ++i) {
    IUnknown **slot = server.classes[i].singleton;
    if (!slot || !*slot)
      continue;
    if (!isIdleSingleton(*slot))
      return S_FALSE;
    ++idle;
  }
  if (moduleLockCount() != idle)
    return S_FALSE;
  for (int i = 0; i < server.classCount; ++i) {
    IUnknown **slot = server.classes[i].singleton;
    if (slot && *slot) {
      (*slot)->Release();
      *slot = nullptr;
    }
  }
  releaseTypeInfo();
  return S_OK;
}

HRESULT registerServer(const Server &server) {
  return base::guardExport([&]() -> HRESULT {
    char module[MAX_PATH];
    if (!modulePath(module, sizeof module))
      return E_FAIL;
    for (int i = 0; i < server.classCount; ++i)
      registerClass(server.classes[i], module, *server.libraryId);
    registerTypeLibrary();
    return S_OK;
  });
}

HRESULT unregisterServer(const Server &server) {
  const HRESULT hr = base::guardExport([&]() -> HRESULT {
    HRESULT first = S_OK;
    for (int i = 0; i < server.classCount; ++i) {
      const ClassEntry &entry = server.classes[i];
      for (const std::string &key : {versionedProgId(entry), progId(entry), classKey(entry)}) {
        const HRESULT removed = deleteRegistryTree(HKEY_CLASSES_ROOT, key);
        if (SUCCEEDED(first) && FAILED(removed))
          first = removed;
      }
    }
    base::check(first);
    if (!server.unregisterTypeLibrary)
      return S_OK;
    // Wine's UnRegisterTypeLib fails for a library that is not registered,
    // which is already the state wanted: look before asking.
    char version[32];
    std::snprintf(version, sizeof version, "\\%u.%u", server.libraryMajor, server.libraryMinor);
    base::RegKey key;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT,
                      ("TypeLib\\" + guidText(*server.libraryId) + version).c_str(), 0, KEY_READ,
                      key.receive()) != ERROR_SUCCESS)
      return S_OK;
    key.reset();
    SYSKIND kind = sizeof(void *) == 8 ? SYS_WIN64 : SYS_WIN32;
    base::check(UnRegisterTypeLib(*server.libraryId, server.libraryMajor, server.libraryMinor,
                                  0x0409, kind));
    return S_OK;
  });
  return server.unregisterAlwaysSucceeds ? S_OK : hr;
}

} // namespace com
