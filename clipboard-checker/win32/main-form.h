// Lexitray's main form: a small window on the clipboard-viewer chain with
// a plain-text rich edit that takes the clipboard's text, the spelling
// component that checks it, the tray icon and the persistence component
// that keeps the window's bounds. The check road starts on the first show,
// on every restore from the tray and from the "Check..." button; the
// corrected text goes back onto the clipboard.
#ifndef CLIPBOARD_CHECKER_WIN32_MAIN_FORM_H
#define CLIPBOARD_CHECKER_WIN32_MAIN_FORM_H

#include "clipboard-checker/core/kf-persist.h"
#include "clipboard-checker/win32/bk-tray-icon.h"
#include "clipboard-checker/win32/clipboard-viewer.h"
#include "platform/components/win32/clipboard.h"
#include "platform/components/win32/common-controls.h"
#include "platform/components/win32/forms.h"
#include "platform/components/win32/menus.h"
#include "platform/components/win32/std-controls.h"
#include "spelling/core/verba-spell.h"

#include <windows.h>

#include <memory>

namespace lexitray {

// The form's request to check the clipboard, always posted to itself so
// that a check starts from the message loop.
constexpr UINT WM_CHECKREQUEST = WM_USER + 42;

class TaboutBox;

class TForm1 : public components::TForm {
public:
  explicit TForm1(components::TComponent *owner);
  ~TForm1() override;

  // The box "About..." shows; the program makes it after the form.
  void SetAboutBox(TaboutBox *box) { aboutBox_ = box; }

  components::TToolBar *ToolBar1;
  components::TToolButton *ToolButton3; // "Check..."
  components::TToolButton *ToolButton1; // "Preferences..."
  components::TToolButton *ToolButton2; // "Help"
  components::TRichEdit *memo1;
  components::TStatusBar *StatusBar1;
  components::TPopupMenu *PopupMenu1;
  components::TPopupMenu *PopupMenu3;
  components::TMenuItem *Con1;
  components::TMenuItem *About1;
  components::TMenuItem *DownloadLatest1;
  components::TMenuItem *Spelling1;
  components::TMenuItem *SingleclickRestore1;
  components::TMenuItem *ImmediateChecking1;
  TBkTrayIcon *BkTrayIcon1;
  TkfPersist *kfPersist1;
  spelling::TVerbaSpell *VerbaSpell1;

  // The check road: the clipboard's text into the edit, through the
  // spelling component and back.
  void CheckClipboard();

private:
  void buildControls();
  void buildMenus();
  void buildTrayIcon();
  void buildPersist();
  void buildSpelling();

  void FormCreate();
  void FormShow(components::TObject *sender);
  void FormDestroy(components::TObject *sender);
  void WMCheckRequest(components::TMessage &message);
  void ToolButton3Click(components::TObject *sender);
  void ToolButton1Click(components::TObject *sender);
  void ToolButton2Click(components::TObject *sender);
  void popUpAt(components::TObject *sender, components::TPopupMenu &menu);
  void Con1Click(components::TObject *sender);
  void About1Click(components::TObject *sender);
  void DownloadLatest1Click(components::TObject *sender);
  void Spelling1Click(components::TObject *sender);
  void SingleclickRestore1Click(components::TObject *sender);
  void ImmediateChecking1Click(components::TObject *sender);
  void BkTrayIcon1Click(components::TObject *sender, components::TMouseButton button,
                        components::TShiftState shift);
  void BkTrayIcon1Restore(components::TObject *sender);
  void VerbaSpell1CheckComplete(components::TObject *sender);
  void WMDrawClipboard(components::TObject *sender);
  void setStatus(const std::string &text);

  std::unique_ptr<ClipboardViewer> viewer_; // the next viewer lives in it
  components::TClipboard *clipboard_ = nullptr;
  bool firstShowPending_ = false;
  TaboutBox *aboutBox_ = nullptr;
  // The check road is running (from its start to its end, message pumping
  // included): a second request meanwhile is dropped, so the edit is
  // never re-filled under the running parser.
  bool checking_ = false;
  // The clipboard's sequence number right after our own write-back: the
  // change notification of that write starts no check, however late the
  // system delivers it.
  DWORD ownWriteSequence_ = 0;
  // The clipboard's text began with a byte-order mark, left out of the
  // check and put back with the corrected text.
  bool byteOrderMark_ = false;
};

} // namespace lexitray

#endif
