// Controls under Wine: change events on programmatic and user changes,
// edit texts and lines with 8-bit characters, list and combo boxes, radio
// groups, status bar panels, progress bar, page control, tool bar and
// menus, each driven through its window messages.
#include "platform/components/core/exception.h"
#include "platform/components/core/string-list.h"
#include "platform/components/win32/application.h"
#include "platform/components/win32/common-controls.h"
#include "platform/components/win32/forms.h"
#include "platform/components/win32/menus.h"
#include "platform/components/win32/std-controls.h"
#include "platform/components/win32/tests/win32-test-support.h"
#include "platform/components/win32/utility.h"
#include "testing/dialog-driver.h"
#include "testing/test-paths.h"

#include <commctrl.h>
#include <richedit.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

using namespace components;

namespace {

class ControlsTest : public ::testing::Test {
protected:
  void SetUp() override {
    form_ = std::make_unique<TForm>(nullptr);
    form_->SetBounds(0, 0, 400, 300);
  }
  template <typename Control> Control *make() {
    auto *control = new Control(form_.get());
    control->SetParent(form_.get());
    return control;
  }
  // A flat tool bar with captions, buttons 73 by 21, holding one button of
  // each caption and style, in order.
  using ToolButtons = std::vector<std::pair<const char *, TToolButtonStyle>>;
  std::vector<TToolButton *> makeToolBar(const ToolButtons &buttons) {
    bar_ = make<TToolBar>();
    bar_->SetShowCaptions(true);
    bar_->SetFlat(true);
    bar_->SetButtonWidth(73);
    bar_->SetButtonHeight(21);
    std::vector<TToolButton *> made;
    for (const auto &button : buttons) {
      auto *tool = new TToolButton(form_.get());
      tool->SetStyle(button.second);
      tool->SetCaption(button.first);
      tool->SetParent(bar_);
      made.push_back(tool);
    }
    return made;
  }
  std::unique_ptr<TForm> form_;
  TToolBar *bar_ = nullptr;
};

// Counts the calls of an event.
struct Counter {
  int calls = 0;
  TNotifyEvent event() {
    return [this](TObject *) { ++calls; };
  }
};

std::string statusText(HWND bar, int part) {
  char text[256] = {};
  SendMessageA(bar, SB_GETTEXTA, static_cast<WPARAM>(part), reinterpret_cast<LPARAM>(text));
  return text;
}

} // namespace

// Which programmatic changes fire the change event, as the class library
// fires them.
TEST_F(ControlsTest, ProgrammaticChangesFireChangeEventsWhereTheLibraryDoes) {
  Counter editChanges, memoChanges, richChanges, checkClicks, radioClicks, listClicks, comboChanges;
  auto *edit = make<TEdit>();
  edit->OnChange = editChanges.event();
  auto *memo = make<TMemo>();
  memo->OnChange = memoChanges.event();
  auto *rich = make<TRichEdit>();
  rich->OnChange = richChanges.event();
  auto *check = make<TCheckBox>();
  check->OnClick = checkClicks.event();
  auto *radio = make<TRadioGroup>();
  radio->Items().Add("OR");
  radio->Items().Add("AND");
  radio->OnClick = radioClicks.event();
  auto *list = make<TListBox>();
  list->Items().Add("one");
  list->Items().Add("two");
  list->OnClick = listClicks.event();
  auto *combo = make<TComboBox>();
  combo->Items().Add("1001");
  combo->Items().Add("1002");
  combo->OnChange = comboChanges.event();

  edit->SetText("teh");
  memo->Lines().Add("first line");
  rich->SetText("rich text");
  check->SetChecked(true);
  check->SetChecked(true); // no change, no event
  radio->SetItemIndex(1);
  list->SetItemIndex(1);
  combo->SetItemIndex(0);

  struct Expectation {
    const char *what;
    int calls, expected;
  } table[] = {
      {"edit text", editChanges.calls, 1},         {"memo line", memoChanges.calls, 1},
      {"rich edit text", richChanges.calls, 1},    {"check box state", checkClicks.calls, 1},
      {"radio group index", radioClicks.calls, 1}, {"list box index", listClicks.calls, 0},
      {"combo box index", comboChanges.calls, 0},
  };
  for (const Expectation &e : table)
    EXPECT_EQ(e.calls, e.expected) << e.what;
  EXPECT_EQ(list->ItemIndex(), 1);
  EXPECT_EQ(combo->ItemIndex(), 0);
  EXPECT_EQ(radio->ItemIndex(), 1);
  EXPECT_EQ(
      SendMessageA(FindWindowExA(radio->Handle(), nullptr, "Button", "AND"), BM_GETCHECK, 0, 0),
      BST_CHECKED);
}

