// The main form's make-up: its controls, menus and components with the
// values the program runs with, and the handlers that are not part of the
// check road (menus, tray icon, about box, help).
#include "clipboard-checker/win32/main-form.h"

#include "clipboard-checker/win32/about-box.h"
#include "clipboard-checker/win32/lexitray-icon.h"
#include "clipboard-checker/win32/persist-platform.h"
#include "platform/components/win32/application.h"
#include "spelling/win32/control-parsers.h"
#include "spelling/win32/dialogs/spell-windows.h"

#include <windows.h>

#include <richedit.h>
#include <shellapi.h>

namespace lexitray {

using namespace components;

namespace {

// Where "Download Latest" leads.
const char DownloadPage[] = "https://www.ovelmark.com/lexitray/download.html";

TToolButton *addToolButton(TToolBar *bar, TForm *owner, const std::string &caption,
                           TToolButtonStyle style) {
  auto *button = new TToolButton(owner);
  button->SetStyle(style);
  button->SetCaption(caption);
  button->SetParent(bar);
  return button;
}

TMenuItem *addMenuItem(TPopupMenu *menu, TForm *owner, const char *name, const char *caption) {
  auto *item = new TMenuItem(owner);
  item->SetName(name);
  item->SetCaption(caption);
  menu->Items().Add(item);
  return item;
}

} // namespace

TForm1::TForm1(TComponent *owner) : TForm(owner) {
  SetName("Form1");
  SetCaption("Lexitray");
  SetBorderStyle(bsSizeToolWin);
  Font().SetName("MS Sans Serif");
  Font().SetHeight(-11);
  SetBounds(326, 116, 366, 242);
  buildMenus();
  buildControls();
  buildTrayIcon();
  buildSpelling();
  buildPersist();
  OnShow = [this](TObject *sender) { FormShow(sender); };
  SetMessageHandler(WM_CHECKREQUEST, [this](TMessage &message) { WMCheckRequest(message); });
  FormCreate();
}

TForm1::~TForm1() {
  // The destroy event runs while this form is still whole: the persistence
  // component saves first (it hooked the event), then the form leaves the
  // viewer chain.
  CallGuarded<int>(this, 0, [this] {
    OnDestroy(this);
    return 0;
  });
  OnDestroy.Clear();
}

void TForm1::buildMenus() {
  PopupMenu1 = new TPopupMenu(this);
  PopupMenu1->SetName("PopupMenu1");
  Con1 = addMenuItem(PopupMenu1, this, "Con1", "Contents...");
  About1 = addMenuItem(PopupMenu1, this, "About1", "About...");
  DownloadLatest1 = addMenuItem(PopupMenu1, this, "DownloadLatest1", "Download Latest");
  PopupMenu3 = new TPopupMenu(this);
  PopupMenu3->SetName("PopupMenu3");
  Spelling1 = addMenuItem(PopupMenu3, this, "Spelling1", "Spelling Options...");
  SingleclickRestore1 =
      addMenuItem(PopupMenu3, this, "SingleclickRestore1", "Single-click Restore");
  ImmediateChecking1 = addMenuItem(PopupMenu3, this, "ImmediateChecking1", "Immediate Checking");
  Con1->OnClick = [this](TObject *sender) { Con1Click(sender); };
  About1->OnClick = [this](TObject *sender) { About1Click(sender); };
  DownloadLatest1->OnClick = [this](TObject *sender) { DownloadLatest1Click(sender); };
  Spelling1->OnClick = [this](TObject *sender) { Spelling1Click(sender); };
  SingleclickRestore1->OnClick = [this](TObject *sender) { SingleclickRestore1Click(sender); };
  ImmediateChecking1->OnClick = [this](TObject *sender) { ImmediateChecking1Click(sender); };
}

void TForm1::buildControls() {
  ToolBar1 = new TToolBar(this);
  ToolBar1->SetName("ToolBar1");
  ToolBar1->SetFlat(true);
  ToolBar1->SetShowCaptions(true);
  ToolBar1->SetHeight(28);
  ToolBar1->SetParent(this);
  ToolBar1->SetButtonWidth(73);
  ToolBar1->SetButtonHeight(21);
  ToolButton3 = addToolButton(ToolBar1, this, "Check...", tbsButton);
  ToolButton1 = addToolButton(ToolBar1, this, "Preferences...", tbsDropDown);
  ToolButton2 = addToolButton(ToolBar1, this, "Help", tbsDropDown);
  ToolButton1->SetDropdownMenu(PopupMenu3);
  ToolButton2->SetDropdownMenu(PopupMenu1);
  ToolButton3->OnClick = [this](TObject *sender) { ToolButton3Click(sender); };
  ToolButton1->OnClick = [this](TObject *sender) { ToolButton1Click(sender); };
  ToolButton2->OnClick = [this](TObject *sender) { ToolButton2Click(sender); };

  StatusBar1 = new TStatusBar(this);
  StatusBar1->SetName("StatusBar1");
  StatusBar1->SetHeight(15);
  StatusBar1->SetSimplePanel(true);
  StatusBar1->SetParent(this);

  memo1 = new TRichEdit(this);
  memo1->SetName("memo1");
  memo1->SetPlainText(true);
  memo1->SetHideSelection(false);
  memo1->SetWantReturns(false);
  memo1->SetAlign(alClient);
  memo1->SetParent(this);
  // A rich edit takes no more than 32767 characters by default, pasted or
  // replaced; the clipboard's text must come back whole, however long.
  SendMessageA(memo1->Handle(), EM_EXLIMITTEXT, 0, 0x7FFFFFFE);
}

void TForm1::buildTrayIcon() {
  HICON icon = makeLexitrayIcon();
  SendMessageA(Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
  SendMessageA(Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
  BkTrayIcon1 = new TBkTrayIcon(this);
  BkTrayIcon1->SetName("BkTrayIcon1");
  BkTrayIcon1->SetHint("Check the spelling of the clipboard");
  BkTrayIcon1->SetAnimate(true);
  TIcon trayIcon;
  trayIcon.AssignHandle(icon);
  BkTrayIcon1->SetIcon(trayIcon);
  BkTrayIcon1->OnClick = [this](TObject *sender, TMouseButton button, TShiftState shift) {
    BkTrayIcon1Click(sender, button, shift);
  };
  BkTrayIcon1->OnRestore = [this](TObject *sender) { BkTrayIcon1Restore(sender); };
  BkTrayIcon1->Loaded();
}

void TForm1::buildPersist() {
  kfPersist1 = createPersist(this);
  kfPersist1->SetName("kfPersist1");
  kfPersist1->BeginLoading();
  kfPersist1->SetStorageType(kfpRegistry);
  kfPersist1->SetRegistryKey("Software\\Ovelmark\\lexitray\\1.0");
  kfPersist1->SetOptions(kfpOption(kfpAutoSave) | kfpOption(kfpAutoFileName));
  kfPersist1->SetFileStorageDirectory(kfpApplication);
  for (const char *line :
       {"(TForm);Height;1;(TForm)_Height;;1;0;1;;", "(TForm);Width;1;(TForm)_Width;;1;0;1;;",
        "(TForm);Top;1;(TForm)_Top;;1;0;1;;", "(TForm);Left;1;(TForm)_Left;;1;0;1;;",
        "SingleclickRestore1;Checked;3;SingleclickRestore1_Checked;;1;0;1;;"})
    kfPersist1->Items().Add(line);
  // The destroy handler is in place before the component takes it over.
  OnDestroy = [this](TObject *sender) { FormDestroy(sender); };
  kfPersist1->Loaded();
}

void TForm1::buildSpelling() {
  spelling::InstallSpellWindows(spelling::DefaultSpellPlatform());
  spelling::InstallControlParsers(spelling::DefaultSpellPlatform());
  VerbaSpell1 = new spelling::TVerbaSpell(this);
  VerbaSpell1->SetName("VerbaSpell1");
  VerbaSpell1->BeginLoading();
  VerbaSpell1->SetConfigInAppDir(true);
  VerbaSpell1->SetConfigFileName("VERBA.CFG");
  VerbaSpell1->SetConfigKey("verba");
  VerbaSpell1->SetConfigAvailable(true);
  VerbaSpell1->SetAlwaysActive(false);
  VerbaSpell1->SetMaxSuggestions(50);
  VerbaSpell1->SetMaxUndo(20);
  VerbaSpell1->AutoSelectFirst = false;
  VerbaSpell1->SelectionBehavior = spelling::sbAvoid;
  VerbaSpell1->InitialPosition = spelling::ipAvoidControl;
  VerbaSpell1->WaitForCompletion = true;
  VerbaSpell1->IgnorePrefix = "'";
  VerbaSpell1->IgnoreSuffix = "';'s";
  VerbaSpell1->HelpEnabled = true;
  VerbaSpell1->HelpSeparate = true;
  VerbaSpell1->HelpFile = "vqspell.hlp";
  VerbaSpell1->BackgroundSuggestions = true;
  VerbaSpell1->DialogHourGlass = false;
  VerbaSpell1->SetDefaultMain("American.dct");
  VerbaSpell1->SetDefaultUser("default.udt");
  VerbaSpell1->SetDefaultOptions(
      spelling::TSpellOptions{spelling::soInternet, spelling::soAutoSuggest,
                              spelling::soPrimaryOnly, spelling::soRecheck, spelling::soRepeated});
  VerbaSpell1->VisibleOptions =
      spelling::TSpellOptions{spelling::soUpcase, spelling::soNumbers, spelling::soHTML,
                              spelling::soInternet, spelling::soRecheck};
  VerbaSpell1->WordCountVisible = false;
  // The built-in table is the one language, "English (US)".
  VerbaSpell1->Languages().Clear();
  VerbaSpell1->Languages().Add(spelling::EnglishLanguage());
  VerbaSpell1->SetLanguageIndex(0);
  VerbaSpell1->EndShowMessage = spelling::emNever;
  VerbaSpell1->OnCheckComplete = [this](TObject *sender) { VerbaSpell1CheckComplete(sender); };
  VerbaSpell1->Loaded();
}

void TForm1::FormCreate() {
  viewer_ = std::make_unique<ClipboardViewer>(*this);
  viewer_->OnChange = [this](TObject *sender) { WMDrawClipboard(sender); };
  clipboard_ = &Clipboard();
  firstShowPending_ = true;
  kfPersist1->PostLoad();
  // The stored bounds and check mark are in place before the first show.
  Application->ProcessMessages();
}

void TForm1::FormDestroy(TObject *) {
  if (viewer_)
    viewer_->Leave();
}

void TForm1::ToolButton1Click(TObject *sender) { popUpAt(sender, *PopupMenu3); }

void TForm1::ToolButton2Click(TObject *sender) { popUpAt(sender, *PopupMenu1); }

void TForm1::popUpAt(TObject *sender, TPopupMenu &menu) {
  auto *button = dynamic_cast<TToolButton *>(sender);
  if (!button)
    return;
  menu.Popup(Left() + button->Left() + 4, Top() + button->Top() + 2 * button->Height() + 3);
}

void TForm1::Con1Click(TObject *) { Application->HelpCommand(HELP_CONTENTS, 0); }

void TForm1::About1Click(TObject *) {
  if (aboutBox_)
    aboutBox_->ShowModal();
}

void TForm1::DownloadLatest1Click(TObject *) {
  ShellExecuteA(nullptr, nullptr, DownloadPage, nullptr, nullptr, SW_SHOWNORMAL);
}

void TForm1::Spelling1Click(TObject *) { VerbaSpell1->Setup(); }

void TForm1::SingleclickRestore1Click(TObject *) {
  SingleclickRestore1->SetChecked(!SingleclickRestore1->Checked());
}

void TForm1::ImmediateChecking1Click(TObject *) {
  ImmediateChecking1->SetChecked(!ImmediateChecking1->Checked());
}

void TForm1::BkTrayIcon1Click(TObject *, TMouseButton button, TShiftState) {
  if (button == mbLeft && SingleclickRestore1->Checked())
    BkTrayIcon1->Restore();
}

} // namespace lexitray
