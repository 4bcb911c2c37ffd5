#include "platform/dialogs/win32/dialog.h"

#include "platform/dialogs/win32/modal-loop.h"
#include "platform/dialogs/win32/module-resources.h"

#include <exception>

namespace dialogs {

Dialog::~Dialog() {
  if (HWND window = handle()) {
    detachHandle();
    DestroyWindow(window);
  }
}

HWND Dialog::createWindow() {
  HMODULE module = resourceModule();
  HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(templateId_), MAKEINTRESOURCEA(5));
  HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
  auto *dialogTemplate = loaded ? static_cast<const DLGTEMPLATE *>(LockResource(loaded)) : nullptr;
  if (!dialogTemplate)
    return nullptr;
  return CreateDialogIndirectParamA(module, dialogTemplate, parent_, dialogProc,
                                    reinterpret_cast<LPARAM>(this));
}

INT_PTR Dialog::doModal() {
  modal_ = true;
  ended_ = false;
  result_ = -1;
  HWND window = createWindow();
  if (!window) {
    modal_ = false;
    return -1;
  }
  if (!ended_)
    ShowWindow(window, SW_SHOW);
  ModalLoop loop(
      window, parent_, [window](MSG &message) { return IsDialogMessageA(window, &message) != 0; },
      [this] { return ended_ || !handle(); });
  try {
    loop.run();
  } catch (...) {
    if (handle())
      DestroyWindow(handle());
    modal_ = false;
    throw;
  }
  if (handle())
    DestroyWindow(handle());
  modal_ = false;
  return result_;
}

bool Dialog::create() {
  modal_ = false;
  HWND window = createWindow();
  if (window)
    ShowWindow(window, SW_SHOW);
  return window != nullptr;
}

void Dialog::endDialog(INT_PTR result) {
  result_ = result;
  ended_ = true;
  if (!modal_ && handle())
    DestroyWindow(handle());
  else if (handle())
    ShowWindow(handle(), SW_HIDE);
}

bool Dialog::onCommand(WORD id, WORD, HWND) {
  if (id == IDOK) {
    OnOK();
    return true;
  }
  if (id == IDCANCEL) {
    onCancel();
    return true;
  }
  return false;
}

bool Dialog::onNotify(NMHDR *, LRESULT &) { return false; }

bool Dialog::onMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT &result) {
  switch (message) {
  case WM_INITDIALOG:
    result = OnInitDialog();
    return true;
  case WM_COMMAND:
    if (onCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam))) {
      result = 0;
      return true;
    }
    return false;
  case WM_NOTIFY:
    return onNotify(reinterpret_cast<NMHDR *>(lParam), result);
  default:
    return false;
  }
}

INT_PTR Dialog::handleDialogMessage(Dialog *self, HWND window, UINT message, WPARAM wParam,
                                    LPARAM lParam) {
  if (!self)
    return FALSE;
  LRESULT result = 0;
  bool handled = false;
  try {
    handled = self->dispatch(message, wParam, lParam, result);
  } catch (...) {
    ModalLoop::recordFailure(std::current_exception());
    handled = true;
    result = 0;
  }
  if (message == WM_NCDESTROY) {
    self->detachHandle();
    self->onFinalMessage();
    return FALSE;
  }
  if (!handled)
    return FALSE;
  switch (message) {
  case WM_INITDIALOG:
  case WM_CTLCOLORMSGBOX:
  case WM_CTLCOLOREDIT:
  case WM_CTLCOLORLISTBOX:
  case WM_CTLCOLORBTN:
  case WM_CTLCOLORDLG:
  case WM_CTLCOLORSCROLLBAR:
  case WM_CTLCOLORSTATIC:
  case WM_COMPAREITEM:
  case WM_VKEYTOITEM:
  case WM_CHARTOITEM:
  case WM_QUERYDRAGICON:
    return static_cast<INT_PTR>(result);
  default:
    SetWindowLongPtrA(window, DWLP_MSGRESULT, result);
    return TRUE;
  }
}

INT_PTR CALLBACK Dialog::dialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  Dialog *self = nullptr;
  if (message == WM_INITDIALOG) {
    self = reinterpret_cast<Dialog *>(lParam);
    self->attachHandle(window);
  } else {
    self = static_cast<Dialog *>(fromHandle(window));
  }
  return handleDialogMessage(self, window, message, wParam, lParam);
}

} // namespace dialogs