TEST_F(ControlsTest, UserClicksFireTheEventsAndUpdateTheState) {
  auto *check = make<TCheckBox>();
  int clicks = 0;
  bool stateSeen = false;
  check->OnClick = [&](TObject *) {
    ++clicks;
    stateSeen = check->Checked();
  };
  form_->Show();
  SendMessageA(check->Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(clicks, 1);
  EXPECT_TRUE(stateSeen);
  EXPECT_TRUE(check->Checked());

  auto *radio = make<TRadioGroup>();
  radio->SetBounds(0, 60, 185, 105);
  for (const char *item : {"OR", "AND", "NOT", "*ALL*"})
    radio->Items().Add(item);
  int radioClicks = 0;
  radio->OnClick = [&](TObject *) { ++radioClicks; };
  SendMessageA(FindWindowExA(radio->Handle(), nullptr, "Button", "*ALL*"), BM_CLICK, 0, 0);
  EXPECT_EQ(radioClicks, 1);
  EXPECT_EQ(radio->ItemIndex(), 3);
  EXPECT_EQ(radio->Items()[radio->ItemIndex()], "*ALL*");
}

TEST_F(ControlsTest, EditSelectionReplaceAndUndoKeepEightBitText) {
  auto *edit = make<TEdit>();
  const std::string text = "na\xEFve caf\xE9 teh end";
  edit->SetText(text);
  EXPECT_EQ(edit->Text(), text);
  EXPECT_EQ(edit->GetTextLen(), static_cast<int>(text.size()));
  edit->SetSelStart(11);
  edit->SetSelLength(3);
  EXPECT_EQ(edit->SelText(), "teh");
  edit->SetSelText("the");
  EXPECT_EQ(edit->Text(), "na\xEFve caf\xE9 the end");
  EXPECT_TRUE(edit->CanUndo());
  edit->Undo();
  EXPECT_EQ(edit->Text(), text);
}

TEST_F(ControlsTest, MemoAndRichEditLinesCountAsTheLibraryCountsThem) {
  struct Case {
    const char *text;
    int count;
    const char *last;
  } cases[] = {
      {"", 0, ""},
      {"one", 1, "one"},
      {"one\r\ntwo", 2, "two"},
      {"one\r\ntwo\r\n", 2, "two"}, // a trailing line break adds no line
      {"\xC4pfel\r\n\r\nend", 3, "end"},
  };
  auto *memo = make<TMemo>();
  auto *rich = new TRichEdit(form_.get());
  rich->SetPlainText(true);
  rich->SetParent(form_.get());
  for (const Case &c : cases) {
    for (TCustomMemo *control :
         {static_cast<TCustomMemo *>(memo), static_cast<TCustomMemo *>(rich)}) {
      control->SetText(c.text);
      EXPECT_EQ(control->Lines().Count(), c.count) << c.text;
      if (c.count > 0) {
        EXPECT_EQ(control->Lines()[c.count - 1], c.last) << c.text;
      }
    }
  }
  memo->Lines().Clear();
  memo->Lines().Add("a");
  memo->Lines().Add("b");
  EXPECT_EQ(memo->Text(), "a\r\nb\r\n");
  EXPECT_EQ(memo->Lines().Count(), 2);
}

TEST_F(ControlsTest, PlainRichEditPastesTextAndReportsItsClass) {
  auto *rich = new TRichEdit(form_.get());
  rich->SetPlainText(true);
  rich->SetHideSelection(false);
  rich->SetParent(form_.get());
  char className[64] = {};
  GetClassNameA(rich->Handle(), className, sizeof className);
  EXPECT_STREQ(className, "RichEdit20A");
  EXPECT_EQ(SendMessageA(rich->Handle(), EM_GETTEXTMODE, 0, 0) & TM_PLAINTEXT, TM_PLAINTEXT);
  rich->SetText("Teh quick brown fox");
  rich->SetSelStart(0);
  rich->SetSelLength(3);
  EXPECT_EQ(rich->SelText(), "Teh");
  rich->SetSelText("The");
  EXPECT_EQ(rich->Text(), "The quick brown fox");
  rich->Undo();
  EXPECT_EQ(rich->Text(), "Teh quick brown fox");
}

TEST_F(ControlsTest, SelectedTextIsTheSameWordInEditMemoAndRichEdit) {
  // A rich edit counts a line break as one character, an edit as two: the
  // selection must still give the word selected in each.
  auto *memo = make<TMemo>();
  auto *rich = new TRichEdit(form_.get());
  rich->SetPlainText(true);
  rich->SetParent(form_.get());
  const std::string text = "first line\r\nsecond teh line\r\n\xE9t\xE9 teh";
  for (TCustomMemo *control :
       {static_cast<TCustomMemo *>(memo), static_cast<TCustomMemo *>(rich)}) {
    control->SetText(text);
    HWND window = control->Handle();
    int line = 1, column = 7;
    int start = static_cast<int>(SendMessageA(window, EM_LINEINDEX, line, 0)) + column;
    SendMessageA(window, EM_SETSEL, start, start + 3);
    EXPECT_EQ(control->SelText(), "teh");
    line = 2;
    column = 4;
    start = static_cast<int>(SendMessageA(window, EM_LINEINDEX, line, 0)) + column;
    SendMessageA(window, EM_SETSEL, start - 4, start + 3);
    EXPECT_EQ(control->SelText(), "\xE9t\xE9 teh");
  }
}

TEST_F(ControlsTest, ListAndComboItemsMirrorIntoTheirWindows) {
  auto *list = make<TListBox>();
  list->Items().Add("b");
  list->Items().Insert(0, "a");
  list->Items().Add("c");
  list->Items().Delete(2);
  EXPECT_EQ(SendMessageA(list->Handle(), LB_GETCOUNT, 0, 0), 2);
  char text[16] = {};
  SendMessageA(list->Handle(), LB_GETTEXT, 0, reinterpret_cast<LPARAM>(text));
  EXPECT_STREQ(text, "a");
  EXPECT_EQ(list->Items().IndexOf("B"), 1);
  EXPECT_EQ(list->Items().IndexOf("zz"), -1);
  EXPECT_THROW(list->Items().Delete(5), Exception);
  // Items set before the window exists arrive when it is made.
  auto *combo = new TComboBox(form_.get());
  combo->SetStyle(csDropDownList);
  combo->Items().Add("1001");
  combo->Items().Add("1002");
  combo->SetItemIndex(1);
  combo->SetParent(form_.get());
  EXPECT_EQ(SendMessageA(combo->Handle(), CB_GETCOUNT, 0, 0), 2);
  EXPECT_EQ(combo->ItemIndex(), 1);
  EXPECT_EQ(combo->Text(), "1002");
  // A user's choice comes back as a change.
  int changes = 0, drops = 0;
  combo->OnChange = [&](TObject *) { ++changes; };
  combo->OnDropDown = [&](TObject *) { ++drops; };
  form_->Show();
  SendMessageA(combo->Handle(), CB_SHOWDROPDOWN, TRUE, 0);
  SendMessageA(combo->Handle(), CB_SHOWDROPDOWN, FALSE, 0);
  EXPECT_EQ(drops, 1);
  SendMessageA(combo->Handle(), WM_KEYDOWN, VK_UP, 0);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(combo->ItemIndex(), 0);
}

TEST_F(ControlsTest, StatusBarPanelsAndSimpleText) {
  auto *bar = make<TStatusBar>();
  TStatusPanel &first = bar->AddPanel();
  first.SetWidth(180);
  TStatusPanel &second = bar->AddPanel();
  second.SetWidth(50);
  second.SetAlignment(taRightJustify);
  first.SetText("Invoice 1001");
  second.SetText("Ship");
  int edges[2] = {};
  EXPECT_EQ(SendMessageA(bar->Handle(), SB_GETPARTS, 2, reinterpret_cast<LPARAM>(edges)), 2);
  EXPECT_EQ(edges[0], 180);
  EXPECT_EQ(edges[1], 230);
  EXPECT_EQ(statusText(bar->Handle(), 0), "Invoice 1001");
  EXPECT_EQ(statusText(bar->Handle(), 1), "\t\tShip");
  EXPECT_EQ(bar->Align(), alBottom);
  EXPECT_EQ(bar->Top() + bar->Height(), form_->ClientHeight());

  auto *simple = make<TStatusBar>();
  simple->SetSimplePanel(true);
  simple->SetSimpleText("12 words checked");
  EXPECT_TRUE(SendMessageA(simple->Handle(), SB_ISSIMPLE, 0, 0));
  // Wine answers the simple part's text for part 0 while the bar is simple.
  EXPECT_EQ(statusText(simple->Handle(), 0), "12 words checked");
}

TEST_F(ControlsTest, ProgressBarKeepsItsPositionInRange) {
  auto *gauge = make<TProgressBar>();
  struct Case {
    int set, expected;
  } cases[] = {{0, 0}, {42, 42}, {100, 100}, {101, 100}, {250, 100}, {-1, 0}};
  for (const Case &c : cases) {
    gauge->SetPosition(c.set);
    EXPECT_EQ(gauge->Position(), c.expected) << c.set;
    EXPECT_EQ(SendMessageA(gauge->Handle(), PBM_GETPOS, 0, 0), c.expected) << c.set;
  }
}

TEST_F(ControlsTest, PageControlShowsOnePageAndReportsUserChanges) {
  auto *pages = make<TPageControl>();
  auto *dictionaries = new TTabSheet(form_.get());
  dictionaries->SetCaption("Dictionaries");
  dictionaries->SetPageControl(pages);
  auto *options = new TTabSheet(form_.get());
  options->SetCaption("Options");
  options->SetPageControl(pages);
  EXPECT_EQ(pages->PageCount(), 2);
  EXPECT_EQ(pages->ActivePage(), dictionaries);
  EXPECT_EQ(SendMessageA(pages->Handle(), TCM_GETITEMCOUNT, 0, 0), 2);
  char caption[32] = {};
  TCITEMA item{};
  item.mask = TCIF_TEXT;
  item.pszText = caption;
  item.cchTextMax = sizeof caption;
  SendMessageA(pages->Handle(), TCM_GETITEMA, 1, reinterpret_cast<LPARAM>(&item));
  EXPECT_STREQ(caption, "Options");
  int changes = 0;
  pages->OnChange = [&](TObject *) { ++changes; };
  pages->SetActivePage(options); // from the program: no event
  EXPECT_EQ(changes, 0);
  EXPECT_TRUE(options->Visible());
  EXPECT_FALSE(dictionaries->Visible());
  // As the tab control reports a user's choice.
  SendMessageA(pages->Handle(), TCM_SETCURSEL, 0, 0);
  NMHDR header{pages->Handle(), 0, static_cast<UINT>(TCN_SELCHANGE)};
  SendMessageA(form_->Handle(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&header));
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(pages->ActivePage(), dictionaries);
  EXPECT_TRUE(dictionaries->Visible());
}

TEST_F(ControlsTest, ToolButtonsAreClickedByTheirCommandsAndLaidOutByTheBar) {
  auto *bar = make<TToolBar>();
  bar->SetShowCaptions(true);
  bar->SetFlat(true);
  bar->SetButtonWidth(73);
  bar->SetButtonHeight(21);
  auto *check = new TToolButton(form_.get());
  check->SetCaption("Check...");
  check->SetParent(bar);
  auto *preferences = new TToolButton(form_.get());
  preferences->SetCaption("Preferences...");
  preferences->SetStyle(tbsDropDown);
  preferences->SetParent(bar);
  int checks = 0;
  check->OnClick = [&](TObject *) { ++checks; };
  EXPECT_EQ(SendMessageA(bar->Handle(), TB_BUTTONCOUNT, 0, 0), 2);
  EXPECT_EQ(check->Left(), 0);
  EXPECT_GT(preferences->Left(), check->Left());
  EXPECT_EQ(check->Height(), 21);
  TBBUTTON first{};
  ASSERT_TRUE(SendMessageA(bar->Handle(), TB_GETBUTTON, 0, reinterpret_cast<LPARAM>(&first)));
  const int checkCommand = first.idCommand;
  // The bar's command notification to its parent, as a click sends it.
  SendMessageA(form_->Handle(), WM_COMMAND, MAKEWPARAM(checkCommand, BN_CLICKED),
               reinterpret_cast<LPARAM>(bar->Handle()));
  EXPECT_EQ(checks, 1);
  check->SetEnabled(false);
  EXPECT_FALSE(
      SendMessageA(bar->Handle(), TB_ISBUTTONENABLED, static_cast<WPARAM>(checkCommand), 0));
  SendMessageA(form_->Handle(), WM_COMMAND, MAKEWPARAM(checkCommand, BN_CLICKED),
               reinterpret_cast<LPARAM>(bar->Handle()));
  EXPECT_EQ(checks, 1);
}

TEST_F(ControlsTest, MenuItemsAreClickedByCommandAndShowTheirState) {
  auto *menu = new TMainMenu(form_.get());
  auto *file = new TMenuItem(form_.get());
  file->SetCaption("&File");
  menu->Items().Add(file);
  auto *open = new TMenuItem(form_.get());
  open->SetCaption("&Open...");
  file->Add(open);
  auto *exit = new TMenuItem(form_.get());
  exit->SetCaption("E&xit");
  file->Add(exit);
  form_->SetMenu(menu);
  int opens = 0, fileOpens = 0;
  open->OnClick = [&](TObject *) { ++opens; };
  file->OnClick = [&](TObject *) { ++fileOpens; };
  HMENU bar = GetMenu(form_->Handle());
  ASSERT_NE(bar, nullptr);
  HMENU fileMenu = GetSubMenu(bar, 0);
  EXPECT_EQ(GetMenuItemCount(fileMenu), 2);
  SendMessageA(form_->Handle(), WM_COMMAND, MAKEWPARAM(GetMenuItemID(fileMenu, 0), 0), 0);
  EXPECT_EQ(opens, 1);
  // Opening the sub-menu fires the File item's click.
  SendMessageA(form_->Handle(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(fileMenu), 0);
  EXPECT_EQ(fileOpens, 1);
  open->SetChecked(true);
  exit->SetEnabled(false);
  EXPECT_TRUE(GetMenuState(fileMenu, 0, MF_BYPOSITION) & MF_CHECKED);
  EXPECT_TRUE(GetMenuState(fileMenu, 1, MF_BYPOSITION) & MF_GRAYED);
  // An item freed early leaves its menu.
  delete exit;
  EXPECT_EQ(GetMenuItemCount(GetSubMenu(GetMenu(form_->Handle()), 0)), 1);
}

namespace {

// A windowless control that records what its parent routes to it.
class Probe : public TGraphicControl {
public:
  explicit Probe(TComponent *owner) : TGraphicControl(owner) {}
  std::vector<std::string> log;
  int paints = 0;

protected:
  void Paint() override {
    ++paints;
    RECT all{0, 0, Width(), Height()};
    Canvas().SetBrushColor(clRed);
    Canvas().FillRect(all);
  }
  void MouseEnter() override { log.push_back("enter"); }
  void MouseLeave() override { log.push_back("leave"); }
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override {
    log.push_back("down " + std::to_string(x) + "," + std::to_string(y));
    TGraphicControl::MouseDown(button, shift, x, y);
  }
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override {
    log.push_back("up " + std::to_string(x) + "," + std::to_string(y));
    TGraphicControl::MouseUp(button, shift, x, y);
  }
};

LPARAM at(int x, int y) { return MAKELPARAM(x, y); }

} // namespace

TEST_F(ControlsTest, WindowlessControlIsPaintedByItsParentAndGetsTheMouse) {
  auto *panel = make<TPanel>();
  panel->SetBounds(0, 0, 200, 100);
  panel->SetBevelOuter(bvNone);
  auto *probe = new Probe(form_.get());
  probe->SetBounds(20, 10, 40, 40);
  probe->SetParent(panel);
  int clicks = 0;
  probe->OnClick = [&](TObject *) { ++clicks; };
  form_->Show();
  UpdateWindow(panel->Handle());
  EXPECT_GE(probe->paints, 1);
  // The parent's window shows the control's red where the control is and
  // the panel's face elsewhere.
  {
    HDC dc = GetDC(panel->Handle());
    EXPECT_EQ(GetPixel(dc, 30, 20), RGB(255, 0, 0));
    EXPECT_NE(GetPixel(dc, 100, 80), RGB(255, 0, 0));
    ReleaseDC(panel->Handle(), dc);
  }
  HWND window = panel->Handle();
  // Press and release inside: a click, in the control's own coordinates.
  SendMessageA(window, WM_MOUSEMOVE, 0, at(25, 15));
  SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, at(25, 15));
  SendMessageA(window, WM_LBUTTONUP, 0, at(26, 16));
  EXPECT_EQ(clicks, 1);
  // Press inside, release outside: the control still gets the release
  // (it has the capture) but there is no click.
  SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, at(25, 15));
  SendMessageA(window, WM_MOUSEMOVE, MK_LBUTTON, at(150, 80));
  SendMessageA(window, WM_LBUTTONUP, 0, at(150, 80));
  EXPECT_EQ(clicks, 1);
  // Pressing elsewhere on the parent does not reach the control.
  SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, at(150, 80));
  SendMessageA(window, WM_LBUTTONUP, 0, at(150, 80));
  EXPECT_EQ(probe->log, (std::vector<std::string>{"enter", "down 5,5", "up 6,6", "down 5,5",
                                                  "leave", "up 130,70"}));
  // A disabled control takes no input.
  probe->SetEnabled(false);
  SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, at(25, 15));
  SendMessageA(window, WM_LBUTTONUP, 0, at(25, 15));
  EXPECT_EQ(clicks, 1);
}

