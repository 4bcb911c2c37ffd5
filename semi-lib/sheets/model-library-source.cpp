#include "semi-lib/sheets/model-library-source.h"

#include "semi-lib/win32/model-library-resource.h"

namespace semi {

std::string modelLibraryTextFor(uikit::SheetOwner &owner, SemiKind kind) {
  if (auto *source = dynamic_cast<ModelLibrarySource *>(&owner))
    return source->modelLibraryText(kind);
  HMODULE module = nullptr;
  if (!GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                              GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                          reinterpret_cast<LPCSTR>(&modelLibraryTextFor), &module))
    return "";
  std::string text;
  loadModelLibrary(module, kind, text);
  return text;
}

} // namespace semi
