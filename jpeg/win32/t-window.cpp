// The shared dialog procedure and the dispatch of messages to operations.
#include "jpeg/win32/t-window.h"

namespace pixtune {

INT_PTR TWindow::RunModal(HWND parent, LPARAM user) {
  StartRecord start{this, user};
  return FinishModal(DialogBoxParamA(instance_, MAKEINTRESOURCEA(id_), parent, DialogProc,
                                     reinterpret_cast<LPARAM>(&start)));
}

INT_PTR TWindow::RunModalIndirect(const DLGTEMPLATE *dialogTemplate, HWND parent, LPARAM user) {
  StartRecord start{this, user};
  return FinishModal(DialogBoxIndirectParamA(instance_, dialogTemplate, parent, DialogProc,
                                             reinterpret_cast<LPARAM>(&start)));
}

HWND TWindow::CreateModeless(HWND parent, LPARAM user) {
  StartRecord start{this, user};
  handle_ = CreateDialogParamA(instance_, MAKEINTRESOURCEA(id_), parent, DialogProc,
                               reinterpret_cast<LPARAM>(&start));
  return handle_;
}

HWND TWindow::CreateModelessIndirect(const DLGTEMPLATE *dialogTemplate, HWND parent, LPARAM user) {
  StartRecord start{this, user};
  handle_ = CreateDialogIndirectParamA(instance_, dialogTemplate, parent, DialogProc,
                                       reinterpret_cast<LPARAM>(&start));
  return handle_;
}

// The window is gone once the modal call returns; a failure of a handler
// is thrown again here, outside the system's frames.
INT_PTR TWindow::FinishModal(INT_PTR result) {
  handle_ = nullptr;
  if (failure_) {
    std::exception_ptr failure = failure_;
    failure_ = nullptr;
    std::rethrow_exception(failure);
  }
  return result;
}

void TWindow::End(INT_PTR result) {
  result_ = result;
  EndDialog(handle_, result);
}

INT_PTR TWindow::OnClose() {
  EndDialog(handle_, result_);
  return 0;
}

INT_PTR CALLBACK TWindow::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG && lParam) {
    auto *start = reinterpret_cast<StartRecord *>(lParam);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(start->window));
    start->window->handle_ = window;
    lParam = start->user;
  }
  auto *self = reinterpret_cast<TWindow *>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (!self)
    return 0;
  if (message == WM_NCDESTROY) {
    // The object outlives its window (the main window re-creates its
    // pages); it must not keep a handle that is gone.
    SetWindowLongPtrA(window, GWLP_USERDATA, 0);
    if (self->handle_ == window)
      self->handle_ = nullptr;
    return 0;
  }
  try {
    return self->WindowProc(message, wParam, lParam);
  } catch (...) {
    self->Fail(std::current_exception());
    return 0;
  }
}

void TWindow::Fail(std::exception_ptr failure) {
  if (failureOwner_) {
    failureOwner_->Fail(failure);
    return;
  }
  if (!failure_)
    failure_ = failure;
  if (handle_)
    EndDialog(handle_, -1);
}

INT_PTR TWindow::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  int high = static_cast<short>(HIWORD(lParam));
  switch (message) {
  case WM_COMMAND:
    return OnCommand(HIWORD(wParam), wParam, lParam);
  case WM_LBUTTONDOWN:
    return OnLButtonDown(wParam, lParam, high);
  case WM_RBUTTONDOWN:
    return OnRButtonDown(wParam, lParam, high);
  case WM_LBUTTONUP:
    return OnLButtonUp(wParam, lParam, high);
  case WM_RBUTTONUP:
    return OnRButtonUp(wParam, lParam, high);
  case WM_MOUSEMOVE:
    return OnMouseMove(wParam, lParam, high);
  case WM_KEYDOWN:
    return OnKeyDown(wParam, lParam);
  case WM_KEYUP:
    return OnKeyUp(wParam, lParam);
  case WM_SETCURSOR:
    return OnSetCursor(wParam, lParam, high);
  case WM_TIMER:
    return OnTimer(wParam, lParam);
  case WM_HSCROLL:
    return OnHScroll(LOWORD(wParam), HIWORD(wParam), lParam);
  case WM_VSCROLL:
    return OnVScroll(LOWORD(wParam), HIWORD(wParam), lParam);
  case WM_PAINT:
    return OnPaint(wParam);
  case WM_ERASEBKGND:
    return OnEraseBackground(wParam);
  case WM_INITDIALOG:
    return OnInitDialog(wParam, lParam);
  case WM_NOTIFY:
    return OnNotify(wParam, lParam);
  case WM_CLOSE:
    return OnClose();
  case WM_DESTROY:
    return OnDestroy();
  case WM_HELP:
    return OnHelp(lParam);
  case WM_GETDLGCODE:
    return OnGetDialogCode();
  case WM_NCPAINT:
    return OnNcPaint(wParam);
  case WM_NCACTIVATE:
    return OnNcActivate(wParam);
  default:
    return 0;
  }
}

} // namespace pixtune
