// The tray icon: the shell record, the hidden window that receives the
// icon's mouse messages, and the hook on the owner form's window.
#include "clipboard-checker/win32/bk-tray-icon.h"

#include "clipboard-checker/win32/utility-strings.h"
#include "platform/components/win32/application.h"

#include <shellapi.h>

#include <cstring>

namespace lexitray {

using namespace components;

namespace {

constexpr UINT trayIconId = 2;
constexpr std::size_t tipSize = 64;
// Window properties of the hooked form: the component, and the procedure
// the hook replaced (kept on the window so that a hook left in place by a
// later subclasser still has somewhere to pass messages).
const char hookProperty[] = "BkTrayIconHook";
const char previousProperty[] = "BkTrayIconPrevious";

bool holdsOtherTrayIcon(const TComponent &container, const TComponent *self) {
  for (int i = 0; i < container.ComponentCount(); ++i) {
    TComponent *component = container.Components(i);
    if (component != self && dynamic_cast<TBkCustomTrayIcon *>(component))
      return true;
  }
  return false;
}

} // namespace

TBkCustomTrayIcon::TBkCustomTrayIcon(TComponent *owner)
    : TBkShellComponent(owner),
      window_([this](TMessage &message) { return TrayWndProc(message); }) {
  checkSingleInstance();
  buildDefaultMenu();
}

TBkCustomTrayIcon::~TBkCustomTrayIcon() {
  // A failed delete of the shell icon is of no consequence here.
  if (shown_)
    notifyShell(NIM_DELETE);
  shown_ = false;
  delete timer_;
  delete defaultMenu_;
  unhookOwner();
}

void TBkCustomTrayIcon::checkSingleInstance() {
  bool found = Owner() && holdsOtherTrayIcon(*Owner(), this);
  for (int i = 0; !found && i < Application->ComponentCount(); ++i)
    found = holdsOtherTrayIcon(*Application->Components(i), this);
  if (found)
    throw bkError<EBkTrayIconError>(sOneTrayIconOnly);
}

void TBkCustomTrayIcon::buildDefaultMenu() {
  defaultMenu_ = new TPopupMenu(this);
  auto *close = new TMenuItem(defaultMenu_);
  close->SetCaption(BkLoadStr(sTrayClose));
  close->OnClick = [](TObject *) { PostQuitMessage(0); };
  auto *restore = new TMenuItem(defaultMenu_);
  restore->SetCaption(BkLoadStr(sTrayRestore));
  restore->OnClick = [this](TObject *) { Restore(); };
  defaultMenu_->Items().Add(close);
  defaultMenu_->Items().Add(restore);
  popupMenu_ = defaultMenu_;
}

void TBkCustomTrayIcon::Loaded() {
  TBkShellComponent::Loaded();
  if (active_)
    AddIcon();
  if (!icon_.Empty()) {
    currentIcon_.Assign(icon_);
    UpdateIcon();
  } else if (images_) {
    SetImages(images_);
  }
}

void TBkCustomTrayIcon::Notification(TComponent *component, bool removing) {
  TBkShellComponent::Notification(component, removing);
  if (!removing)
    return;
  if (component == images_)
    images_ = nullptr;
  if (component == popupMenu_)
    popupMenu_ = nullptr;
  if (component == defaultMenu_)
    defaultMenu_ = nullptr;
  if (component == timer_)
    timer_ = nullptr;
}

TForm *TBkCustomTrayIcon::ownerForm() const { return dynamic_cast<TForm *>(Owner()); }

// ---- the shell icon

NOTIFYICONDATAA trayIconRecord(HWND window, HICON icon, const std::string &hint, bool showHint) {
  NOTIFYICONDATAA data;
  std::memset(&data, 0, sizeof data);
  // The first version of the record: what every shell understands.
  data.cbSize = NOTIFYICONDATAA_V1_SIZE;
  data.hWnd = window;
  data.uID = trayIconId;
  data.uFlags = NIF_MESSAGE | NIF_ICON | (showHint ? NIF_TIP : 0);
  data.uCallbackMessage = WM_TRAYICON;
  data.hIcon = icon;
  std::strncpy(data.szTip, hint.c_str(), tipSize - 1);
  return data;
}

bool TBkCustomTrayIcon::notifyShell(DWORD message) {
  HICON icon = currentIcon_.Handle();
  if (!icon)
    icon = reinterpret_cast<HICON>(GetClassLongPtrA(Application->Handle(), GCLP_HICON));
  if (!icon)
    icon = LoadIconA(nullptr, MAKEINTRESOURCEA(32512)); // IDI_APPLICATION
  NOTIFYICONDATAA data = trayIconRecord(Handle(), icon, hint_, showHint_);
  return Shell_NotifyIconA(message, &data) != FALSE;
}

void TBkCustomTrayIcon::AddIcon() {
  if (shown_)
    return;
  hookOwner();
  shown_ = notifyShell(NIM_ADD);
  if (!shown_)
    throw bkError<EBkTrayIconError>(sErrorAddingTrayIcon);
}

void TBkCustomTrayIcon::RemoveIcon() {
  if (!shown_)
    return;
  notifyShell(NIM_DELETE);
  shown_ = false;
}

void TBkCustomTrayIcon::modifyIcon() {
  if (!notifyShell(NIM_MODIFY))
    throw bkError<EBkTrayIconError>(sTrayIconError);
}

// An icon that is not in the tray has nothing to modify: the new icon is
// handed over when it is added.
void TBkCustomTrayIcon::UpdateIcon() {
  if (shown_)
    modifyIcon();
}

void TBkCustomTrayIcon::imageToCurrent(int index) {
  if (images_)
    images_->GetIcon(index, currentIcon_);
}

// ---- properties

void TBkCustomTrayIcon::SetActive(bool active) {
  active_ = active;
  if (active) {
    AddIcon();
    if (animateWhenActive_)
      SetAnimate(true);
    return;
  }
  if (animate_) {
    SetAnimate(false);
    animateWhenActive_ = true;
  }
  RemoveIcon();
}

void TBkCustomTrayIcon::SetAnimate(bool animate) {
  if (animate == animate_)
    return;
  animate_ = animate;
  if (!active_)
    return;
  animateWhenActive_ = animate;
  if (animate) {
    if (!timer_) {
      timer_ = new TTimer(this);
      timer_->OnTimer = [this](TObject *) { AnimateTick(); };
    }
    if (interval_ == 0)
      interval_ = 200;
    timer_->SetInterval(interval_);
    timer_->SetEnabled(true);
    return;
  }
  if (timer_)
    timer_->SetEnabled(false);
  if (!icon_.Empty())
    currentIcon_.Assign(icon_);
  else if (images_)
    imageToCurrent(imageIndex_);
  UpdateIcon();
}

void TBkCustomTrayIcon::SetHint(const std::string &hint) {
  if (hint == hint_)
    return;
  hint_ = hint;
  if (shown_ && showHint_)
    modifyIcon();
}

void TBkCustomTrayIcon::SetShowHint(bool show) {
  showHint_ = show;
  if (shown_)
    modifyIcon();
}

void TBkCustomTrayIcon::SetIcon(const TIcon &icon) {
  icon_.Assign(icon);
  if (!shown_)
    return;
  currentIcon_.Assign(icon_);
  UpdateIcon();
}

void TBkCustomTrayIcon::SetImages(TImageList *images) {
  images_ = images;
  if (Loading() || !icon_.Empty() || !images_)
    return;
  imageToCurrent(imageIndex_);
  UpdateIcon();
}

void TBkCustomTrayIcon::SetImageIndex(int index) {
  imageIndex_ = index;
  if (!shown_)
    return;
  if (!images_)
    throw bkError<EBkTrayIconError>(sImageListNotAssigned);
  imageToCurrent(imageIndex_);
  UpdateIcon();
}

void TBkCustomTrayIcon::SetInterval(unsigned interval) {
  interval_ = interval;
  if (timer_)
    timer_->SetInterval(interval_);
}

void TBkCustomTrayIcon::AnimateTick() {
  if (!images_ || !shown_ || images_->Count() == 0)
    return;
  if (frame_ >= images_->Count())
    frame_ = 0;
  imageToCurrent(frame_);
  UpdateIcon();
  frame_ = frame_ + 1 < images_->Count() ? frame_ + 1 : 0;
}

// ---- the hidden window

bool TBkCustomTrayIcon::TrayWndProc(TMessage &message) {
  // Only the icon's own callback carries mouse actions; other messages
  // whose lParam happens to look like one are not clicks.
  if (message.Msg == WM_TRAYICON && message.LParam >= WM_LBUTTONDOWN &&
      message.LParam <= WM_MBUTTONDBLCLK) {
    TShiftState shift = KeysToShiftState(message.WParam);
    switch (message.LParam) {
    case WM_LBUTTONDOWN:
      OnClick(this, mbLeft, shift);
      break;
    case WM_LBUTTONDBLCLK:
      DblClick(mbLeft, shift);
      break;
    case WM_RBUTTONDOWN:
      if (popupMenu_) {
        // The menu closes properly only when the program is in front.
        SetForegroundWindow(Application->Handle());
        Application->ProcessMessages();
        POINT cursor{};
        GetCursorPos(&cursor);
        popupMenu_->SetAutoPopup(false);
        popupMenu_->SetPopupComponent(ownerForm());
        popupMenu_->Popup(cursor.x, cursor.y);
      }
      break;
    case WM_RBUTTONDBLCLK:
      DblClick(mbRight, shift);
      break;
    case WM_MBUTTONDOWN:
      OnClick(this, mbMiddle, shift);
      break;
    case WM_MBUTTONDBLCLK:
      DblClick(mbMiddle, shift);
      break;
    }
  }
  if (message.Msg == WM_QUERYENDSESSION) {
    // Never the reason that Windows cannot shut down or log off.
    message.Result = 1;
    return true;
  }
  return message.Msg == WM_TRAYICON;
}

void TBkCustomTrayIcon::DblClick(TMouseButton button, TShiftState shift) {
  bool restoreApp = true;
  OnDblClick(this, button, shift, restoreApp);
  if (restoreApp)
    Restore();
}

void TBkCustomTrayIcon::Restore() {
  OnRestore(this);
  if (TForm *form = ownerForm()) {
    if (form->WindowState() == wsMinimized && startupCount_ >= 2)
      form->SetWindowState(wsNormal);
    form->Show();
    SetForegroundWindow(form->Handle());
  }
  HWND application = Application->Handle();
  ShowWindow(application, SW_SHOWNORMAL);
  Application->Restore();
  BringWindowToTop(application);
  if (hideOnRestore_)
    RemoveIcon();
}

// ---- the hook on the owner form

void TBkCustomTrayIcon::hookOwner() {
  TForm *form = ownerForm();
  if (!form || hookedWindow_)
    return;
  HWND window = form->Handle();
  previousProc_ = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(window, GWLP_WNDPROC));
  SetPropA(window, previousProperty, reinterpret_cast<HANDLE>(previousProc_));
  SetPropA(window, hookProperty, this);
  SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TBkCustomTrayIcon::FormHook));
  hookedWindow_ = window;
}

