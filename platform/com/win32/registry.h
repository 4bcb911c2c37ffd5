// Small registry helpers for registration: write a key with values, delete a
// key with everything under it.
#ifndef PLATFORM_COM_REGISTRY_H
#define PLATFORM_COM_REGISTRY_H

#include <windows.h>

#include <string>

namespace com {

// Creates (or opens) root\path and sets its value named name (null: the
// default value) to text. Returns the Win32 error as an HRESULT.
HRESULT writeRegistryText(HKEY root, const std::string &path, const char *name,
                          const std::string &text);
// Creates root\path with no values of its own.
HRESULT createRegistryKey(HKEY root, const std::string &path);
// Deletes root\path and all its sub-keys; a missing key is no error.
HRESULT deleteRegistryTree(HKEY root, const std::string &path);

// "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}" in upper case, as registry keys
// spell class and library identifiers.
std::string guidText(const GUID &guid);

} // namespace com

#endif
