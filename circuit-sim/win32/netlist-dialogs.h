// The dialogs of the netlist writer (message boxes and the save dialog),
// behind one seam. By default they are the platform's; a host process
// that exports the function named by NetlistDialogsExport answers them
// itself, which is how tests drive the writer without a person.
#ifndef CIRCUIT_SIM_NETLIST_DIALOGS_H
#define CIRCUIT_SIM_NETLIST_DIALOGS_H

#include <windows.h>

#include <string>

namespace qorsim {

struct NetlistDialogs {
  // As MessageBoxA: the button pressed.
  int(__cdecl *messageBox)(HWND owner, const char *text, const char *caption, UINT style);
  // Fills path (of size characters) and answers true, or answers false for
  // a cancelled dialog.
  bool(__cdecl *saveFileName)(const char *initialName, char *path, DWORD size);
};

// extern "C" const NetlistDialogs *__cdecl <name>(void), exported by the
// host's executable.
const char NetlistDialogsExport[] = "QorSimNetlistDialogs";
using NetlistDialogsGetter = const NetlistDialogs *(__cdecl *)();

// The host's dialogs when it offers them, the platform's otherwise.
const NetlistDialogs &netlistDialogs();

} // namespace qorsim

#endif