TEST_F(ControlsTest, OwnerDrawnListBoxDrawsEachItemThroughItsEvent) {
  auto *list = new TListBox(form_.get());
  list->SetStyle(lbOwnerDrawFixed);
  list->SetItemHeight(14);
  list->Items().Add("english.dct");
  list->Items().Add("american.dct");
  list->SetParent(form_.get());
  std::vector<int> drawn;
  list->OnDrawItem = [&](TObject *, int index, const RECT &rect, TOwnerDrawState) {
    drawn.push_back(index);
    EXPECT_EQ(rect.bottom - rect.top, 14);
    list->Canvas().FillRect(rect);
    list->Canvas().TextOut(rect.left + 15, rect.top, list->Items()[index]);
  };
  EXPECT_EQ(SendMessageA(list->Handle(), LB_GETITEMHEIGHT, 0, 0), 14);
  form_->Show();
  UpdateWindow(list->Handle());
  std::sort(drawn.begin(), drawn.end());
  drawn.erase(std::unique(drawn.begin(), drawn.end()), drawn.end());
  EXPECT_EQ(drawn, (std::vector<int>{0, 1}));
  RECT second{};
  SendMessageA(list->Handle(), LB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&second));
  EXPECT_EQ(second.top, 14);
  EXPECT_EQ(list->ItemAtPos(POINT{5, 20}), 1);
}

