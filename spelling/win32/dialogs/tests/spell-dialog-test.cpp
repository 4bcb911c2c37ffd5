// The check dialog under Wine, looked at as a person sees it: its controls
// found by class and caption, their rectangles as the platform reports
// them, its buttons pressed with BM_CLICK and its close box with
// WM_SYSCOMMAND.
#include "spelling/win32/dialogs/spell-dialog.h"

#include "spelling/core/languages.h"
#include "testing/dialog-test-support.h"

#include "platform/components/win32/application.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace spelling;
using namespace dialog_test;

// The texts the component sets when it creates the dialog: control index
// and language string.
const std::pair<int, int> CreationTexts[] = {{0, 4},   {1, 5},   {2, 6},   {3, 7},   {4, 8},
                                             {5, 9},   {6, 10},  {7, 11},  {8, 12},  {9, 13},
                                             {10, 15}, {11, 16}, {15, 17}, {16, 19}, {17, 20}};

void setTexts(TVerbaSpellDialog &dialog, const TLanguageModule &language) {
  for (const auto &text : CreationTexts)
    dialog.DC->OnSetCaption(dialog.DC, text.first,
                            language.Strings[static_cast<std::size_t>(text.second)]);
  dialog.DC->OnResize(dialog.DC);
}

struct Designed {
  const char *className;
  const char *caption;
  Box box;
};

// The designed layout: every control at its place with the English texts.
const Designed EnglishLayout[] = {
    {"Static", "Not Found:", {8, 8, 53, 13}},       {"Static", "Replace With:", {8, 32, 68, 13}},
    {"Static", "&Suggestions:", {8, 57, 61, 13}},   {"Button", "&Change All", {224, 32, 75, 22}},
    {"Button", "C&hange", {304, 32, 75, 22}},       {"Button", "&Ignore All", {224, 56, 75, 22}},
    {"Button", "I&gnore", {304, 56, 75, 22}},       {"Button", "&Add", {224, 80, 75, 22}},
    {"Button", "Au&to-Correct", {304, 80, 75, 22}}, {"Button", "S&uggest", {8, 59, 75, 22}},
    {"Button", "Start", {8, 83, 75, 22}},           {"Button", "Undo &Last", {8, 107, 75, 22}},
    {"Button", "&Options", {8, 131, 75, 22}},       {"Button", "Hel&p", {224, 131, 75, 22}},
    {"Button", "Cancel", {304, 131, 75, 22}},
};

class SpellDialogTest : public ::testing::Test {
protected:
  void SetUp() override {
    designedFont = installDesignedFont();
    dialog = new TVerbaSpellDialog(nullptr);
    owner.reset(dialog);
    form = dialog->Handle();
  }
  std::unique_ptr<TVerbaSpellDialog> owner;
  TVerbaSpellDialog *dialog = nullptr;
  HWND form = nullptr;
  bool designedFont = false;
};

TEST_F(SpellDialogTest, EnglishTextsKeepTheDesignedLayout) {
  if (!designedFont)
    GTEST_SKIP() << "the font MS Sans Serif cannot be installed";
  setTexts(*dialog, EnglishLanguage());
  SIZE client = clientSize(form);
  EXPECT_EQ(client.cx, 386);
  EXPECT_EQ(client.cy, 157);
  EXPECT_EQ(windowText(form), "Spell Check");
  for (const Designed &control : EnglishLayout) {
    SCOPED_TRACE(control.caption);
    HWND window = findChild(form, control.className, control.caption);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(boxOf(window), control.box);
  }
  std::vector<HWND> edits = findChildren(form, "Edit");
  ASSERT_EQ(edits.size(), 2u);
  EXPECT_EQ(boxOf(edits[0]), (Box{96, 8, 281, 21}));
  EXPECT_TRUE(GetWindowLongPtrA(edits[0], GWL_STYLE) & ES_READONLY);
  EXPECT_EQ(boxOf(edits[1]), (Box{96, 32, 121, 21}));
  std::vector<HWND> lists = findChildren(form, "ListBox");
  ASSERT_EQ(lists.size(), 1u);
  EXPECT_EQ(boxOf(lists[0]), (Box{96, 56, 121, 97}));
  // The suggestion label keeps its designed text: the dialog has no
  // control for index 17.
  EXPECT_NE(findChild(form, "Static", "&Suggestions:"), nullptr);
  EXPECT_EQ(findChild(form, "Static", "Suggestions:"), nullptr);
}

