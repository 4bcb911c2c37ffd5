#include "semi-lib/win32/model-library-resource.h"

namespace semi {

bool loadModelLibrary(HMODULE module, SemiKind kind, std::string &text) {
  text.clear();
  HRSRC found =
      FindResourceA(module, MAKEINTRESOURCEA(libraryResourceId(kind)), LibraryResourceType);
  if (!found)
    return false;
  DWORD size = SizeofResource(module, found);
  HGLOBAL loaded = LoadResource(module, found);
  if (!size || !loaded)
    return false;
  // Resource memory belongs to the module; nothing to free.
  const char *bytes = static_cast<const char *>(LockResource(loaded));
  if (!bytes)
    return false;
  text.assign(bytes, size);
  return true;
}

} // namespace semi
