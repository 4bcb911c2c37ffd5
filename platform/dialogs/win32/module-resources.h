// The module that holds the dialog templates: the one this layer is
// linked into (a server DLL or a test program), never the host process.
#ifndef PLATFORM_DIALOGS_MODULE_RESOURCES_H
#define PLATFORM_DIALOGS_MODULE_RESOURCES_H

#include <windows.h>

#include <string>

namespace dialogs {

HMODULE resourceModule();
// The module's help file: its own path with the extension ".hlp".
std::string moduleHelpFile();

} // namespace dialogs

#endif