TEST_F(ControlsTest, KeyPressCanChangeOrSwallowTypedCharacters) {
  auto *edit = make<TEdit>();
  edit->OnKeyPress = [](TObject *, char &key) {
    if (key == 'x')
      key = 0; // swallowed
    else if (key == 'a')
      key = 'A';
  };
  for (char c : std::string("axb"))
    SendMessageA(edit->Handle(), WM_CHAR, static_cast<unsigned char>(c), 1);
  EXPECT_EQ(edit->Text(), "Ab");
}

TEST(FormStyles, BorderStylesGiveThePlatformStyles) {
  struct Case {
    TFormBorderStyle border;
    DWORD style, notStyle, exStyle;
  } cases[] = {
      {bsSizeable, WS_CAPTION | WS_THICKFRAME | WS_SYSMENU, 0, 0},
      {bsSingle, WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, WS_THICKFRAME, 0},
      {bsDialog, WS_CAPTION | WS_SYSMENU, WS_THICKFRAME | WS_MINIMIZEBOX, WS_EX_DLGMODALFRAME},
      {bsToolWindow, WS_CAPTION, WS_THICKFRAME, WS_EX_TOOLWINDOW},
      {bsSizeToolWin, WS_CAPTION | WS_THICKFRAME, 0, WS_EX_TOOLWINDOW},
      {bsNone, WS_POPUP, WS_CAPTION | WS_SYSMENU, 0},
  };
  for (const Case &c : cases) {
    TForm form(nullptr);
    form.SetBorderStyle(c.border);
    DWORD style = static_cast<DWORD>(GetWindowLongPtrA(form.Handle(), GWL_STYLE));
    DWORD exStyle = static_cast<DWORD>(GetWindowLongPtrA(form.Handle(), GWL_EXSTYLE));
    EXPECT_EQ(style & c.style, c.style) << c.border;
    EXPECT_EQ(style & c.notStyle, 0u) << c.border;
    EXPECT_EQ(exStyle & c.exStyle, c.exStyle) << c.border;
  }
  TForm top(nullptr);
  top.SetFormStyle(fsStayOnTop);
  EXPECT_TRUE(GetWindowLongPtrA(top.Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
}

namespace {

// A windowless button that answers its caption's accelerator.
class AcceleratedProbe : public TGraphicControl {
public:
  explicit AcceleratedProbe(TComponent *owner) : TGraphicControl(owner) {}
  bool DialogChar(char key) override {
    std::size_t amp = Caption().find('&');
    if (amp == std::string::npos || amp + 1 >= Caption().size())
      return false;
    if (UpperCase(std::string(1, key)) != UpperCase(Caption().substr(amp + 1, 1)))
      return false;
    Click();
    return true;
  }
};

} // namespace

TEST_F(ControlsTest, AcceleratorKeysReachWindowlessControlsThroughTheLoop) {
  auto *panel = make<TPanel>();
  auto *probe = new AcceleratedProbe(form_.get());
  probe->SetCaption("&Mail");
  probe->SetParent(panel);
  int clicks = 0;
  probe->OnClick = [&](TObject *) { ++clicks; };
  auto *edit = make<TEdit>();
  edit->SetTop(60);
  // Alt+M and Alt+Q typed while the edit has the focus, as the keyboard
  // posts them; only the first matches.
  PostMessageA(edit->Handle(), WM_SYSCHAR, 'm', 1 << 29);
  PostMessageA(edit->Handle(), WM_SYSCHAR, 'q', 1 << 29);
  bool posted = false;
  form_->SetMessageHandler(WM_USER + 9, [&](TMessage &) { posted = true; });
  PostMessageA(form_->Handle(), WM_USER + 9, 0, 0);
  ASSERT_TRUE(win32_test::pumpUntil([&] { return posted; }));
  EXPECT_EQ(clicks, 1);
  probe->SetEnabled(false);
  PostMessageA(edit->Handle(), WM_SYSCHAR, 'm', 1 << 29);
  posted = false;
  PostMessageA(form_->Handle(), WM_USER + 9, 0, 0);
  ASSERT_TRUE(win32_test::pumpUntil([&] { return posted; }));
  EXPECT_EQ(clicks, 1);
}

TEST_F(ControlsTest, ChildrenFollowTheirFormsFont) {
  auto *button = make<TButton>();
  auto *panel = make<TPanel>();
  auto *label = new TLabel(form_.get());
  label->SetParent(panel);
  form_->Font().SetSize(8);
  form_->Font().SetName("Tahoma");
  for (TWinControl *control :
       {static_cast<TWinControl *>(button), static_cast<TWinControl *>(label)}) {
    EXPECT_EQ(control->Font().Name(), "Tahoma");
    EXPECT_EQ(control->Font().Height(), -11); // 8 points at 96 dots per inch, rounded
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageA(control->Handle(), WM_GETFONT, 0, 0)),
              control->Font().Handle());
  }
}

