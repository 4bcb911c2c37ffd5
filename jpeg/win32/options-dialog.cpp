// Options dialog: modem speed, preview delay, thumbnail name form, locks.
#include "jpeg/win32/options-dialog.h"

#include "jpeg/core/page-rules.h"
#include "jpeg/win32/load-res-string.h"
#include "jpeg/win32/resource.h"

#include <cstdlib>

namespace pixtune {

TOptionsDialog::TOptionsDialog(HINSTANCE instance, PluginOptions &working)
    : TWindow(IDD_OPTIONS, instance), working_(working) {}

bool TOptionsDialog::Run(HWND parent) {
  copy_ = working_;
  result_ = 0;
  INT_PTR answer = RunModal(parent, 0);
  if (answer != 1)
    return false;
  working_ = copy_;
  return true;
}

void TOptionsDialog::SetCheck(int id, bool checked) {
  CheckDlgButton(Handle(), id, checked ? BST_CHECKED : BST_UNCHECKED);
}

bool TOptionsDialog::Checked(int id) const {
  return IsDlgButtonChecked(Handle(), id) == BST_CHECKED;
}

INT_PTR TOptionsDialog::OnInitDialog(WPARAM, LPARAM) {
  initialising_ = true;
  HWND list = GetDlgItem(Handle(), IDC_MODEM_SPEED);
  SendMessageA(list, CB_RESETCONTENT, 0, 0);
  for (UINT id = IDS_MODEM_FIRST; id <= IDS_MODEM_LAST; ++id)
    SendMessageA(list, CB_ADDSTRING, 0,
                 reinterpret_cast<LPARAM>(LoadResString(Instance(), id).c_str()));
  SetCheck(IDC_AUTO_PREVIEW, copy_.automaticPreview);
  SetCheck(IDC_SAVE_CROP, copy_.saveCrop);
  SetCheck(IDC_PREFIX_FORM, copy_.prefixForm);
  SetCheck(IDC_POSTFIX_FORM, !copy_.prefixForm);
  SetCheck(IDC_LOCK_SLIDERS, copy_.lockSliders);
  SetDlgItemInt(Handle(), IDC_PREVIEW_DELAY, static_cast<UINT>(copy_.previewDelay), TRUE);
  EnableWindow(GetDlgItem(Handle(), IDC_PREVIEW_DELAY), copy_.automaticPreview);
  // A speed in no item (19200) shows the first item but is kept until
  // another item is picked.
  TString speed;
  speed.SetInt(copy_.modemSpeed);
  LRESULT item = SendMessageA(list, CB_FINDSTRING, static_cast<WPARAM>(-1),
                              reinterpret_cast<LPARAM>(speed.c_str()));
  SendMessageA(list, CB_SETCURSEL, item == CB_ERR ? 0 : item, 0);
  initialising_ = false;
  return 1;
}

INT_PTR TOptionsDialog::OnCommand(WORD code, WPARAM wParam, LPARAM) {
  int id = LOWORD(wParam);
  switch (id) {
  case IDOK:
    End(1);
    return 1;
  case IDCANCEL:
    End(0);
    return 1;
  case IDC_LOCK_SLIDERS:
    copy_.lockSliders = Checked(id);
    return 1;
  case IDC_SAVE_CROP:
    copy_.saveCrop = Checked(id);
    return 1;
  case IDC_AUTO_PREVIEW:
    copy_.automaticPreview = Checked(id);
    EnableWindow(GetDlgItem(Handle(), IDC_PREVIEW_DELAY), copy_.automaticPreview);
    return 1;
  case IDC_PREFIX_FORM:
  case IDC_POSTFIX_FORM:
    copy_.prefixForm = Checked(IDC_PREFIX_FORM);
    return 1;
  case IDC_PREVIEW_DELAY: {
    if (code != EN_CHANGE || initialising_)
      return 0;
    char text[32] = {};
    GetDlgItemTextA(Handle(), id, text, sizeof text);
    EditValue delay = PreviewDelayFromTyped(std::strtol(text, nullptr, 10));
    copy_.previewDelay = static_cast<std::int32_t>(delay.value);
    if (delay.rewrite)
      SetDlgItemInt(Handle(), id, static_cast<UINT>(delay.value), TRUE);
    return 1;
  }
  case IDC_MODEM_SPEED: {
    if (code != CBN_SELCHANGE)
      return 0;
    HWND list = GetDlgItem(Handle(), id);
    LRESULT item = SendMessageA(list, CB_GETCURSEL, 0, 0);
    char text[32] = {};
    if (item != CB_ERR && SendMessageA(list, CB_GETLBTEXTLEN, item, 0) < LRESULT(sizeof text))
      SendMessageA(list, CB_GETLBTEXT, item, reinterpret_cast<LPARAM>(text));
    long speed = std::strtol(text, nullptr, 10);
    if (speed > 0)
      copy_.modemSpeed = static_cast<std::int32_t>(speed);
    return 1;
  }
  case IDC_OPTIONS_HELP:
    WinHelpA(Handle(), LoadResString(Instance(), IDS_HELP_FILE).c_str(), HELP_CONTEXT, 4);
    return 1;
  default:
    return 0;
  }
}

INT_PTR TOptionsDialog::OnHelp(LPARAM lParam) {
  auto *info = reinterpret_cast<HELPINFO *>(lParam);
  if (!info || info->dwContextId == 0)
    return 0;
  return WinHelpA(Handle(), LoadResString(Instance(), IDS_HELP_FILE).c_str(), HELP_CONTEXTPOPUP,
                  info->dwContextId);
}

} // namespace pixtune
