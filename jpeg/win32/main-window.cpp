// The export window: start, layout, tabs, commands, preview cycle, full
// screen and the re-create loop.
#include "jpeg/win32/main-window.h"

#include "jpeg/core/host-pixel-order.h"
#include "jpeg/core/pane-geometry.h"
#include "jpeg/win32/dialog-template.h"
#include "jpeg/win32/load-res-string.h"
#include "jpeg/win32/resource.h"
#include "jpeg/win32/tooltips.h"

#include <commctrl.h>
#include <windowsx.h>

namespace pixtune {

namespace {

RECT childRect(HWND parent, HWND child) {
  RECT rect{};
  GetWindowRect(child, &rect);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT *>(&rect), 2);
  return rect;
}

void moveChild(HWND parent, int id, int x, int y) {
  HWND child = GetDlgItem(parent, id);
  if (child)
    SetWindowPos(child, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

} // namespace

TMainWindow::TMainWindow(std::uint8_t *dib, std::size_t dibBytes, const HostDrawing &host,
                         HINSTANCE instance, TSettings &settings)
    : TWindow(IDD_MAIN_WINDOW, instance), bitmap_(dib, dibBytes), host_(host), settings_(settings),
      options_(settings.options), imageParams_(settings.imageParams),
      thumbnailParams_(settings.thumbnailParams), expansion_(settings.thumbnailExpansion.c_str()),
      pane_(instance), optionsDialog_(instance, options_) {
  pane_.SetHostDrawing(host_);
  pane_.SetFailureOwner(this);
  imagePage_.reset(new TImagePage(
      PageRecord{IDD_IMAGE_PAGE, instance, imageParams_, options_, bitmap_, pane_, host_},
      dibBytes));
  thumbnailPage_.reset(new TThumbnailPage(
      PageRecord{IDD_THUMBNAIL_PAGE, instance, thumbnailParams_, options_, bitmap_, pane_, host_},
      imageParams_, expansion_));
  imagePage_->SetFailureOwner(this);
  thumbnailPage_->SetFailureOwner(this);
  arrow_ = LoadCursorA(nullptr, IDC_ARROW);
  sizeAll_ = LoadCursorA(nullptr, IDC_SIZEALL);
  fullScreenIcon_.reset(static_cast<HICON>(
      LoadImageA(instance, MAKEINTRESOURCEA(IDI_FULL_SCREEN), IMAGE_ICON, 16, 16, 0)));
  collapseIcon_.reset(static_cast<HICON>(
      LoadImageA(instance, MAKEINTRESOURCEA(IDI_COLLAPSE), IMAGE_ICON, 16, 16, 0)));
}

// The pane forgets the pages before they go.
TMainWindow::~TMainWindow() { pane_.Show(nullptr); }

INT_PTR TMainWindow::RunModal(HWND parent) {
  INITCOMMONCONTROLSEX classes{sizeof classes, ICC_TAB_CLASSES | ICC_BAR_CLASSES |
                                                   ICC_UPDOWN_CLASS | ICC_PROGRESS_CLASS};
  InitCommonControlsEx(&classes);
  HostPixelOrder hostOrder(bitmap_, host_.knownHost);
  INT_PTR result = 0;
  for (;;) {
    fullScreen_ = fullScreenRequest_;
    collapsed_ = false;
    PatchedTemplate dialog =
        fullScreen_
            ? PatchedTemplate(Instance(), Id(), WS_CHILD | DS_CONTROL, WS_POPUP, WS_EX_TOOLWINDOW)
            : PatchedTemplate(Instance(), Id(), WS_POPUP, WS_CHILD | DS_CONTROL, WS_EX_TOOLWINDOW);
    INT_PTR answer;
    try {
      answer = RunModalIndirect(dialog.Get(), parent, result);
    } catch (...) {
      if (pane_.Handle())
        DestroyWindow(pane_.Handle());
      throw;
    }
    // The full-screen pane outlives the window it held.
    if (pane_.Handle())
      DestroyWindow(pane_.Handle());
    if (answer == -1)
      return -1;
    result = answer;
    if (answer != MainWindowRecreate)
      break;
  }
  if (result == MainWindowOk) {
    settings_.options = options_;
    settings_.imageParams = imageParams_;
    settings_.thumbnailParams = thumbnailParams_;
    settings_.thumbnailExpansion = expansion_.c_str();
  }
  return result;
}

TOptionPage &TMainWindow::CurrentPage() {
  return currentTab_ == 0 ? static_cast<TOptionPage &>(*imagePage_) : *thumbnailPage_;
}

TOptionPage &TMainWindow::OtherPage(const TOptionPage &page) {
  return &page == imagePage_.get() ? static_cast<TOptionPage &>(*thumbnailPage_) : *imagePage_;
}

INT_PTR TMainWindow::OnInitDialog(WPARAM, LPARAM user) {
  HWND window = Handle();
  SendDlgItemMessageA(window, IDC_FULL_SCREEN, BM_SETIMAGE, IMAGE_ICON,
                      reinterpret_cast<LPARAM>(fullScreenIcon_.get()));
  SendDlgItemMessageA(window, IDC_COLLAPSE, BM_SETIMAGE, IMAGE_ICON,
                      reinterpret_cast<LPARAM>(collapseIcon_.get()));
  tooltip_ = CreateTooltips(window);
  AddTooltipControl(tooltip_, window, Instance(), GetDlgItem(window, IDC_FULL_SCREEN),
                    IDS_TIP_FULL_SCREEN);
  AddTooltipControl(tooltip_, window, Instance(), GetDlgItem(window, IDC_COLLAPSE),
                    IDS_TIP_COLLAPSE);

  RECT frame = childRect(window, GetDlgItem(window, IDC_PICTURE_FRAME));
  if (fullScreen_) {
    if (frame.bottom != 0)
      ShiftChildren(-(frame.bottom - frame.top));
    HWND pane = pane_.CreatePopup(GetParent(window));
    SetParent(window, pane);
    ShowWindow(GetDlgItem(window, IDC_COLLAPSE), SW_SHOW);
  } else {
    if (frame.top != 0)
      ShiftChildren(frame.bottom - frame.top);
    frame = childRect(window, GetDlgItem(window, IDC_PICTURE_FRAME));
    HWND pane = pane_.CreateChild(window);
    SetWindowPos(pane, HWND_BOTTOM, frame.left, frame.top, frame.right - frame.left,
                 frame.bottom - frame.top, SWP_NOACTIVATE);
    ShowWindow(pane, SW_SHOW);
    ShowWindow(GetDlgItem(window, IDC_COLLAPSE), SW_HIDE);
  }

  HWND tabs = GetDlgItem(window, IDC_TABS);
  SetWindowSubclass(tabs, TabsProc, 0, reinterpret_cast<DWORD_PTR>(this));
  imagePage_->Attach(window, tabs, IDS_IMAGE_OPTIONS);
  thumbnailPage_->Attach(window, tabs, IDS_THUMBNAIL_OPTIONS);
  currentTab_ = InitialTab(currentTab_, options_.thumbnailMode);
  SendMessageA(tabs, TCM_SETCURSEL, static_cast<WPARAM>(currentTab_), 0);
  ShowWindow(OtherPage(CurrentPage()).Handle(), SW_HIDE);
  ShowWindow(CurrentPage().Handle(), SW_SHOW);
  pane_.Show(&CurrentPage());
  Layout();
  if (fullScreen_)
    PlaceInsidePane();

  SetFocus(tabs);
  if (user != MainWindowRecreate) {
    SendMessageA(imagePage_->Handle(), MessageCompressNow, 0, 0);
    SendMessageA(thumbnailPage_->Handle(), MessageCompressNow, 0, 0);
  }
  RECT paneClient{};
  GetClientRect(pane_.Handle(), &paneClient);
  for (TOptionPage *page : {static_cast<TOptionPage *>(imagePage_.get()),
                            static_cast<TOptionPage *>(thumbnailPage_.get())}) {
    const auto *header = reinterpret_cast<const BITMAPINFOHEADER *>(page->Reconstruction());
    int x = 0, y = 0;
    if (header)
      CentringOffsets(header->biWidth, header->biHeight, paneClient.right, paneClient.bottom, x, y);
    page->SaveScroll(x, y);
  }
  int x = 0, y = 0;
  CurrentPage().SavedScroll(x, y);
  pane_.SetScrollOffsets(x, y);
  pane_.Show(&CurrentPage());
  return 0; // the focus is set
}

// Every direct child moves; the pages come later and are placed by the tabs.
void TMainWindow::ShiftChildren(int dy) {
  for (HWND child = GetWindow(Handle(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    RECT rect = childRect(Handle(), child);
    SetWindowPos(child, nullptr, rect.left, rect.top + dy, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

void TMainWindow::Layout() {
  HWND window = Handle();
  HWND tabs = GetDlgItem(window, IDC_TABS);
  HWND page = CurrentPage().Handle();
  if (!page)
    return;
  RECT needed{};
  GetWindowRect(page, &needed);
  SendMessageA(tabs, TCM_ADJUSTRECT, TRUE, reinterpret_cast<LPARAM>(&needed));
  MapWindowPoints(nullptr, window, reinterpret_cast<POINT *>(&needed), 2);
  SetWindowPos(tabs, nullptr, needed.left, needed.top, needed.right - needed.left,
               needed.bottom - needed.top, SWP_NOZORDER | SWP_NOACTIVATE);
  int y = needed.bottom + 5;
  for (int id : {IDOK, IDCANCEL, IDC_OPTIONS, IDC_MAIN_HELP, IDC_PREVIEW_NOW, IDC_FULL_SCREEN})
    moveChild(window, id, childRect(window, GetDlgItem(window, id)).left, y);
  RECT outer{}, tabOuter{}, ok{};
  GetWindowRect(window, &outer);
  GetWindowRect(tabs, &tabOuter);
  GetWindowRect(GetDlgItem(window, IDOK), &ok);
  SetWindowPos(window, nullptr, 0, 0, tabOuter.right - outer.left + 3, ok.bottom - outer.top + 5,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// The saved position, moved so that the window lies inside the pane.
void TMainWindow::PlaceInsidePane() {
  RECT client{}, outer{};
  GetClientRect(pane_.Handle(), &client);
  GetWindowRect(Handle(), &outer);
  int width = outer.right - outer.left, height = outer.bottom - outer.top;
  int x = settings_.windowX, y = settings_.windowY;
  if (x < client.left)
    x = client.left;
  if (x + width > client.right)
    x = client.right - width;
  if (y < client.top)
    y = client.top;
  if (y + height > client.bottom)
    y = client.bottom - height;
  SetWindowPos(Handle(), HWND_TOP, x, y, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
  settings_.windowX = x;
  settings_.windowY = y;
}

void TMainWindow::ShowPreview() {
  pane_.Show(&CurrentPage());
  pane_.SetShow(true);
}

void TMainWindow::SyncPages(TOptionPage *sender) {
  if (sender == imagePage_.get() || sender == thumbnailPage_.get())
    OtherPage(*sender).SyncFromOther(*sender);
}

INT_PTR TMainWindow::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == MessagePreviewReady) {
    ShowPreview();
    return 1;
  }
  if (message == MessageLevelsChanged) {
    SyncPages(reinterpret_cast<TOptionPage *>(wParam));
    return 1;
  }
  return TWindow::WindowProc(message, wParam, lParam);
}

INT_PTR TMainWindow::OnCommand(WORD, WPARAM wParam, LPARAM) {
  int id = LOWORD(wParam);
  if (collapsed_ && id != IDC_COLLAPSE)
    return 1;
  switch (id) {
  case IDOK:
    End(MainWindowOk);
    return 1;
  case IDCANCEL:
    End(MainWindowCancel);
    return 1;
  case IDC_PREVIEW_NOW:
    PostMessageA(CurrentPage().Handle(), MessageCompressNow, 0, 0);
    return 1;
  case IDC_MAIN_HELP:
    WinHelpA(Handle(), LoadResString(Instance(), IDS_HELP_FILE).c_str(), HELP_INDEX, 0);
    return 1;
  case IDC_FULL_SCREEN:
    fullScreenRequest_ = !fullScreenRequest_;
    End(MainWindowRecreate);
    return 1;
  case IDC_COLLAPSE:
    if (fullScreen_) {
      if (collapsed_)
        Restore();
      else
        Collapse();
    }
    return 1;
  case IDC_OPTIONS:
    if (optionsDialog_.Run(Handle())) {
      thumbnailPage_->SyncFromOther(*imagePage_);
      imagePage_->SyncFromOther(*thumbnailPage_);
      thumbnailPage_->RefreshReadouts();
      imagePage_->RefreshReadouts();
    }
    return 1;
  default:
    return 0;
  }
}

INT_PTR TMainWindow::OnNotify(WPARAM, LPARAM lParam) {
  const auto *header = reinterpret_cast<const NMHDR *>(lParam);
  if (header->idFrom != IDC_TABS)
    return 0;
  if (header->code == TCN_SELCHANGING) {
    TOptionPage &page = CurrentPage();
    bool leave = page.MayLeave();
    if (leave) {
      ShowWindow(page.Handle(), SW_HIDE);
      int x = 0, y = 0;
      pane_.ScrollOffsets(x, y);
      page.SaveScroll(x, y);
    }
    SetWindowLongPtrA(Handle(), DWLP_MSGRESULT, leave ? FALSE : TRUE);
    return 1;
  }
  if (header->code == TCN_SELCHANGE) {
    currentTab_ = static_cast<int>(SendMessageA(header->hwndFrom, TCM_GETCURSEL, 0, 0));
    TOptionPage &page = CurrentPage();
    page.Refresh();
    ShowWindow(page.Handle(), SW_SHOW);
    pane_.Show(&page);
    int x = 0, y = 0;
    page.SavedScroll(x, y);
    pane_.SetScrollOffsets(x, y);
    Layout();
    return 1;
  }
  return 0;
}

INT_PTR TMainWindow::OnClose() {
  if (!collapsed_)
    End(MainWindowCancel);
  return 1;
}

INT_PTR TMainWindow::OnDestroy() {
  RemoveWindowSubclass(GetDlgItem(Handle(), IDC_TABS), TabsProc, 0);
  tooltip_ = nullptr;
  moving_ = false;
  return 0;
}

INT_PTR TMainWindow::OnHelp(LPARAM lParam) {
  const auto *info = reinterpret_cast<const HELPINFO *>(lParam);
  if (!info || info->dwContextId == 0)
    return 0;
  BOOL shown = WinHelpA(Handle(), LoadResString(Instance(), IDS_HELP_FILE).c_str(),
                        HELP_CONTEXTPOPUP, info->dwContextId);
  SetWindowLongPtrA(Handle(), DWLP_MSGRESULT, shown);
  return 1;
}

// Full screen: the window is dragged by its background, and by the tab
// control away from its tabs. The pointer's path is followed in screen
// terms, from the points the messages carry, since the window moves under
// it.
void TMainWindow::BeginMove(HWND from, LPARAM point) {
  moveFrom_ = POINT{GET_X_LPARAM(point), GET_Y_LPARAM(point)};
  ClientToScreen(from, &moveFrom_);
  moving_ = true;
  SetCapture(Handle());
}

INT_PTR TMainWindow::OnLButtonDown(WPARAM, LPARAM lParam, int) {
  if (!fullScreen_)
    return 0;
  BeginMove(Handle(), lParam);
  return 1;
}

INT_PTR TMainWindow::OnMouseMove(WPARAM, LPARAM lParam, int) {
  if (!moving_)
    return 0;
  POINT now{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  ClientToScreen(Handle(), &now);
  RECT rect = childRect(GetParent(Handle()), Handle());
  int x = rect.left + now.x - moveFrom_.x, y = rect.top + now.y - moveFrom_.y;
  moveFrom_ = now;
  SetWindowPos(Handle(), nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  settings_.windowX = x;
  settings_.windowY = y;
  return 1;
}

INT_PTR TMainWindow::OnLButtonUp(WPARAM, LPARAM, int) {
  if (!moving_)
    return 0;
  moving_ = false;
  ReleaseCapture();
  return 1;
}

// A press on the tab control where no tab is starts the move; every other
// message is the control's own.
LRESULT CALLBACK TMainWindow::TabsProc(HWND tabs, UINT message, WPARAM wParam, LPARAM lParam,
                                       UINT_PTR, DWORD_PTR self) {
  auto *window = reinterpret_cast<TMainWindow *>(self);
  if (message == WM_LBUTTONDOWN && window->fullScreen_) {
    TCHITTESTINFO hit{{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}, 0};
    if (SendMessageA(tabs, TCM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)) == -1) {
      window->BeginMove(tabs, lParam);
      return 0;
    }
  }
  if (message == WM_SETCURSOR && window->fullScreen_ && LOWORD(lParam) == HTCLIENT) {
    POINT at{};
    GetCursorPos(&at);
    ScreenToClient(tabs, &at);
    TCHITTESTINFO hit{at, 0};
    if (SendMessageA(tabs, TCM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)) == -1) {
      SetCursor(window->sizeAll_);
      return TRUE;
    }
  }
  return DefSubclassProc(tabs, message, wParam, lParam);
}

INT_PTR TMainWindow::OnSetCursor(WPARAM wParam, LPARAM lParam, int) {
  if (reinterpret_cast<HWND>(wParam) != Handle() || LOWORD(lParam) != HTCLIENT)
    return 0;
  SetCursor(fullScreen_ ? sizeAll_ : arrow_);
  SetWindowLongPtrA(Handle(), DWLP_MSGRESULT, TRUE);
  return 1;
}

namespace {

const int collapsedHidden[] = {IDC_TABS,        IDOK,        IDCANCEL,       IDC_MAIN_HELP,
                               IDC_FULL_SCREEN, IDC_OPTIONS, IDC_PREVIEW_NOW};

} // namespace

// Collapsed, only the collapse button shows, in a window just large enough
// for it (the same margin on every side).
void TMainWindow::Collapse() {
  HWND window = Handle();
  ShowWindow(window, SW_HIDE);
  for (int id : collapsedHidden)
    ShowWindow(GetDlgItem(window, id), SW_HIDE);
  ShowWindow(CurrentPage().Handle(), SW_HIDE);
  RECT position = childRect(GetParent(window), window);
  normalPosition_ = POINT{position.left, position.top};
  RECT anchor = childRect(window, GetDlgItem(window, IDC_COLLAPSED_ANCHOR));
  moveChild(window, IDC_COLLAPSE, anchor.left, anchor.top);
  RECT size{0, 0, anchor.right + anchor.left, anchor.bottom + anchor.top};
  AdjustWindowRectEx(&size, static_cast<DWORD>(GetWindowLongPtrA(window, GWL_STYLE)), FALSE,
                     static_cast<DWORD>(GetWindowLongPtrA(window, GWL_EXSTYLE)));
  SetWindowPos(window, nullptr, collapsedPosition_.x, collapsedPosition_.y, size.right - size.left,
               size.bottom - size.top, SWP_NOZORDER | SWP_NOACTIVATE);
  collapsed_ = true;
  ShowWindow(window, SW_SHOW);
}

void TMainWindow::Restore() {
  HWND window = Handle();
  ShowWindow(window, SW_HIDE);
  for (int id : collapsedHidden)
    ShowWindow(GetDlgItem(window, id), SW_SHOW);
  ShowWindow(CurrentPage().Handle(), SW_SHOW);
  RECT position = childRect(GetParent(window), window);
  collapsedPosition_ = POINT{position.left, position.top};
  RECT anchor = childRect(window, GetDlgItem(window, IDC_RESTORED_ANCHOR));
  moveChild(window, IDC_COLLAPSE, anchor.left, anchor.top);
  collapsed_ = false;
  Layout();
  SetWindowPos(window, nullptr, normalPosition_.x, normalPosition_.y, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  ShowWindow(window, SW_SHOW);
}

} // namespace pixtune
