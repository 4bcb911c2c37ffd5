// Forms: top-level windows of our own class, owned by the application
// window so that the application window alone carries the task-bar button.
#include "platform/components/win32/forms.h"

#include "platform/components/core/exception.h"
#include "platform/components/win32/application.h"
#include "platform/components/win32/menus.h"
#include "platform/components/win32/std-controls.h"

#include <vector>

namespace components {

namespace {

// Disables the program's other top-level windows while a modal form runs
// and enables them again on every way out.
class DisabledWindows {
public:
  explicit DisabledWindows(HWND keep) : keep_(keep) {
    EnumThreadWindows(GetCurrentThreadId(), &DisabledWindows::disable,
                      reinterpret_cast<LPARAM>(this));
  }
  ~DisabledWindows() {
    for (HWND window : windows_)
      if (IsWindow(window))
        EnableWindow(window, TRUE);
  }
  DisabledWindows(const DisabledWindows &) = delete;
  DisabledWindows &operator=(const DisabledWindows &) = delete;

private:
  static BOOL CALLBACK disable(HWND window, LPARAM self) {
    auto *disabled = reinterpret_cast<DisabledWindows *>(self);
    if (window == disabled->keep_ || !IsWindowVisible(window) || !IsWindowEnabled(window))
      return TRUE;
    try {
      disabled->windows_.push_back(window);
    } catch (...) {
      return FALSE; // out of memory: leave the rest enabled
    }
    EnableWindow(window, FALSE);
    return TRUE;
  }