TEST_F(SpellDialogTest, DesignedStatesAndWindowStyle) {
  for (const char *caption : {"&Change All", "C&hange", "&Ignore All", "I&gnore", "&Add",
                              "Au&to-Correct", "S&uggest", "Start", "Undo &Last"})
    EXPECT_FALSE(IsWindowEnabled(findChild(form, "Button", caption))) << caption;
  for (const char *caption : {"&Options", "Hel&p", "Cancel"})
    EXPECT_TRUE(IsWindowEnabled(findChild(form, "Button", caption))) << caption;
  LONG_PTR exStyle = GetWindowLongPtrA(form, GWL_EXSTYLE);
  LONG_PTR style = GetWindowLongPtrA(form, GWL_STYLE);
  EXPECT_TRUE(exStyle & WS_EX_TOPMOST);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));
  // Tab order: the buttons on the right first, then the word fields, then
  // the left column.
  std::vector<std::string> order;
  for (HWND window = GetWindow(findChild(form, "Button", "&Change All"), GW_HWNDFIRST); window;
       window = GetWindow(window, GW_HWNDNEXT))
    if (GetWindowLongPtrA(window, GWL_STYLE) & WS_TABSTOP)
      order.push_back(windowClass(window) + ":" + windowText(window));
  ASSERT_EQ(order.size(), 15u);
  EXPECT_EQ(order[0], "Button:&Change All");
  EXPECT_EQ(order[5], "Button:Au&to-Correct");
  EXPECT_EQ(order[6].substr(0, 5), "Edit:");
  EXPECT_EQ(order[8], "ListBox:");
  EXPECT_EQ(order[9], "Button:S&uggest");
  EXPECT_EQ(order[14], "Button:Cancel");
}

// A language whose captions are wider than the columns: the left column
// widens by d and the two button columns by e each, as measured on the
// dialog's font by the test itself.
TEST_F(SpellDialogTest, LongerCaptionsWidenTheColumnsByMeasuredAmounts) {
  TLanguageModule language = EnglishLanguage();
  language.Strings[12] = "Undo the &Last Change";
  language.Strings[19] = "Replacement Word:";
  language.Strings[6] = "&Ignore Every Occurrence";
  language.Strings[16] = "Cancel Check";
  setTexts(*dialog, language);

  HWND undo = findChild(form, "Button", "Undo the &Last Change");
  HWND ignoreAll = findChild(form, "Button", "&Ignore Every Occurrence");
  HWND cancel = findChild(form, "Button", "Cancel Check");
  ASSERT_TRUE(undo && ignoreAll && cancel);
  int leftText =
      std::max({71, textWidthIn(undo, "Undo the &Last Change"),
                textWidthIn(undo, "Replacement Word:"), textWidthIn(undo, "&Suggestions:")});
  int rightText =
      std::max({71, textWidthIn(ignoreAll, "&Ignore Every Occurrence"),
                textWidthIn(cancel, "Cancel Check") + 22, textWidthIn(cancel, "Au&to-Correct")});
  int d = leftText + 4 - 75, e = rightText + 4 - 75;
  ASSERT_GT(d, 0);
  ASSERT_GT(e, 0);

  EXPECT_EQ(clientSize(form).cx, 386 + d + 2 * e);
  EXPECT_EQ(boxOf(undo), (Box{8, 107, 75 + d, 22}));
  EXPECT_EQ(boxOf(findChild(form, "Static", "Replacement Word:")), (Box{8, 32, 75 + d, 13}));
  std::vector<HWND> edits = findChildren(form, "Edit");
  EXPECT_EQ(boxOf(edits[0]), (Box{96 + d, 8, 281 + 2 * e, 21}));
  EXPECT_EQ(boxOf(edits[1]), (Box{96 + d, 32, 121, 21}));
  EXPECT_EQ(boxOf(findChildren(form, "ListBox")[0]), (Box{96 + d, 56, 121, 97}));
  // Both button columns stay aligned, each as wide as the widest text.
  for (const char *caption : {"&Change All", "&Ignore Every Occurrence", "&Add", "Hel&p"})
    EXPECT_EQ(boxOf(findChild(form, "Button", caption)).left, 224 + d) << caption;
  for (const char *caption : {"C&hange", "I&gnore", "Au&to-Correct", "Cancel Check"}) {
    Box box = boxOf(findChild(form, "Button", caption));
    EXPECT_EQ(box.left, 304 + d + e) << caption;
    EXPECT_EQ(box.width, 75 + e) << caption;
  }
  // The right edge of the word field lines up with the right column.
  Box change = boxOf(findChild(form, "Button", "C&hange"));
  EXPECT_EQ(96 + d + 281 + 2 * e, change.left + change.width - 2);
}