namespace {

BOOL CALLBACK findMenuWindow(HWND window, LPARAM found) {
  char className[16] = {};
  GetClassNameA(window, className, sizeof className);
  if (std::string(className) != "#32768" || !IsWindowVisible(window))
    return TRUE;
  *reinterpret_cast<HWND *>(found) = window;
  return FALSE;
}

} // namespace

TEST_F(ControlsTest, PopupMenuClicksTheItemChosenWithTheKeyboard) {
  auto *menu = new TPopupMenu(form_.get());
  auto *close = new TMenuItem(form_.get());
  close->SetCaption("&Close");
  menu->Items().Add(close);
  auto *restore = new TMenuItem(form_.get());
  restore->SetCaption("&Restore");
  menu->Items().Add(restore);
  std::vector<std::string> log;
  menu->OnPopup = [&](TObject *) { log.push_back("popup"); };
  close->OnClick = [&](TObject *) { log.push_back("close"); };
  restore->OnClick = [&](TObject *) { log.push_back("restore"); };
  form_->Show();
  // The menu's own loop runs our timer: it picks the second item with the
  // arrow keys and Enter, as a user would.
  TTimer chooser(nullptr);
  chooser.SetInterval(100);
  chooser.OnTimer = [&](TObject *) {
    HWND found = nullptr;
    EnumWindows(findMenuWindow, reinterpret_cast<LPARAM>(&found));
    if (!found)
      return;
    chooser.SetEnabled(false);
    for (WPARAM key : {VK_DOWN, VK_DOWN, VK_RETURN})
      PostMessageA(found, WM_KEYDOWN, key, 0);
  };
  menu->SetPopupComponent(form_.get());
  menu->Popup(100, 100);
  EXPECT_EQ(log, (std::vector<std::string>{"popup", "restore"}));
}