void TBkCustomTrayIcon::unhookOwner() {
  if (!hookedWindow_ || !IsWindow(hookedWindow_))
    return;
  RemovePropA(hookedWindow_, hookProperty);
  // Put the old procedure back only if nobody subclassed the window after
  // us; otherwise the hook stays and passes everything on by itself.
  auto current = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(hookedWindow_, GWLP_WNDPROC));
  if (current == &TBkCustomTrayIcon::FormHook) {
    SetWindowLongPtrA(hookedWindow_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previousProc_));
    RemovePropA(hookedWindow_, previousProperty);
  }
  hookedWindow_ = nullptr;
}

LRESULT CALLBACK TBkCustomTrayIcon::FormHook(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto *self = static_cast<TBkCustomTrayIcon *>(GetPropA(window, hookProperty));
  if (self)
    return self->formMessage(window, msg, wParam, lParam);
  auto previous = reinterpret_cast<WNDPROC>(GetPropA(window, previousProperty));
  if (msg == WM_NCDESTROY)
    RemovePropA(window, previousProperty);
  return previous ? CallWindowProcA(previous, window, msg, wParam, lParam)
                  : DefWindowProcA(window, msg, wParam, lParam);
}

LRESULT TBkCustomTrayIcon::formMessage(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  WNDPROC previous = previousProc_;
  if (msg == WM_NCDESTROY) {
    RemovePropA(window, hookProperty);
    RemovePropA(window, previousProperty);
    hookedWindow_ = nullptr;
    return CallWindowProcA(previous, window, msg, wParam, lParam);
  }
  // The form's own object is asked only while it still owns this window:
  // during its destruction it may already have let go of it.
  TForm *form = ownerForm();
  if (form && (!form->HandleAllocated() || form->Handle() != window))
    form = nullptr;
  auto hide = [&] {
    ShowWindow(Application->Handle(), SW_HIDE);
    if (form)
      form->Hide();
    else
      ShowWindow(window, SW_HIDE);
  };
  bool handled = CallGuarded<bool>(this, false, [&] {
    // A form that starts minimised goes straight to the tray.
    if (startupCount_ < 2 && msg == WM_WINDOWPOSCHANGED) {
      if (IsIconic(window)) {
        hide();
        ++startupCount_;
      } else {
        startupCount_ = 2;
      }
    }
    if (msg != WM_SYSCOMMAND)
      return false;
    if (wParam == SC_MINIMIZE)
      OnMinimize(this);
    if ((wParam == SC_MINIMIZE && minimizeToTray_) || (wParam == SC_CLOSE && closeToTray_)) {
      AddIcon();
      hide();
      return true;
    }
    return false;
  });
  if (handled)
    return 0;
  return CallWindowProcA(previous, window, msg, wParam, lParam);
}

} // namespace lexitray