// A label's text wider than the label's designed width but within the
// column (a wider font, or a language's longer word) is shown whole, not
// wrapped onto a hidden second line.
TEST_F(SpellDialogTest, LabelTextsWithinTheColumnAreShownWhole) {
  TLanguageModule language = EnglishLanguage();
  language.Strings[17] = "Not in Lists:";
  setTexts(*dialog, language);
  ASSERT_EQ(clientSize(form).cx, 386);
  for (const char *caption : {"Not in Lists:", "Replace With:", "&Suggestions:"}) {
    HWND label = findChild(form, "Static", caption);
    ASSERT_NE(label, nullptr) << caption;
    std::string shown = caption;
    shown.erase(std::remove(shown.begin(), shown.end(), '&'), shown.end());
    EXPECT_GE(boxOf(label).width, textWidthIn(label, shown)) << caption;
  }
}

TEST_F(SpellDialogTest, RequestsOutsideTheIndicesChangeNothing) {
  setTexts(*dialog, EnglishLanguage());
  for (int index : {-1, 17, 18, 99}) {
    dialog->DC->OnChangeEnabled(dialog->DC, index, false);
    dialog->DC->OnChangeVisible(dialog->DC, index, false);
    dialog->DC->OnSetCaption(dialog->DC, index, "changed");
    std::string text = "kept";
    dialog->DC->OnGetCaption(dialog->DC, index, text);
    EXPECT_EQ(text, "kept") << index;
  }
  for (HWND window : children(form)) {
    EXPECT_NE(windowText(window), "changed");
    EXPECT_TRUE(IsWindowVisible(window) || !IsWindowVisible(form));
  }
  EXPECT_TRUE(IsWindowEnabled(findChild(form, "Button", "Cancel")));

  // The suggestion list: enabled and shown by index, but no text.
  HWND list = findChildren(form, "ListBox")[0];
  dialog->DC->OnChangeEnabled(dialog->DC, 14, true);
  EXPECT_TRUE(IsWindowEnabled(list));
  dialog->DC->OnChangeVisible(dialog->DC, 14, false);
  EXPECT_FALSE(GetWindowLongPtrA(list, GWL_STYLE) & WS_VISIBLE);
  std::string text = "untouched";
  dialog->DC->OnGetCaption(dialog->DC, 14, text);
  EXPECT_EQ(text, "untouched");

  // Texts by index: the word, the replacement, a label and a button.
  dialog->DC->OnSetCaption(dialog->DC, 12, "teh");
  dialog->DC->OnSetCaption(dialog->DC, 13, "the");
  dialog->DC->OnSetCaption(dialog->DC, 15, "Repeated Word:");
  dialog->DC->OnSetCaption(dialog->DC, 1, "&Delete");
  std::vector<HWND> edits = findChildren(form, "Edit");
  EXPECT_EQ(windowText(edits[0]), "teh");
  EXPECT_EQ(windowText(edits[1]), "the");
  EXPECT_NE(findChild(form, "Static", "Repeated Word:"), nullptr);
  EXPECT_NE(findChild(form, "Button", "&Delete"), nullptr);
  dialog->DC->OnGetCaption(dialog->DC, 13, text);
  EXPECT_EQ(text, "the");
}

