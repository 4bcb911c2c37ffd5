// The shell library's version, read once per component.
#include "clipboard-checker/win32/bk-shell-component.h"

#include "clipboard-checker/win32/bk-version-info.h"

#include <windows.h>

namespace lexitray {

TBkShellComponent::TBkShellComponent(components::TComponent *owner) : TBkComponent(owner) {
  char directory[MAX_PATH + 1] = {};
  UINT length = GetSystemDirectoryA(directory, MAX_PATH);
  // Nobody depends on the number: a shell library without readable
  // version information leaves it 0 instead of failing the component.
  try {
    TBkVersionInfo info(nullptr);
    info.SetFileName(std::string(directory, length) + "\\shell32.dll");
    shellVersion_ = info.VersionNumber();
  } catch (const EBkVersionInfoError &) {
    shellVersion_ = 0;
  }
}

} // namespace lexitray
