// Option page: shared controls and the preview cycle.
#include "jpeg/win32/option-page.h"

#include "jpeg/win32/load-res-string.h"
#include "jpeg/win32/resource.h"
#include "jpeg/win32/tooltips.h"

#include <commctrl.h>

#include <climits>

namespace pixtune {

TOptionPage::TOptionPage(const PageRecord &record)
    : TWindow(record.templateId, record.instance), params_(record.params), options_(record.options),
      bitmap_(record.bitmap), pane_(record.pane), host_(record.host),
      timer_(PreviewTimerId, static_cast<UINT>(record.options.previewDelay)), progress_(*this),
      readouts_(record.instance) {
  lockIcons_[0].reset(static_cast<HICON>(
      LoadImageA(Instance(), MAKEINTRESOURCEA(IDI_LOCK_LINKED), IMAGE_ICON, 0, 0, 0)));
  lockIcons_[1].reset(static_cast<HICON>(
      LoadImageA(Instance(), MAKEINTRESOURCEA(IDI_LOCK_UNLINKED), IMAGE_ICON, 0, 0, 0)));
  wait_ = LoadCursorA(nullptr, IDC_WAIT);
}

TOptionPage::~TOptionPage() {
  if (Handle())
    DestroyWindow(Handle());
}

void TOptionPage::Attach(HWND mainWindow, HWND tabs, UINT captionId) {
  mainWindow_ = mainWindow;
  HWND page = CreateModeless(mainWindow, 0);
  if (!page)
    return;
  TString caption = LoadResString(Instance(), captionId);
  TCITEMA item{};
  item.mask = TCIF_TEXT | TCIF_IMAGE | TCIF_PARAM;
  item.pszText = const_cast<char *>(caption.c_str());
  item.iImage = -1;
  item.lParam = reinterpret_cast<LPARAM>(this);
  int count = static_cast<int>(SendMessageA(tabs, TCM_GETITEMCOUNT, 0, 0));
  SendMessageA(tabs, TCM_INSERTITEMA, static_cast<WPARAM>(count), reinterpret_cast<LPARAM>(&item));
  RECT display{};
  GetClientRect(tabs, &display);
  SendMessageA(tabs, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&display));
  MapWindowPoints(tabs, mainWindow, reinterpret_cast<POINT *>(&display), 2);
  SetWindowPos(page, HWND_TOP, display.left, display.top, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
  ShowWindow(page, SW_SHOW);
}

void TOptionPage::SetNumber(int id, long value) {
  SetDlgItemInt(Handle(), id, static_cast<UINT>(value), value < 0);
}

bool TOptionPage::AskToLeave(OptionPageKind kind, int box, bool boxChecked) {
  int question = LeaveQuestion(kind, options_.thumbnailMode);
  if (!question)
    return true;
  bool yes = MessageBoxA(Handle(), LoadResString(Instance(), question).c_str(),
                         LoadResString(Instance(), IDS_CONFIRM).c_str(),
                         MB_ICONQUESTION | MB_YESNO) == IDYES;
  if (!AnswerLeaveQuestion(yes, options_.thumbnailMode))
    return false;
  SetChecked(box, boxChecked);
  return true;
}

bool TOptionPage::Checked(int id) const { return IsDlgButtonChecked(Handle(), id) == BST_CHECKED; }

void TOptionPage::SetChecked(int id, bool checked) {
  CheckDlgButton(Handle(), id, checked ? BST_CHECKED : BST_UNCHECKED);
}

INT_PTR TOptionPage::OnInitDialog(WPARAM, LPARAM) {
  initialising_ = true;
  HWND page = Handle();
  RECT client{};
  GetClientRect(page, &client);
  readouts_.CreateAndPlace(page, RECT{0, 0, client.right, 18});

  for (int slider : {IDC_LUMINANCE_SLIDER, IDC_CHROMINANCE_SLIDER}) {
    SendDlgItemMessageA(page, slider, TBM_SETRANGE, TRUE, MAKELPARAM(0, 255));
    SendDlgItemMessageA(page, slider, TBM_SETLINESIZE, 0, 1);
    SendDlgItemMessageA(page, slider, TBM_SETPAGESIZE, 0, 16);
    SendDlgItemMessageA(page, slider, TBM_SETTICFREQ, 16, 0);
  }
  SendDlgItemMessageA(page, IDC_CHROMINANCE_SLIDER, TBM_SETPOS, TRUE, params_.chrominance);
  SendDlgItemMessageA(page, IDC_LUMINANCE_SLIDER, TBM_SETPOS, TRUE, params_.luminance);
  SetNumber(IDC_CHROMINANCE_EDIT, params_.chrominance);
  SetNumber(IDC_LUMINANCE_EDIT, params_.luminance);
  SetNumber(IDC_SHARPEN_EDIT, params_.sharpen);
  SetChecked(IDC_PROGRESSIVE, params_.progressive != 0);
  SendDlgItemMessageA(page, IDC_SHARPEN_SPIN, UDM_SETRANGE32, 0, 100);
  SendDlgItemMessageA(page, IDC_SHARPEN_SPIN, UDM_SETBUDDY,
                      reinterpret_cast<WPARAM>(GetDlgItem(page, IDC_SHARPEN_EDIT)), 0);
  if (bitmap_.BitsPerPixel() != 24)
    for (int id : {IDC_CHROMINANCE_SLIDER, IDC_CHROMINANCE_EDIT, IDC_CHROMINANCE_LABEL})
      EnableWindow(GetDlgItem(page, id), FALSE);
  ApplyLock();
  timer_.SetOwner(page);
  timer_.SetInterval(static_cast<UINT>(options_.previewDelay));
  tooltip_ = CreateTooltips(page);
  AddTooltipControl(tooltip_, page, Instance(), GetDlgItem(page, IDC_LOCK_LEVELS), IDS_TIP_LOCK);
  InitPage();
  initialising_ = false;
  return 1;
}

void TOptionPage::ApplyLock() {
  HWND icon = GetDlgItem(Handle(), IDC_LOCK_LEVELS);
  bool independent = options_.independentChrominance != 0;
  SendMessageA(icon, STM_SETICON, reinterpret_cast<WPARAM>(lockIcons_[independent ? 1 : 0].get()),
               0);
  LONG_PTR exStyle =
      GetWindowLongPtrA(icon, GWL_EXSTYLE) & ~(WS_EX_STATICEDGE | WS_EX_DLGMODALFRAME);
  SetWindowLongPtrA(icon, GWL_EXSTYLE,
                    exStyle | (independent ? WS_EX_DLGMODALFRAME : WS_EX_STATICEDGE));
  SetWindowPos(icon, nullptr, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  if (!independent && params_.chrominance != params_.luminance)
    SetNumber(IDC_CHROMINANCE_EDIT, params_.luminance);
}

void TOptionPage::SyncFromOther(const TOptionPage &) {
  bool was = initialising_;
  initialising_ = true;
  ApplyLock();
  initialising_ = was;
}

void TOptionPage::LevelsChanged() {
  if (initialising_)
    return;
  SendMessageA(mainWindow_, MessageLevelsChanged, reinterpret_cast<WPARAM>(this), 0);
  timer_.Start();
}

// A level typed or set: one beyond the slider's range becomes its end
// (the edit shows it), the slider follows, and a linked edit takes the
// same value.
void TOptionPage::LevelEdited(int editId) {
  if (rewriting_)
    return;
  bool luminance = editId == IDC_LUMINANCE_EDIT;
  BOOL read = FALSE;
  UINT typed = GetDlgItemInt(Handle(), editId, &read, FALSE);
  // Digits too many for a number are beyond the range as well.
  if (!read && GetWindowTextLengthA(GetDlgItem(Handle(), editId)) > 0)
    typed = UINT_MAX;
  EditValue value = LevelFromTyped(typed);
  auto level = static_cast<std::uint8_t>(value.value);
  (luminance ? params_.luminance : params_.chrominance) = level;
  if (value.rewrite) {
    rewriting_ = true;
    SetNumber(editId, level);
    rewriting_ = false;
  }
  SendDlgItemMessageA(Handle(), luminance ? IDC_LUMINANCE_SLIDER : IDC_CHROMINANCE_SLIDER,
                      TBM_SETPOS, TRUE, level);
  if (Linked() && !echoing_ && !initialising_) {
    echoing_ = true;
    SetNumber(luminance ? IDC_CHROMINANCE_EDIT : IDC_LUMINANCE_EDIT, level);
    echoing_ = false;
  }
  LevelsChanged();
}

INT_PTR TOptionPage::OnCommand(WORD code, WPARAM wParam, LPARAM) {
  int id = LOWORD(wParam);
  switch (id) {
  case IDC_LUMINANCE_EDIT:
  case IDC_CHROMINANCE_EDIT:
    if (code == EN_CHANGE)
      LevelEdited(id);
    return 1;
  case IDC_PROGRESSIVE:
    if (code == BN_CLICKED) {
      params_.progressive = Checked(IDC_PROGRESSIVE) ? 1 : 0;
      timer_.Start();
    }
    return 1;
  case IDC_SHARPEN_EDIT:
    if (code == EN_CHANGE && !rewriting_) {
      BOOL read = FALSE;
      EditValue value =
          SharpenFromTyped(static_cast<long>(GetDlgItemInt(Handle(), id, &read, TRUE)));
      params_.sharpen = static_cast<std::int16_t>(value.value);
      if (value.rewrite) {
        rewriting_ = true;
        SetNumber(id, static_cast<long>(value.value));
        rewriting_ = false;
      }
      if (!initialising_)
        timer_.Start();
    }
    return 1;
  case IDC_LOCK_LEVELS:
    if (code == STN_CLICKED && !initialising_) {
      options_.independentChrominance = options_.independentChrominance ? 0 : 1;
      ApplyLock();
      HWND icon = GetDlgItem(Handle(), IDC_LOCK_LEVELS);
      ShowWindow(icon, SW_HIDE);
      ShowWindow(icon, SW_SHOW);
      SendMessageA(mainWindow_, MessageLevelsChanged, reinterpret_cast<WPARAM>(this), 0);
    }
    return 1;
  default:
    return 0;
  }
}

INT_PTR TOptionPage::OnHScroll(WORD code, WORD position, LPARAM control) {
  HWND slider = reinterpret_cast<HWND>(control);
  int id = GetDlgCtrlID(slider);
  if (id != IDC_LUMINANCE_SLIDER && id != IDC_CHROMINANCE_SLIDER)
    return 0;
  long level = code == TB_THUMBTRACK || code == TB_THUMBPOSITION
                   ? position
                   : static_cast<long>(SendMessageA(slider, TBM_GETPOS, 0, 0));
  SetNumber(id == IDC_LUMINANCE_SLIDER ? IDC_LUMINANCE_EDIT : IDC_CHROMINANCE_EDIT, level);
  return 1;
}

INT_PTR TOptionPage::OnTimer(WPARAM id, LPARAM) {
  if (id != PreviewTimerId)
    return 0;
  timer_.Kill();
  SendMessageA(Handle(), MessageCompressNow, 0, 0);
  return 1;
}

void TOptionPage::RunPreview() {
  pane_.SetShow(false);
  timer_.Kill();
  ShowWindow(GetDlgItem(Handle(), IDC_PAGE_PROGRESS), SW_SHOW);
  ShowWindow(readouts_.Handle(), SW_HIDE);
  HCURSOR previous = SetCursor(wait_);
  // The bar and the readouts come back also when the compression fails.
  struct Restore {
    TOptionPage &page;
    HCURSOR cursor;
    ~Restore() {
      SetCursor(cursor);
      ShowWindow(GetDlgItem(page.Handle(), IDC_PAGE_PROGRESS), SW_HIDE);
      ShowWindow(page.readouts_.Handle(), SW_SHOW);
    }
  } restore{*this, previous};
  Compress();
  PostMessageA(mainWindow_, MessagePreviewReady, 0, 0);
}

void TOptionPage::SetReadouts(int width, int height, int bitsPerPixel,
                              std::uint32_t compressedBytes) {
  readWidth_ = width;
  readHeight_ = height;
  readBits_ = bitsPerPixel;
  readCompressed_ = compressedBytes;
  readouts_.SetTexts(MakeReadouts(static_cast<std::uint32_t>(width),
                                  static_cast<std::uint32_t>(height),
                                  static_cast<std::uint32_t>(bitsPerPixel), compressedBytes,
                                  static_cast<std::uint32_t>(options_.modemSpeed)));
}

void TOptionPage::RefreshReadouts() {
  if (readCompressed_)
    SetReadouts(readWidth_, readHeight_, readBits_, readCompressed_);
}

INT_PTR TOptionPage::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == MessageCompressNow) {
    RunPreview();
    return 1;
  }
  return TWindow::WindowProc(message, wParam, lParam);
}

} // namespace pixtune
