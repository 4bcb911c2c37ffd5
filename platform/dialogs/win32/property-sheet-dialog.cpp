#include "platform/dialogs/win32/property-sheet-dialog.h"

#include "platform/dialogs/win32/modal-loop.h"
#include "platform/dialogs/win32/module-resources.h"

#include <utility>

namespace dialogs {

namespace {
// The sheet whose window the running PropertySheetA call is making.
CPropertySheet *creating = nullptr;
} // namespace

CPropertySheet::CPropertySheet(std::string caption, HWND parent, UINT startPage)
    : caption_(std::move(caption)), parent_(parent), startPage_(startPage) {}

CPropertySheet::~CPropertySheet() {
  if (HWND window = handle()) {
    detachHandle();
    DestroyWindow(window);
  }
}

int CALLBACK CPropertySheet::sheetCallback(HWND window, UINT message, LPARAM) {
  if (message == PSCB_INITIALIZED && creating) {
    CPropertySheet *self = std::exchange(creating, nullptr);
    self->subclass(window);
    self->OnInitDialog();
  }
  return 0;
}

bool CPropertySheet::ended() const {
  return !handle() || SendMessageA(handle(), PSM_GETCURRENTPAGEHWND, 0, 0) == 0;
}

HWND CPropertySheet::activePageHandle() const {
  return handle() ? reinterpret_cast<HWND>(SendMessageA(handle(), PSM_GETCURRENTPAGEHWND, 0, 0))
                  : nullptr;
}

bool CPropertySheet::onMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT &result) {
  if (message == WM_COMMAND && LOWORD(wParam) == IDOK) {
    result = defaultProc(message, wParam, lParam);
    if (ended())
      okPressed_ = true;
    return true;
  }
  return false;
}

INT_PTR CPropertySheet::doModal() {
  std::vector<HPROPSHEETPAGE> handles;
  for (CPropertyPage *page : pages_)
    if (HPROPSHEETPAGE made = page->createPageHandle())
      handles.push_back(made);
  PROPSHEETHEADERA header{};
  header.dwSize = sizeof header;
  header.dwFlags = PSH_MODELESS | PSH_USECALLBACK;
  header.hwndParent = parent_;
  header.hInstance = resourceModule();
  header.pszCaption = caption_.c_str();
  header.nPages = static_cast<UINT>(handles.size());
  header.nStartPage = startPage_ < handles.size() ? startPage_ : 0;
  header.phpage = handles.data();
  header.pfnCallback = sheetCallback;
  okPressed_ = false;
  creating = this;
  HWND window = reinterpret_cast<HWND>(PropertySheetA(&header));
  creating = nullptr;
  if (!window || window == reinterpret_cast<HWND>(-1)) {
    for (HPROPSHEETPAGE page : handles)
      DestroyPropertySheetPage(page);
    return -1;
  }
  if (!handle())
    subclass(window);
  if (!IsWindowVisible(window))
    ShowWindow(window, SW_SHOW);
  ModalLoop loop(
      window, parent_,
      [window](MSG &message) {
        return SendMessageA(window, PSM_ISDIALOGMESSAGE, 0, reinterpret_cast<LPARAM>(&message)) !=
               0;
      },
      [this] { return ended(); });
  try {
    loop.run();
  } catch (...) {
    if (handle())
      DestroyWindow(handle());
    throw;
  }
  if (handle())
    DestroyWindow(handle());
  return okPressed_ ? IDOK : IDCANCEL;
}

} // namespace dialogs