TEST_F(ControlsTest, LabelShowsItsTextAndItsAcceleratorFocusesItsControl) {
  auto *label = make<TLabel>();
  label->SetCaption("&Name:");
  auto *button = make<TButton>();
  button->SetTop(30);
  auto *edit = make<TEdit>();
  edit->SetTop(60);
  // The control to focus is not the next in tab order: the platform's own
  // handling of a static's mnemonic would focus the button.
  label->SetFocusControl(edit);
  char className[32] = {};
  GetClassNameA(label->Handle(), className, sizeof className);
  EXPECT_STREQ(className, "Static");
  EXPECT_EQ(win32_test::windowText(label->Handle()), "&Name:");
  form_->Show();
  button->SetFocus();
  ASSERT_EQ(GetFocus(), button->Handle());
  bool posted = false;
  form_->SetMessageHandler(WM_USER + 9, [&](TMessage &) { posted = true; });
  PostMessageA(button->Handle(), WM_SYSCHAR, 'n', 1 << 29);
  PostMessageA(form_->Handle(), WM_USER + 9, 0, 0);
  ASSERT_TRUE(win32_test::pumpUntil([&] { return posted; }));
  EXPECT_EQ(GetFocus(), edit->Handle());
  // A freed focus control is forgotten: the key then does nothing.
  delete edit;
  EXPECT_EQ(label->FocusControl(), nullptr);
  EXPECT_FALSE(label->DialogChar('n'));
  // "&&" is an ampersand, not an accelerator.
  label->SetCaption("R&&D");
  label->SetFocusControl(button);
  EXPECT_FALSE(label->DialogChar('d'));
}