TEST_F(SpellDialogTest, ButtonsReportTheirCommandCodesOnlyWhenLinked) {
  setTexts(*dialog, EnglishLanguage());
  for (int index = 0; index <= 11; ++index)
    dialog->DC->OnChangeEnabled(dialog->DC, index, true);
  // Unlinked: a press does nothing (and does not fail).
  click(findChild(form, "Button", "C&hange"));
  std::vector<int> codes;
  dialog->DC->OnCommand = [&codes](components::TObject *, int code) { codes.push_back(code); };
  const char *inCodeOrder[] = {"S&uggest",    "Start",         "Undo &Last",  "&Options",
                               "&Change All", "C&hange",       "&Ignore All", "I&gnore",
                               "&Add",        "Au&to-Correct", "Hel&p",       "Cancel"};
  for (const char *caption : inCodeOrder)
    click(findChild(form, "Button", caption));
  EXPECT_EQ(codes, (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}));
}

TEST_F(SpellDialogTest, TheCloseBoxAsksTheControlAndStaysOpenWhenRefused) {
  dialog->Show();
  int asked = 0;
  dialog->DC->OnDialogCloseQuery = [&asked](components::TObject *, bool &canClose) {
    ++asked;
    canClose = false;
  };
  SendMessageA(form, WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_EQ(asked, 1);
  EXPECT_TRUE(IsWindowVisible(form));
  // Unlinked, the form closes (hides) as any form does.
  dialog->DC->OnDialogCloseQuery.Clear();
  SendMessageA(form, WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_FALSE(IsWindowVisible(form));
}

TEST_F(SpellDialogTest, ControlsReachTheComponentThroughTheLinkedControl) {
  std::vector<std::string> events;
  dialog->DC->OnWordEditChange = [&](components::TObject *) { events.push_back("edit"); };
  dialog->DC->OnSuggestionClick = [&](components::TObject *) { events.push_back("click"); };
  dialog->DC->OnSuggestionDblClick = [&](components::TObject *) { events.push_back("double"); };
  dialog->DC->Suggestions->Add("the");
  dialog->DC->Suggestions->Add("tea");
  EXPECT_EQ(dialog->DC->Suggestions->Count(), 2);
  dialog->DC->WordEdit->SetText("the");
  EXPECT_EQ(dialog->DC->WordEdit->Text(), "the");
  dialog->DC->WordEdit->SelectText(0, 2);
  HWND edit = findChildren(form, "Edit")[1];
  DWORD start = 0, end = 0;
  SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, 0u);
  EXPECT_EQ(end, 2u);
  // A person's click and double click on the list, as the list reports them.
  HWND list = findChildren(form, "ListBox")[0];
  SendMessageA(list, LB_SETCURSEL, 1, 0);
  SendMessageA(form, WM_COMMAND, MAKEWPARAM(0, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
  SendMessageA(form, WM_COMMAND, MAKEWPARAM(0, LBN_DBLCLK), reinterpret_cast<LPARAM>(list));
  EXPECT_EQ(dialog->DC->Suggestions->ItemIndex(), 1);
  EXPECT_EQ(dialog->DC->Suggestions->Item(1), "tea");
  EXPECT_EQ(events, (std::vector<std::string>{"edit", "click", "double"}));
}

TEST_F(SpellDialogTest, WithoutHelpNoHelpIconAndNoHelpContexts) {
  dialog->SetHelpEnabled(true);
  EXPECT_TRUE(GetWindowLongPtrA(form, GWL_EXSTYLE) & WS_EX_CONTEXTHELP);
  dialog->SetHelpEnabled(false);
  EXPECT_FALSE(GetWindowLongPtrA(form, GWL_EXSTYLE) & WS_EX_CONTEXTHELP);
  for (components::TControl *control : std::initializer_list<components::TControl *>{
           dialog->NotFound, dialog->WordEdit, dialog->SuggestBox, dialog->ChangeAll,
           dialog->Cancel, dialog->Options})
    EXPECT_EQ(control->HelpContext(), 0) << control->Caption();
}

} // namespace
