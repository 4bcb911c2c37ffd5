// Module-wide state of a COM server: its instance handle, the count of live
// objects and server locks that answers DllCanUnloadNow, and the type
// library embedded as resource 1 TYPELIB with one cached ITypeInfo per
// interface. This is all the mutable global state a server keeps besides
// the singletons its classes require.
#ifndef PLATFORM_COM_MODULE_H
#define PLATFORM_COM_MODULE_H

#include <windows.h>
#include <oaidl.h>

namespace com {

// Called from DllMain on DLL_PROCESS_ATTACH; nothing else happens there.
void setModuleInstance(HINSTANCE instance);
HINSTANCE moduleInstance();

// Live objects plus IClassFactory::LockServer locks.
void lockModule();
void unlockModule();
LONG moduleLockCount();

// The type information of interface iid from the module's type libraries,
// loaded on first use and cached. Returns a new reference in *out, or the
// failing HRESULT (TYPE_E_ELEMENTNOTFOUND for an interface not in the
// library) with *out null.
HRESULT typeInfoOf(REFIID iid, ITypeInfo **out);

// Releases the cached library and type information (before unloading).
void releaseTypeInfo();

// The full path of the module file (ANSI), or the empty string on failure.
// Writes at most size bytes including the terminator.
bool modulePath(char *buffer, DWORD size);

} // namespace com

#endif
