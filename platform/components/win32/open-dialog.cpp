#include "platform/components/win32/open-dialog.h"

#include "platform/components/win32/application.h"
#include "platform/components/win32/forms.h"
#include "platform/components/win32/std-controls.h"

#include <commdlg.h>

#include <algorithm>
#include <memory>
#include <vector>

namespace components {

bool TOpenDialog::Execute() { return run(false); }

bool TOpenDialog::run(bool save) {
  // The platform wants the filter's parts separated by NULs and ended by
  // two.
  std::string filter = filter_;
  std::replace(filter.begin(), filter.end(), '|', '\0');
  filter.append(2, '\0');
  std::vector<char> file(MAX_PATH * 4, '\0');
  fileName_.copy(file.data(), std::min(fileName_.size(), file.size() - 1));
  OPENFILENAMEA dialog{};
  dialog.lStructSize = sizeof dialog;
  HWND owner = GetActiveWindow();
  dialog.hwndOwner = owner ? owner : Application->Handle();
  dialog.lpstrFilter = filter_.empty() ? nullptr : filter.c_str();
  dialog.nFilterIndex = static_cast<DWORD>(filterIndex_);
  dialog.lpstrFile = file.data();
  dialog.nMaxFile = static_cast<DWORD>(file.size());
  dialog.lpstrInitialDir = initialDir_.empty() ? nullptr : initialDir_.c_str();
  dialog.lpstrTitle = title_.empty() ? nullptr : title_.c_str();
  dialog.lpstrDefExt = defaultExt_.empty() ? nullptr : defaultExt_.c_str();
  dialog.Flags = OFN_EXPLORER | OFN_ENABLESIZING;
  if (options_ & ofReadOnly)
    dialog.Flags |= OFN_READONLY;
  if (options_ & ofOverwritePrompt)
    dialog.Flags |= OFN_OVERWRITEPROMPT;
  if (options_ & ofHideReadOnly)
    dialog.Flags |= OFN_HIDEREADONLY;
  if (options_ & ofNoChangeDir)
    dialog.Flags |= OFN_NOCHANGEDIR;
  if (options_ & ofPathMustExist)
    dialog.Flags |= OFN_PATHMUSTEXIST;
  if (options_ & ofFileMustExist)
    dialog.Flags |= OFN_FILEMUSTEXIST;
  if (options_ & ofCreatePrompt)
    dialog.Flags |= OFN_CREATEPROMPT;
  BOOL chosen = save ? GetSaveFileNameA(&dialog) : GetOpenFileNameA(&dialog);
  if (!chosen)
    return false;
  fileName_ = file.data();
  filterIndex_ = static_cast<int>(dialog.nFilterIndex);
  return true;
}

} // namespace components
