// Page progress bar.
#include "jpeg/win32/page-progress.h"

#include "jpeg/win32/resource.h"

#include <commctrl.h>

namespace pixtune {

void TPageProgress::Show() {
  if (!page_.Handle())
    return;
  HWND bar = GetDlgItem(page_.Handle(), IDC_PAGE_PROGRESS);
  SendMessageA(bar, PBM_SETRANGE, 0, MAKELPARAM(0, 100));
  SendMessageA(bar, PBM_SETPOS, static_cast<WPARAM>(Percent()), 0);
}

} // namespace pixtune
