// The adapter's hold on Pixtune.dll: loaded by plain name when the adapter
// is attached, freed when it is detached.
#ifndef PLUGIN_ADAPTERS_WIN32_PIXTUNE_BINDING_H
#define PLUGIN_ADAPTERS_WIN32_PIXTUNE_BINDING_H

#include "jpeg/win32/export-entry/export-params.h"

namespace adapters {

// False when the library or one of its two exports is missing; nothing
// stays loaded then.
bool BindPixtune();
void UnbindPixtune();

ExportEntry pixtuneExport();
AboutEntry pixtuneAbout();

} // namespace adapters

#endif
