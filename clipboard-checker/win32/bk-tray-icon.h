// The notification-area icon component. TBkCustomTrayIcon holds all the
// behaviour and publishes nothing; TBkTrayIcon publishes it. The icon turns
// mouse actions into events, offers a pop-up menu ("&Close", "&Restore"
// unless replaced), and hooks its owner form's window so that the form's
// close (and, if wished, minimise) command hides the form and the
// application's task-bar button instead. Restore brings both back. One per
// application.
#ifndef CLIPBOARD_CHECKER_WIN32_BK_TRAY_ICON_H
#define CLIPBOARD_CHECKER_WIN32_BK_TRAY_ICON_H

#include "clipboard-checker/win32/bk-shell-component.h"
#include "platform/components/win32/controls.h"
#include "platform/components/win32/forms.h"
#include "platform/components/win32/icons.h"
#include "platform/components/win32/menus.h"
#include "platform/components/win32/utility.h"

#include <windows.h>

#include <shellapi.h>

#include <memory>
#include <string>

namespace lexitray {

// The shell's callback message for the icon (WM_USER + 767).
constexpr UINT WM_TRAYICON = WM_USER + 767;

using TTrayClickEvent =
    components::Event<components::TObject *, components::TMouseButton, components::TShiftState>;
using TTrayDblClickEvent = components::Event<components::TObject *, components::TMouseButton,
                                             components::TShiftState, bool &>;

// The record the shell is given for the icon: the first version of
// NOTIFYICONDATA (88 bytes in 32-bit code), icon identifier 2, the callback
// message above, the hint cut to 63 characters and sent only when shown.
NOTIFYICONDATAA trayIconRecord(HWND window, HICON icon, const std::string &hint, bool showHint);

class TBkCustomTrayIcon : public TBkShellComponent {
public:
  // owner is the form to hook. Raises EBkTrayIconError 133 when the
  // application already has a tray icon.
  explicit TBkCustomTrayIcon(components::TComponent *owner);
  ~TBkCustomTrayIcon() override;

  // Adds the icon when Active, then applies Icon (or Images).
  void Loaded() override;
  // Shows the owner form and the application again (OnRestore first).
  void Restore();
  // The hidden window the shell sends the icon's mouse messages to.
  HWND Handle() const { return window_.Handle(); }

protected:
  bool Active() const { return active_; }
  void SetActive(bool active);
  bool Animate() const { return animate_; }
  void SetAnimate(bool animate);
  bool CloseToTray() const { return closeToTray_; }
  void SetCloseToTray(bool value) { closeToTray_ = value; }
  bool HideOnRestore() const { return hideOnRestore_; }
  void SetHideOnRestore(bool value) { hideOnRestore_ = value; }
  const std::string &Hint() const { return hint_; }
  void SetHint(const std::string &hint);
  components::TIcon &Icon() { return icon_; }
  void SetIcon(const components::TIcon &icon);
  components::TImageList *Images() const { return images_; }
  void SetImages(components::TImageList *images);
  int ImageIndex() const { return imageIndex_; }
  void SetImageIndex(int index);
  unsigned Interval() const { return interval_; }
  void SetInterval(unsigned interval);
  bool MinimizeToTray() const { return minimizeToTray_; }
  void SetMinimizeToTray(bool value) { minimizeToTray_ = value; }
  components::TPopupMenu *PopupMenu() const { return popupMenu_; }
  void SetPopupMenu(components::TPopupMenu *menu) { popupMenu_ = menu; }
  bool ShowHint() const { return showHint_; }
  void SetShowHint(bool show);
  void Notification(components::TComponent *component, bool removing) override;

  TTrayClickEvent OnClick;
  TTrayDblClickEvent OnDblClick;
  components::TNotifyEvent OnMinimize;
  components::TNotifyEvent OnRestore;

private:
  void checkSingleInstance();
  void buildDefaultMenu();
  void AddIcon();
  void RemoveIcon();
  void UpdateIcon();
  void modifyIcon();
  bool notifyShell(DWORD message);
  void imageToCurrent(int index);
  void AnimateTick();
  bool TrayWndProc(components::TMessage &message);
  void DblClick(components::TMouseButton button, components::TShiftState shift);
  void hookOwner();
  void unhookOwner();
  static LRESULT CALLBACK FormHook(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
  LRESULT formMessage(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
  components::TForm *ownerForm() const;

  bool active_ = true;
  bool animate_ = false;
  bool closeToTray_ = true;
  bool hideOnRestore_ = false;
  std::string hint_;
  components::TIcon icon_;
  components::TImageList *images_ = nullptr;
  int imageIndex_ = 0;
  unsigned interval_ = 250;
  bool minimizeToTray_ = false;
  components::TPopupMenu *popupMenu_ = nullptr;
  bool showHint_ = true;

  bool shown_ = false;                            // the shell holds the icon
  components::TIcon currentIcon_;                 // what the shell is given
  components::TPopupMenu *defaultMenu_ = nullptr; // owned as a component
  components::TUtilityWindow window_;
  HWND hookedWindow_ = nullptr;         // the owner window while hooked
  WNDPROC previousProc_ = nullptr;      // its procedure before the hook
  components::TTimer *timer_ = nullptr; // owned as a component
  int frame_ = 0;
  bool animateWhenActive_ = false; // animation was on when the icon went away
  int startupCount_ = 0;           // 2 once the form has been shown normally
};

class TBkTrayIcon : public TBkCustomTrayIcon {
public:
  using TBkCustomTrayIcon::Active;
  using TBkCustomTrayIcon::Animate;
  using TBkCustomTrayIcon::CloseToTray;
  using TBkCustomTrayIcon::HideOnRestore;
  using TBkCustomTrayIcon::Hint;
  using TBkCustomTrayIcon::Icon;
  using TBkCustomTrayIcon::ImageIndex;
  using TBkCustomTrayIcon::Images;
  using TBkCustomTrayIcon::Interval;
  using TBkCustomTrayIcon::MinimizeToTray;
  using TBkCustomTrayIcon::OnClick;
  using TBkCustomTrayIcon::OnDblClick;
  using TBkCustomTrayIcon::OnMinimize;
  using TBkCustomTrayIcon::OnRestore;
  using TBkCustomTrayIcon::PopupMenu;
  using TBkCustomTrayIcon::SetActive;
  using TBkCustomTrayIcon::SetAnimate;
  using TBkCustomTrayIcon::SetCloseToTray;
  using TBkCustomTrayIcon::SetHideOnRestore;
  using TBkCustomTrayIcon::SetHint;
  using TBkCustomTrayIcon::SetIcon;
  using TBkCustomTrayIcon::SetImageIndex;
  using TBkCustomTrayIcon::SetImages;
  using TBkCustomTrayIcon::SetInterval;
  using TBkCustomTrayIcon::SetMinimizeToTray;
  using TBkCustomTrayIcon::SetPopupMenu;
  using TBkCustomTrayIcon::SetShowHint;
  using TBkCustomTrayIcon::ShowHint;
  using TBkCustomTrayIcon::TBkCustomTrayIcon;
};

} // namespace lexitray

#endif
