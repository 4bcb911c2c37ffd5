// What the adapters do for the host's start, continue and prepare
// selectors. Each answers a host result code; a null record is refused.
#ifndef PLUGIN_ADAPTERS_WIN32_ADAPTER_STARTS_H
#define PLUGIN_ADAPTERS_WIN32_ADAPTER_STARTS_H

#include "platform/plugin-host/core/plugin-interface.h"

namespace adapters {

plugin::OSErr DoFilterStart(plugin::FilterRecord *record);
void DoFilterContinue(plugin::FilterRecord *record);
plugin::OSErr DoExportStart(plugin::ExportRecord *record);
void DoExportContinue(plugin::ExportRecord *record);
void DoExportPrepare(plugin::ExportRecord *record);

// The host code for Pixtune's export status: 0 stays 0, a cancel is the
// host's cancel, a file that cannot be created or written an I/O error,
// anything else the adapter's bad-parameters code.
plugin::OSErr HostResultForStatus(int status, plugin::OSErr badParameters);

} // namespace adapters

#endif
