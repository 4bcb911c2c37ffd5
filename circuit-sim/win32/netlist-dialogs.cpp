// The platform's dialogs of the netlist writer, and the host's seam.
#include "circuit-sim/win32/netlist-dialogs.h"

#include <commdlg.h>

namespace qorsim {

namespace {

int __cdecl platformMessageBox(HWND owner, const char *text, const char *caption, UINT style) {
  return MessageBoxA(owner, text, caption, style);
}

bool __cdecl platformSaveFileName(const char *initialName, char *path, DWORD size) {
  lstrcpynA(path, initialName, static_cast<int>(size));
  OPENFILENAMEA dialog = {};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = nullptr;
  dialog.lpstrFilter = "SPICE Netlist Files (*.cir)\0*.cir\0All Files (*.*)\0*.*\0\0";
  dialog.lpstrFile = path;
  dialog.nMaxFile = size;
  dialog.lpstrDefExt = "cir";
  dialog.Flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT;
  return GetSaveFileNameA(&dialog) != FALSE;
}

const NetlistDialogs platformDialogs = {platformMessageBox, platformSaveFileName};

} // namespace

const NetlistDialogs &netlistDialogs() {
  auto getter = reinterpret_cast<NetlistDialogsGetter>(reinterpret_cast<void (*)()>(
      GetProcAddress(GetModuleHandleA(nullptr), NetlistDialogsExport)));
  const NetlistDialogs *host = getter ? getter() : nullptr;
  return host ? *host : platformDialogs;
}

} // namespace qorsim