TEST_F(ControlsTest, GroupBoxFramesItsCaptionAndHoldsAlignedChildrenBelowIt) {
  auto *group = make<TGroupBox>();
  group->SetCaption("Options");
  group->SetBounds(10, 10, 200, 120);
  auto *panel = new TPanel(form_.get());
  panel->SetParent(group);
  panel->SetAlign(alClient);
  LONG_PTR style = GetWindowLongPtrA(group->Handle(), GWL_STYLE);
  EXPECT_EQ(style & BS_TYPEMASK, BS_GROUPBOX);
  EXPECT_EQ(win32_test::windowText(group->Handle()), "Options");
  EXPECT_EQ(GetParent(panel->Handle()), group->Handle());
  // The child fills the inside, below the caption and within the frame.
  RECT client{};
  GetClientRect(group->Handle(), &client);
  EXPECT_GE(panel->Top(), 12);
  EXPECT_GT(panel->Left(), 0);
  EXPECT_LE(panel->Left() + panel->Width(), client.right);
  EXPECT_LE(panel->Top() + panel->Height(), client.bottom);
  EXPECT_GT(panel->Height(), 60);
  // Resizing the box lays the child out again.
  group->SetHeight(200);
  EXPECT_GT(panel->Height(), 140);
}

// A double-click in a list box reaches the control twice (the mouse
// message and the box's LBN_DBLCLK notification): it is one event.
TEST_F(ControlsTest, ADoubleClickInAListBoxIsOneEvent) {
  auto *list = make<TListBox>();
  list->SetBounds(10, 10, 120, 80);
  list->Items().Add("first");
  list->Items().Add("second");
  form_->Show();
  Counter doubles;
  list->OnDblClick = doubles.event();
  LPARAM point = MAKELPARAM(20, 4);
  for (UINT message : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP})
    SendMessageA(list->Handle(), message, message == WM_LBUTTONUP ? 0 : MK_LBUTTON, point);
  win32_test::pumpUntil([] { return false; }, 200);
  EXPECT_EQ(list->ItemIndex(), 0);
  EXPECT_EQ(doubles.calls, 1);
}

