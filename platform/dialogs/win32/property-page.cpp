#include "platform/dialogs/win32/property-page.h"

#include "platform/dialogs/win32/module-resources.h"

namespace dialogs {

CPropertyPage::CPropertyPage(UINT templateId, UINT captionId)
    : Dialog(templateId, nullptr), captionId_(captionId) {}

HPROPSHEETPAGE CPropertyPage::createPageHandle() {
  PROPSHEETPAGEA page{};
  page.dwSize = sizeof page;
  page.dwFlags = PSP_DEFAULT | (captionId_ ? PSP_USETITLE : 0);
  page.hInstance = resourceModule();
  page.pszTemplate = MAKEINTRESOURCEA(templateId());
  page.pszTitle = captionId_ ? MAKEINTRESOURCEA(captionId_) : nullptr;
  page.pfnDlgProc = pageProc;
  page.lParam = reinterpret_cast<LPARAM>(this);
  return CreatePropertySheetPageA(&page);
}

void CPropertyPage::setModified(bool modified) {
  if (HWND sheet = sheetHandle())
    SendMessageA(sheet, modified ? PSM_CHANGED : PSM_UNCHANGED, reinterpret_cast<WPARAM>(handle()),
                 0);
}

bool CPropertyPage::onNotify(NMHDR *header, LRESULT &result) {
  if (header->hwndFrom != sheetHandle())
    return false;
  switch (header->code) {
  case PSN_SETACTIVE:
    result = OnSetActive() ? 0 : -1;
    return true;
  case PSN_KILLACTIVE:
    result = OnKillActive() ? FALSE : TRUE;
    return true;
  case PSN_APPLY:
    result = OnApply() ? PSNRET_NOERROR : PSNRET_INVALID_NOCHANGEPAGE;
    return true;
  case PSN_RESET:
    onReset();
    result = 0;
    return true;
  default:
    return false;
  }
}

INT_PTR CALLBACK CPropertyPage::pageProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  CPropertyPage *self = nullptr;
  if (message == WM_INITDIALOG) {
    self = reinterpret_cast<CPropertyPage *>(reinterpret_cast<PROPSHEETPAGEA *>(lParam)->lParam);
    self->attachHandle(window);
  } else {
    self = static_cast<CPropertyPage *>(fromHandle(window));
  }
  return handleDialogMessage(self, window, message, wParam, lParam);
}

} // namespace dialogs
