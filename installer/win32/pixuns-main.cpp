// Pixuns.exe: runs the uninstall section of the installed "Pixtune.inf" on
// the recorded plug-in folder and removes that folder. "safe" (any case)
// runs "UninstallSafe" without a question, as the installer asks before
// installing over an old version; otherwise the user confirms "Uninstall".
// Ends with 0 once the section ran whole, with 1 when something stayed.
#include "installer/core/install-rules.h"
#include "installer/win32/inf-sections.h"
#include "installer/win32/registry-text.h"
#include "installer/win32/resource.h"
#include "installer/win32/setup-folders.h"
#include "installer/win32/setup-texts.h"
#include "platform/base/win32/unique-handle.h"

#include <windows.h>

namespace installer {

namespace {

// The keys the installation makes above the product key, innermost first.
const char *const productParentKeys[] = {"Software\\Tarvos Technologies\\Pixtune plug-in",
                                         "Software\\Tarvos Technologies"};

// Deletes a key that holds neither values nor keys: an empty key of ours
// is clutter, anything in it is someone's.
void removeEmptyKey(const char *key) {
  base::RegKey opened;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key, 0, KEY_QUERY_VALUE, opened.receive()) != ERROR_SUCCESS)
    return;
  DWORD keys = 0;
  DWORD values = 0;
  if (RegQueryInfoKeyA(opened.get(), nullptr, nullptr, nullptr, &keys, nullptr, nullptr, &values,
                       nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS ||
      keys != 0 || values != 0)
    return;
  opened.reset();
  RegDeleteKeyA(HKEY_LOCAL_MACHINE, key);
}

// The plug-in folder and the maker's folder and keys above what the
// section removed, each only when nothing is left in it.
void removeEmptyParents(const SetupString &folder) {
  for (const char *key : productParentKeys)
    removeEmptyKey(key);
  // The plug-in folder may be the editor's, holding other plug-ins.
  if (!RemoveDirectoryA(folder.c_str()))
    return;
  SetupString makerFolder = makerFolderOf(folder);
  if (!makerFolder.empty())
    RemoveDirectoryA(makerFolder.c_str());
}

void reportUnfinished(const SectionRun &run) {
  SetupString text = loadText(IDS_UNINSTALL_UNFINISHED);
  if (!run.remaining.empty())
    text += "\n\n" + loadText(IDS_FILES_REMAIN);
  for (const SetupString &file : run.remaining)
    text += "\n" + file;
  MessageBoxA(nullptr, text.c_str(), "Uninstall error", MB_ICONERROR);
}

// The section runs twice: first its file entries alone, keeping the INF
// this run reads and the running uninstaller; only when every file went
// does the whole section run, removing those two and the keys. A file
// that cannot go (read-only, in use) so leaves the installation
// registered, and the uninstaller can finish the job in a later run.
int uninstall(UninstallPlan plan, const SetupString &folder) {
  SetupString windows = windowsFolder();
  if (windows.empty())
    return 1;
  SetupString infPath = uninstallInfPath(windows);
  InfFile inf(infPath);
  if (!inf.isOpen()) {
    MessageBoxA(nullptr, (infPath + loadText(IDS_CANNOT_OPEN_INF)).c_str(), "Uninstall error",
                MB_ICONERROR);
    return 1;
  }
  if (!inf.setPluginFolder(folder))
    return 1;
  const char *section = uninstallSection(plan);
  SectionRun run = inf.runFileEntries(section, {infPath, programPath()});
  if (run.succeeded)
    run = inf.runSection(section);
  if (!run.succeeded) {
    reportUnfinished(run);
    return 1;
  }
  removeEmptyParents(folder);
  return 0;
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
  return uninstall(plan, folder);
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