// Where a label and a windowed control overlap, the control is on top,
// whichever was made first; a label's own font is kept when the form's
// font changes.
TEST_F(ControlsTest, LabelsLieBeneathWindowedControlsAndKeepTheirOwnFont) {
  auto *label = make<TLabel>();
  label->SetBounds(8, 57, 61, 13);
  label->SetCaption("&Suggestions:");
  label->Font().SetHeight(-19);
  auto *button = make<TButton>();
  button->SetBounds(8, 59, 75, 22);
  auto *later = make<TLabel>();
  later->SetBounds(40, 70, 60, 13);
  form_->Show();
  for (POINT point : {POINT{20, 60}, POINT{50, 75}})
    EXPECT_EQ(ChildWindowFromPointEx(form_->Handle(), point, CWP_ALL), button->Handle());
  form_->Font().SetHeight(-13);
  EXPECT_EQ(label->Font().Height(), -19);
  EXPECT_EQ(later->Font().Height(), -13);
  EXPECT_EQ(button->Font().Height(), -13);
}

// Tool buttons are the bar's button width whatever their captions, and a
// drop-down button that plus its arrow.
TEST_F(ControlsTest, ToolButtonsTakeTheBarsButtonWidth) {
  const ToolButtons buttons = {
      {"Check...", tbsButton}, {"Preferences...", tbsDropDown}, {"Help", tbsDropDown}};
  std::vector<TToolButton *> made = makeToolBar(buttons);
  form_->Show();
  // "Preferences..." is wider than 73 in some fonts (its own test below):
  // it takes at least its designed width and the next button follows it.
  const int lefts[] = {0, 73, 73 + made[1]->Width()}, widths[] = {73, 88, 88};
  for (std::size_t i = 0; i < made.size(); ++i) {
    EXPECT_EQ(made[i]->Left(), lefts[i]) << buttons[i].first;
    if (i == 1) {
      EXPECT_GE(made[i]->Width(), widths[i]) << buttons[i].first;
    } else {
      EXPECT_EQ(made[i]->Width(), widths[i]) << buttons[i].first;
    }
  }
}

// In a font wider than the designed one, a caption that ButtonWidth cannot
// hold widens its button (a drop-down button that plus its arrow), and the
// buttons after it move along; short captions keep ButtonWidth. The text,
// measured apart in the bar's font, fits between the platform's padding.
// Back in the small font the button narrows again. The bar's picture stays
// in this folder (tool-bar-captions.bmp).
TEST_F(ControlsTest, ToolButtonsWidenForCaptionsTheirWidthCannotHold) {
  const ToolButtons buttons = {
      {"Go", tbsButton}, {"Preferences...", tbsDropDown}, {"Help", tbsDropDown}};
  std::vector<TToolButton *> made = makeToolBar(buttons);
  TToolBar *bar = bar_;
  form_->SetBounds(0, 0, 600, 300);
  form_->Show();
  int padding = LOWORD(SendMessageA(bar->Handle(), TB_GETPADDING, 0, 0));
  std::vector<int> widths;
  for (int height : {-19, -11}) {
    bar->Font().SetHeight(height);
    widths.push_back(made[1]->Width());
    int left = 0;
    for (std::size_t i = 0; i < made.size(); ++i) {
      int arrow = buttons[i].second == tbsDropDown ? 15 : 0;
      int text = dialog_test::textWidthIn(bar->Handle(), buttons[i].first);
      EXPECT_LE(text + padding, made[i]->Width() - arrow) << buttons[i].first << " at " << height;
      EXPECT_EQ(made[i]->Left(), left) << buttons[i].first << " at " << height;
      if (i != 1) {
        EXPECT_EQ(made[i]->Width(), 73 + arrow) << buttons[i].first << " at " << height;
      }
      left += made[i]->Width();
    }
    if (height == -19) {
      EXPECT_TRUE(dialog_test::saveWindowShot(
          bar->Handle(), testing_support::hostPath(testing_support::envOr("TEST_BINARY_DIR", ".") +
                                                   std::string("/tool-bar-captions.bmp"))));
    }
  }
  EXPECT_GT(widths[0], 88); // the big font does not fit the designed width
  EXPECT_LT(widths[1], widths[0]);
}
