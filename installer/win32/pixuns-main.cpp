// Pixuns.exe: runs the uninstall section of the installed "Pixtune.inf" on
// the recorded plug-in folder and removes that folder. "safe" (any case)
// runs "UninstallSafe" without a question, as the installer asks before
// installing over an old version; otherwise the user confirms "Uninstall".
#include "installer/core/install-rules.h"
#include "installer/win32/inf-sections.h"
#include "installer/win32/registry-text.h"
#include "installer/win32/resource.h"
#include "installer/win32/setup-folders.h"
#include "installer/win32/setup-texts.h"

#include <windows.h>

namespace installer {

namespace {

void uninstall(UninstallPlan plan, const SetupString &folder) {
  SetupString windows = windowsFolder();
  if (windows.empty())
    return;
  SetupString infPath = uninstallInfPath(windows);
  InfFile inf(infPath);
  if (!inf.isOpen()) {
    MessageBoxA(nullptr, (infPath + loadText(IDS_CANNOT_OPEN_INF)).c_str(), "Uninstall error",
                MB_ICONERROR);
    return;
  }
  if (!inf.setPluginFolder(folder))
    return;
  inf.runSection(uninstallSection(plan));
  RemoveDirectoryA(folder.c_str()); // succeeds only when the section left it empty
}

int run(const char *commandLine) {
  SetupString folder = readRegistryText(HKEY_LOCAL_MACHINE, productKey, "AppPath");
  UninstallPlan plan = planUninstall(commandLine, folder);
  switch (plan) {
  case UninstallPlan::NothingInstalled:
    // Safe mode runs unattended under the installer: it only ends.
    if (planUninstall(commandLine, "x") == UninstallPlan::AskFirst)
      MessageBoxA(nullptr, loadText(IDS_NOTHING_INSTALLED).c_str(), "Uninstall",
                  MB_ICONINFORMATION);
    return 0;
  case UninstallPlan::AskFirst:
    if (MessageBoxA(nullptr, loadText(IDS_CONFIRM_REMOVE).c_str(), "Uninstall",
                    MB_ICONQUESTION | MB_YESNO) != IDYES)
      return 0;
    break;
  case UninstallPlan::RemoveSafely:
    break;
  }
  uninstall(plan, folder);
  return 0;
}

} // namespace

} // namespace installer

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
  try {
    return installer::run(commandLine ? commandLine : "");
  } catch (...) {
    return 1;
  }
}
