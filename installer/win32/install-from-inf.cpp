// InstallFromInf: system helper libraries, then the sections.
#include "installer/win32/install-from-inf.h"

#include "installer/core/folder-rules.h"
#include "installer/win32/inf-sections.h"
#include "installer/win32/resource.h"
#include "installer/win32/setup-folders.h"
#include "installer/win32/setup-texts.h"

namespace installer {

namespace {

// SetupAPI's own libraries go into the system folder when it lacks them;
// an existing one is never replaced.
bool provideSystemLibrary(unsigned nameId, const SetupString &system) {
  SetupString name = loadText(nameId);
  SetupString target = system + name;
  if (GetFileAttributesA(target.c_str()) != INVALID_FILE_ATTRIBUTES)
    return true;
  return CopyFileA((programFolder() + name).c_str(), target.c_str(), TRUE) != FALSE;
}

} // namespace

bool InstallFromInf(const SetupString &folder, bool filter, bool exportPlugin, HWND owner) {
  SetupString destination = withTrailingBackslash(folder);
  SetupString system = systemFolder();
  bool ok = true;
  if (!provideSystemLibrary(IDS_SETUPAPI_DLL, system) ||
      !provideSystemLibrary(IDS_CFGMGR_DLL, system)) {
    MessageBoxA(owner, loadText(IDS_SYSTEM_COPY_FAILED).c_str(), "Setup error", MB_ICONERROR);
    ok = false;
  }
  SetupString infPath = besideProgram(IDS_INF_FILE);
  InfFile inf(infPath);
  if (!inf.isOpen()) {
    MessageBoxA(owner, ("Cannot open file :" + infPath).c_str(), "Setup error", MB_ICONERROR);
    return false;
  }
  if (!inf.setPluginFolder(destination))
    return false;
  // The installed copy of this file is what removes the installation
  // again: one without its uninstall sections would leave no way back.
  ok = inf.isComplete("Uninstall") && inf.isComplete("UninstallSafe") && ok;
  ok = inf.runSection("Install").succeeded && ok;
  if (filter)
    ok = inf.runSection("InstallF").succeeded && ok;
  if (exportPlugin)
    ok = inf.runSection("InstallE").succeeded && ok;
  return ok;
}

} // namespace installer
