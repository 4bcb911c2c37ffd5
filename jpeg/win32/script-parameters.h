// Scripted parameters: the host replays the settings of a recorded export
// from its descriptor and records the settings of this one.
#ifndef JPEG_WIN32_SCRIPT_PARAMETERS_H
#define JPEG_WIN32_SCRIPT_PARAMETERS_H

#include "jpeg/core/export-settings.h"
#include "platform/plugin-host/core/plugin-interface.h"

namespace pixtune {

bool CheckDescriptorParameters(const plugin::PIDescriptorParameters *parameters);
bool CheckHandleProcs(const plugin::HandleProcs *procs);

// Stores every known key of the host's descriptor in settings and disposes
// of the descriptor. Returns true when the host asked for no dialog.
bool ReadScriptParameters(plugin::PIDescriptorParameters *parameters, plugin::HandleProcs *procs,
                          TSettings &settings);
// Records all settings keys into a new descriptor handed back to the host.
void WriteScriptParameters(plugin::PIDescriptorParameters *parameters, plugin::HandleProcs *procs,
                           const TSettings &settings);

} // namespace pixtune

#endif
