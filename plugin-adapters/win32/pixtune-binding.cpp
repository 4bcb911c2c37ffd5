// Binding Pixtune.dll.
#include "plugin-adapters/win32/pixtune-binding.h"

namespace adapters {

namespace {

// The loaded library and its entries, kept for the adapter's lifetime
// (load to unload), as the host expects of a plug-in bound at attach.
HMODULE pixtune;
ExportEntry exportEntry;
AboutEntry aboutEntry;

} // namespace

bool BindPixtune() {
  HMODULE module = LoadLibraryA("Pixtune.dll");
  if (!module)
    return false;
  auto exportProc =
      reinterpret_cast<ExportEntry>(reinterpret_cast<void *>(GetProcAddress(module, "EXPORT")));
  auto aboutProc =
      reinterpret_cast<AboutEntry>(reinterpret_cast<void *>(GetProcAddress(module, "ABOUT")));
  if (!exportProc || !aboutProc) {
    FreeLibrary(module);
    return false;
  }
  pixtune = module;
  exportEntry = exportProc;
  aboutEntry = aboutProc;
  return true;
}

void UnbindPixtune() {
  if (pixtune)
    FreeLibrary(pixtune);
  pixtune = nullptr;
  exportEntry = nullptr;
  aboutEntry = nullptr;
}

ExportEntry pixtuneExport() { return exportEntry; }
AboutEntry pixtuneAbout() { return aboutEntry; }

} // namespace adapters
