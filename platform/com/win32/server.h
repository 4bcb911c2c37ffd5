// The class table of one in-process server and the four exports built on
// it. A server lists its classes once; class objects, DllCanUnloadNow and
// the registry keys all come from that table.
#ifndef PLATFORM_COM_SERVER_H
#define PLATFORM_COM_SERVER_H

#include <windows.h>
#include <objbase.h>

#include "module.h"

namespace com {

// Creates a new instance and asks it for riid (outer objects are refused
// before this is called).
using CreateInstance = HRESULT (*)(REFIID riid, void **out);

enum class ClassKind {
  Plain, // ProgIDs, CLSID key, InprocServer32, Programmable, TypeLib
  // A class that is no part of the type library's objects: Plain's keys
  // without TypeLib, and its two ProgID keys are replaced whole.
  Service,
  Control, // also Control, MiscStatus and Version (an ActiveX control)
  // A control as above that is also invisible at run time (MiscStatus
  // adds OLEMISC_INVISIBLEATRUNTIME).
  InvisibleControl,
};

struct ClassEntry {
  const CLSID *clsid;
  const char *name;        // "SimRoot": ProgIDs "QOR.SimRoot.1" and "QOR.SimRoot"
  const char *description; // default value of the ProgID and CLSID keys
  CreateInstance create;   // null: registered but served by no class object
  IUnknown **singleton;    // non-null: one instance per process, kept here
  ClassKind kind;
};

struct Server {
  const ClassEntry *classes;
  int classCount;
  const GUID *libraryId;
  WORD libraryMajor, libraryMinor;
  // Whether DllUnregisterServer also removes the type library's keys.
  bool unregisterTypeLibrary;
  // Whether DllUnregisterServer answers S_OK even when a key could not be
  // removed (each class's keys are tried in any case).
  bool unregisterAlwaysSucceeds;
};

HRESULT getClassObject(const Server &server, REFCLSID clsid, REFIID riid, void **out);
// S_OK when no object or lock but idle singletons lives; those are released.
HRESULT canUnloadNow(const Server &server);
// Writes every class's keys and registers the type library; the first
// failure is returned.
HRESULT registerServer(const Server &server);
// Removes what registerServer wrote; keys that are already gone are no error.
// Every class is tried; the first failure is returned unless the server
// always succeeds.
HRESULT unregisterServer(const Server &server);

} // namespace com

// The module entry point and the four exports of the server whose table is
// `server`; the module's .def file exports them undecorated.
#define COM_SERVER_EXPORTS(server)                                                                 \
  extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {                       \
    if (reason == DLL_PROCESS_ATTACH) {                                                            \
      com::setModuleInstance(instance);                                                            \
      DisableThreadLibraryCalls(instance);                                                         \
    }                                                                                              \
    return TRUE;                                                                                   \
  }                                                                                                \
  STDAPI DllCanUnloadNow() { return com::canUnloadNow(server); }                                   \
  STDAPI DllGetClassObject(REFCLSID clsid, REFIID riid, void **out) {                              \
    return com::getClassObject(server, clsid, riid, out);                                          \
  }                                                                                                \
  STDAPI DllRegisterServer() { return com::registerServer(server); }                               \
  STDAPI DllUnregisterServer() { return com::unregisterServer(server); }

#endif