  HWND keep_;
  std::vector<HWND> windows_;
};

} // namespace

TForm::TForm(TComponent *owner) : TWinControl(owner) {
  SetVisible(false);
  SetBounds(0, 0, 320, 240);
  if (!HandleAllocated())
    createHandle();
}

TForm::~TForm() {
  // Nothing may leave a destructor: a failing handler goes to the
  // application's handler.
  CallGuarded<int>(this, 0, [this] {
    OnDestroy(this);
    return 0;
  });
  if (HandleAllocated() && menu_)
    ::SetMenu(Handle(), nullptr); // the menu object frees its own menu
  Application->formDestroyed(this);
}

void TForm::CreateParams(TCreateParams &params) {
  params.className = "TForm";
  params.ownClass = true;
  params.style = WS_POPUP | WS_CLIPCHILDREN | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME |
                 WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
  params.exStyle = 0;
}

void TForm::applyStyles() {
  if (!HandleAllocated())
    return;
  DWORD style = WS_POPUP | WS_CLIPCHILDREN;
  DWORD exStyle = 0;
  switch (borderStyle_) {
  case bsNone:
    break;
  case bsSingle:
    style |= WS_CAPTION | WS_BORDER;
    break;
  case bsSizeable:
    style |= WS_CAPTION | WS_THICKFRAME;
    break;
  case bsDialog:
    style |= WS_CAPTION | DS_MODALFRAME;
    exStyle |= WS_EX_DLGMODALFRAME;
    break;
  case bsToolWindow:
    style |= WS_CAPTION;
    exStyle |= WS_EX_TOOLWINDOW;
    break;
  case bsSizeToolWin:
    style |= WS_CAPTION | WS_THICKFRAME;
    exStyle |= WS_EX_TOOLWINDOW;
    break;
  }
  if (borderStyle_ != bsNone && (borderIcons_ & biSystemMenu))
    style |= WS_SYSMENU;
  bool framed = borderStyle_ == bsSingle || borderStyle_ == bsSizeable;
  if (framed && (borderIcons_ & biMinimize))
    style |= WS_MINIMIZEBOX;
  if (framed && (borderIcons_ & biMaximize))
    style |= WS_MAXIMIZEBOX;
  if ((borderIcons_ & biHelp) && !(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX)))
    exStyle |= WS_EX_CONTEXTHELP;
  if (formStyle_ == fsStayOnTop)
    exStyle |= WS_EX_TOPMOST;
  HWND window = Handle();
  DWORD keep =
      static_cast<DWORD>(GetWindowLongPtrA(window, GWL_STYLE)) & (WS_VISIBLE | WS_DISABLED);
  SetWindowLongPtrA(window, GWL_STYLE, static_cast<LONG_PTR>(style | keep));
  SetWindowLongPtrA(window, GWL_EXSTYLE, static_cast<LONG_PTR>(exStyle));
  SetWindowPos(window, formStyle_ == fsStayOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
               SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TForm::SetBorderStyle(TFormBorderStyle style) {
  borderStyle_ = style;
  applyStyles();
}

void TForm::SetBorderIcons(TBorderIcons icons) {
  borderIcons_ = icons;
  applyStyles();
}

void TForm::SetFormStyle(TFormStyle style) {
  formStyle_ = style;
  applyStyles();
}

TWindowState TForm::WindowState() const {
  TForm *self = const_cast<TForm *>(this);
  if (IsIconic(self->Handle()))
    return wsMinimized;
  if (IsZoomed(self->Handle()))
    return wsMaximized;
  return wsNormal;
}

void TForm::SetWindowState(TWindowState state) {
  int command = state == wsMinimized   ? SW_MINIMIZE
                : state == wsMaximized ? SW_MAXIMIZE
                                       : SW_RESTORE;
  if (Visible() || state != wsNormal)
    ShowWindow(Handle(), command);
}

void TForm::SetClientWidth(int width) {
  RECT rect{0, 0, width, ClientHeight()};
  AdjustWindowRectEx(&rect, static_cast<DWORD>(GetWindowLongPtrA(Handle(), GWL_STYLE)),
                     menu_ != nullptr,
                     static_cast<DWORD>(GetWindowLongPtrA(Handle(), GWL_EXSTYLE)));
  SetWidth(rect.right - rect.left);
}

void TForm::SetClientHeight(int height) {
  RECT rect{0, 0, ClientWidth(), height};
  AdjustWindowRectEx(&rect, static_cast<DWORD>(GetWindowLongPtrA(Handle(), GWL_STYLE)),
                     menu_ != nullptr,
                     static_cast<DWORD>(GetWindowLongPtrA(Handle(), GWL_EXSTYLE)));
  SetHeight(rect.bottom - rect.top);
}

void TForm::SetMenu(TMainMenu *menu) {
  menu_ = menu;
  ::SetMenu(Handle(), menu ? menu->Handle() : nullptr);
}

void TForm::Notification(TComponent *component, bool removing) {
  TWinControl::Notification(component, removing);
  if (removing && component == menu_) {
    menu_ = nullptr;
    if (HandleAllocated())
      ::SetMenu(Handle(), nullptr);
  }
}

TCanvas &TForm::Canvas() {
  canvas_.Font().Assign(Font());
  return canvas_;
}

void TForm::SetMessageHandler(UINT msg, TMessageHandler handler) {
  messageHandlers_[msg] = std::move(handler);
}

void TForm::centre() {
  int screenWidth = GetSystemMetrics(SM_CXSCREEN), screenHeight = GetSystemMetrics(SM_CYSCREEN);
  SetBounds((screenWidth - Width()) / 2, (screenHeight - Height()) / 2, Width(), Height());
}

void TForm::visibleChanged() {
  if (Visible()) {
    if (!shownOnce_ && position_ == poScreenCenter)
      centre();
    shownOnce_ = true;
    OnShow(this);
    ShowWindow(Handle(), SW_SHOW);
    return;
  }
  OnHide(this);
  ShowWindow(Handle(), SW_HIDE);
}

bool TForm::CloseQuery() {
  bool canClose = true;
  OnCloseQuery(this, canClose);
  return canClose;
}

void TForm::Close() {
  if (modal_) {
    modalResult_ = mrCancel;
    return;
  }
  if (!CloseQuery())
    return;
  TCloseAction action = caHide;
  OnClose(this, action);
  if (action == caNone)
    return;
  if (Application->MainForm() == this) {
    Application->Terminate();
    return;
  }
  switch (action) {
  case caHide:
    Hide();
    break;
  case caMinimize:
    SetWindowState(wsMinimized);
    break;
  case caFree:
    Release();
    break;
  case caNone:
    break;
  }
}

void TForm::Release() {
  if (releasing_)
    return;
  releasing_ = true;
  PostMessageA(Handle(), CM_RELEASE, 0, 0);
}

void TForm::closeModal() {
  TCloseAction action = CloseQuery() ? caHide : caNone;
  if (action != caNone)
    OnClose(this, action);
  if (action == caNone)
    modalResult_ = mrNone;
  else if (action == caFree)
    Release();
}

int TForm::ShowModal() {
  if (Visible() || !Enabled() || modal_)
    throw Exception("Cannot make a visible window modal");
  if (GetCapture())
    ReleaseCapture();
  modalResult_ = mrNone;
  modal_ = true;
  struct ModalEnd {
    TForm &form;
    ~ModalEnd() {
      form.modal_ = false;
      if (form.HandleAllocated())
        form.Hide();
    }
  };
  HWND previouslyActive = GetActiveWindow();
  {
    DisabledWindows disabled(Handle());
    ModalEnd end{*this};
    Show();
    SetForegroundWindow(Handle());
    while (modalResult_ == mrNone) {
      Application->HandleMessage();
      // An ending application asks nothing more: the form closes as
      // cancelled, without its close query, so that every modal loop on
      // the way down ends in turn and the program's exit steps run.
      if (Application->Terminated()) {
        modalResult_ = mrCancel;
        break;
      }
      if (modalResult_ != mrNone)
        closeModal();
    }
  }
  if (previouslyActive && IsWindow(previouslyActive) && IsWindowVisible(previouslyActive))
    SetActiveWindow(previouslyActive);
  return modalResult_;
}

namespace {

TButton *findButton(TWinControl &parent, bool cancel) {
  for (int i = 0; i < parent.ControlCount(); ++i) {
    TControl *control = parent.Controls(i);
    if (!control->Visible() || !control->Enabled())
      continue;
    if (auto *button = dynamic_cast<TButton *>(control))
      if (cancel ? button->Cancel() : button->Default())
        return button;
    if (auto *container = dynamic_cast<TWinControl *>(control))
      if (TButton *button = findButton(*container, cancel))
        return button;
  }
  return nullptr;
}

} // namespace

bool TForm::pressButton(bool cancel) {
  TButton *button = findButton(*this, cancel);
  if (!button)
    return false;
  button->Click();
  return true;
}

// Help for the control the user asked about: its help context, or the
// first one set on the way up to the form.
void TForm::showHelp(HWND window) {
  TControl *control = FromHandle(window);
  while (control && control->HelpContext() == 0)
    control = control->Parent();
  int context = control ? control->HelpContext() : HelpContext();
  if (context != 0)
    Application->HelpContext(context);
}

void TForm::WndProc(TMessage &message) {
  auto handler = messageHandlers_.find(message.Msg);
  if (handler != messageHandlers_.end()) {
    handler->second(message);
    return;
  }
  switch (message.Msg) {
  case CM_RELEASE:
    // The last use of this object: it frees itself and its window here.
    delete this;
    return;
  case WM_CLOSE:
    Close();
    return;
  case WM_ENDSESSION:
    if (message.WParam)
      Application->endSession();
    break;
  case WM_ACTIVATE:
    if (LOWORD(message.WParam) == WA_INACTIVE)
      OnDeactivate(this);
    else
      OnActivate(this);
    break;
  case WM_COMMAND:
    // IDOK and IDCANCEL without a control are the keyboard's Enter and
    // Escape (menu commands are numbered from 100).
    if (message.LParam == 0 &&
        (LOWORD(message.WParam) == IDOK || LOWORD(message.WParam) == IDCANCEL) &&
        pressButton(LOWORD(message.WParam) == IDCANCEL))
      return;
    break;
  case WM_HELP:
    showHelp(static_cast<HWND>(reinterpret_cast<HELPINFO *>(message.LParam)->hItemHandle));
    message.Result = TRUE;
    return;
  case WM_INITMENUPOPUP:
    if (menu_)
      menu_->initPopup(reinterpret_cast<HMENU>(message.WParam));
    break;
  }
  TWinControl::WndProc(message);
}

} // namespace components
