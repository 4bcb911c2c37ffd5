// The persistence component's setup dialog under Wine, opened by ShowSetup
// on a form with one property of each kind and driven through its windows
// as a person would: entries read from the list, an entry chosen, a value
// typed or picked, "&Apply", "&OK" and "Cancel" pressed. A screenshot of the
// dialog stays in the test's build folder (persist-setup-dialog.bmp).
#include "clipboard-checker/win32/component-properties.h"
#include "clipboard-checker/win32/persist-edit-dialog.h"
#include "clipboard-checker/win32/persist-platform.h"
#include "platform/components/core/exception.h"
#include "platform/components/win32/application.h"
#include "platform/components/win32/forms.h"
#include "platform/components/win32/std-controls.h"
#include "clipboard-checker/tests/setup-dialog-support.h"
#include "testing/dialog-driver.h"
#include "testing/test-paths.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <array>
#include <memory>
#include <string>
#include <vector>

using namespace components;
using namespace lexitray;
using namespace dialog_test;
using namespace setup_dialog;

namespace {

// A memo's lines as a string list property.
class MemoLines : public PersistentObject {
public:
  explicit MemoLines(TMemo *&memo) : memo_(memo) {}
  Kind kind() const override { return Kind::StringList; }
  std::string className() const override { return "TStrings"; }
  bool isEmpty() const override { return memo_->Lines().Count() == 0; }
  void clear() override { memo_->Lines().Clear(); }
  std::string saveState() const override { return memo_->Lines().Text(); }
  void loadState(const std::string &state) override { memo_->Lines().SetText(state); }

private:
  TMemo *&memo_;
};

// What the component library's tables lack for one property of each kind:
// the form's border style (enumeration) and border icons (set), a label's
// focus control (component reference), and two integers of the test's own
// on the panels: a colour, and a share that refuses values beyond 0..100;
// and a memo's lines (string list).
class TestProperties : public PropertyAccess {
public:
  bool findProperty(TComponent &component, const std::string &name,
                    PublishedProperty &property) override {
    property = PublishedProperty{};
    property.name = name;
    auto *form = dynamic_cast<TForm *>(&component);
    auto *label = dynamic_cast<TLabel *>(&component);
    if (form && SameText(name, "BorderStyle")) {
      property.kind = TTypeKind::tkEnumeration;
      property.valueNames = {"bsNone",   "bsSingle",     "bsSizeable",
                             "bsDialog", "bsToolWindow", "bsSizeToolWin"};
      property.getOrdinal = [form] { return std::int64_t{form->BorderStyle()}; };
      property.setOrdinal = [form](std::int64_t v) {
        form->SetBorderStyle(static_cast<TFormBorderStyle>(v));
      };
      return true;
    }
    if (form && SameText(name, "BorderIcons")) {
      property.kind = TTypeKind::tkSet;
      property.valueNames = {"biSystemMenu", "biMinimize", "biMaximize", "biHelp"};
      property.getOrdinal = [form] { return std::int64_t{form->BorderIcons()}; };
      property.setOrdinal = [form](std::int64_t v) {
        form->SetBorderIcons(static_cast<TBorderIcons>(v));
      };
      return true;
    }
    if (label && SameText(name, "FocusControl")) {
      property.kind = TTypeKind::tkClass;
      property.getComponent = [label] { return label->FocusControl(); };
      property.setComponent = [label](TComponent *c) {
        label->SetFocusControl(dynamic_cast<TWinControl *>(c));
      };
      property.accepts = [](TComponent *c) { return dynamic_cast<TWinControl *>(c) != nullptr; };
      return true;
    }
    if (SameText(component.Name(), "Panel2") && SameText(name, "Color")) {
      property.kind = TTypeKind::tkInteger;
      property.integerNames = IntegerNames::Colour;
      property.getOrdinal = [this] { return colour; };
      property.setOrdinal = [this](std::int64_t v) { colour = v; };
      return true;
    }
    if (memo && &component == memo && SameText(name, "Lines")) {
      property.kind = TTypeKind::tkClass;
      property.object = &memoLines;
      return true;
    }
    if (SameText(component.Name(), "Panel1") && SameText(name, "Percent")) {
      property.kind = TTypeKind::tkInteger;
      property.getOrdinal = [this] { return std::int64_t{percent}; };
      property.setOrdinal = [this](std::int64_t v) {
        if (v < 0 || v > 100)
          throw Exception("A share lies between 0 and 100");
        percent = static_cast<int>(v);
      };
      return true;
    }
    return library.findProperty(component, name, property);
  }
  bool findControl(TComponent &component, ControlAccess &control) override {
    return library.findControl(component, control);
  }

  ComponentProperties library;
  TMemo *memo = nullptr;
  MemoLines memoLines{memo};
  std::int64_t colour = 0xFF00000F; // clBtnFace
  int percent = 40;
};

// The entries' order in the dialog; "Edit1_Text" is not marked for it.
const std::vector<std::string> listedNames = {
    "(TForm)_Width", "(TForm)_Caption", "(TForm)_BorderStyle", "(TForm)_BorderIcons",
    "Panel2_Color",  "Panel1_Percent",  "Label1_FocusControl", "Edit1_Parent",
    "Edit1_Bounds",  "Memo1_Lines"};

class PersistEditDialogTest : public ::testing::Test {
protected:
  void SetUp() override {
    installDesignedFont();
    form = std::make_unique<TForm>(nullptr);
    form->SetName("Form1");
    form->SetCaption("Kept Form");
    form->SetBounds(60, 40, 300, 200);
    panel1 = new TPanel(form.get());
    panel1->SetName("Panel1");
    panel1->SetBounds(8, 8, 130, 90);
    panel1->SetParent(form.get());
    panel2 = new TPanel(form.get());
    panel2->SetName("Panel2");
    panel2->SetBounds(150, 8, 130, 90);
    panel2->SetParent(form.get());
    edit = new TEdit(form.get());
    edit->SetName("Edit1");
    edit->SetBounds(4, 4, 100, 21);
    edit->SetParent(panel1);
    label = new TLabel(form.get());
    label->SetName("Label1");
    label->SetCaption("&Name");
    label->SetBounds(8, 110, 60, 14);
    label->SetParent(form.get());
    label->SetFocusControl(edit);
    memo = new TMemo(form.get());
    memo->SetName("Memo1");
    memo->SetBounds(150, 110, 130, 60);
    memo->SetParent(form.get());
    memo->Lines().Add("alpha");
    properties.memo = memo;
    persist = new TkfPersist(form.get(), makePersistPlatform(), properties);
    persist->SetName("kfPersist1");
    persist->SetOptions(0);
    for (const char *line :
         {"(TForm);Width;1;(TForm)_Width;;1;0;1;The form's width in pixels;",
          "(TForm);Caption;10;(TForm)_Caption;;1;0;1;The form's caption;",
          "(TForm);BorderStyle;3;(TForm)_BorderStyle;;1;0;1;The form's frame;",
          "(TForm);BorderIcons;6;(TForm)_BorderIcons;;1;0;1;Buttons of the caption bar;",
          "Panel2;Color;1;Panel2_Color;;1;0;1;The swatch's colour;",
          "Panel1;Percent;1;Panel1_Percent;;1;0;1;A share from 0 to 100;",
          "Label1;FocusControl;7;Label1_FocusControl;;1;0;1;What the label's key focuses;",
          "Edit1;Parent;0;Edit1_Parent;;1;0;1;Where the edit lies;",
          "Edit1;Bounds;0;Edit1_Bounds;;1;0;1;The edit's place and size;",
          "Memo1;Lines;7;Memo1_Lines;;1;0;1;The memo's lines;",
          "Edit1;Text;10;Edit1_Text;;1;0;0;not listed;"})
      persist->Items().Add(line);
    form->Show();
  }
  void TearDown() override { form.reset(); }

  // Opens the setup dialog and runs the steps inside its modal loop; a
  // script that stalls presses Cancel (and any message's OK) at the
  // deadline. Answers ShowSetup's result.
  bool runDialog(std::vector<DialogDriver::Step> steps) {
    DialogDriver driver(std::move(steps), [] {
      if (HWND message = test_windows::threadDialog())
        PostMessageA(message, WM_COMMAND, IDOK, 0);
      pressIfEnabled(dialog(), "Cancel");
    });
    bool result = persist->ShowSetup();
    EXPECT_TRUE(driver.Finished()) << "stalled after step " << driver.StepsDone();
    return result;
  }

  // The items of a list box or a combo box, by its count and text
  // messages.
  static std::vector<std::string> itemsOf(HWND control, UINT countMessage, UINT textMessage) {
    std::vector<std::string> items;
    int count = static_cast<int>(SendMessageA(control, countMessage, 0, 0));
    for (int i = 0; i < count; ++i) {
      char text[256] = {};
      SendMessageA(control, textMessage, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
      items.push_back(text);
    }
    return items;
  }
  static std::vector<std::string> entries() { return itemsOf(itemList(), LB_GETCOUNT, LB_GETTEXT); }
  // The visible window of a class in the dialog, the list of entries
  // aside: the shown editor.
  static HWND visible(const std::string &className) {
    for (HWND window : findChildren(dialog(), className))
      if (IsWindowVisible(window) && GetParent(window) == dialog() && window != itemList())
        return window;
    return nullptr;
  }
  static void typeInto(HWND edit, const std::string &text) {
    // The whole text replaced as typing over a selection would: the edit
    // reports it with EN_CHANGE.
    SendMessageA(edit, EM_SETSEL, 0, -1);
    SendMessageA(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.c_str()));
  }
  static void pick(HWND combo, const std::string &choice) {
    LRESULT index = SendMessageA(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                 reinterpret_cast<LPARAM>(choice.c_str()));
    ASSERT_GE(index, 0) << choice;
    SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    notify(combo, CBN_SELCHANGE);
  }
  static void selectMembers(HWND list, const std::vector<std::string> &members) {
    SendMessageA(list, LB_SETSEL, FALSE, -1);
    for (const std::string &member : members) {
      LRESULT index = SendMessageA(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                   reinterpret_cast<LPARAM>(member.c_str()));
      ASSERT_GE(index, 0) << member;
      SendMessageA(list, LB_SETSEL, TRUE, index);
    }
    notify(list, LBN_SELCHANGE);
  }

  // Edits one entry of each kind the library's forms have.
  void editEveryKind() {
    choose("(TForm)_Width");
    typeInto(visible("Edit"), "333");
    choose("(TForm)_Caption");
    typeInto(visible("Edit"), "Renamed Form");
    choose("(TForm)_BorderStyle");
    pick(visible("ComboBox"), "bsDialog");
    choose("(TForm)_BorderIcons");
    selectMembers(visible("ListBox"), {"biSystemMenu", "biHelp"});
    choose("Panel2_Color");
    pick(visible("ComboBox"), "clWindow");
    choose("Panel1_Percent");
    typeInto(visible("Edit"), "75");
    choose("Label1_FocusControl");
    pick(visible("ComboBox"), "Panel2");
    choose("Edit1_Parent");
    pick(visible("ComboBox"), "Panel2");
    choose("Edit1_Bounds");
    typeInto(visible("Edit"), "5;6;70;22");
    choose("Memo1_Lines");
    typeInto(visible("Edit"), "beta\r\ngamma");
  }
  void expectEveryKindEdited() {
    EXPECT_EQ(form->Width(), 333);
    EXPECT_EQ(form->Caption(), "Renamed Form");
    EXPECT_EQ(form->BorderStyle(), bsDialog);
    EXPECT_EQ(form->BorderIcons(), biSystemMenu | biHelp);
    EXPECT_EQ(properties.colour, std::int64_t{0xFF000005}); // clWindow
    EXPECT_EQ(properties.percent, 75);
    EXPECT_EQ(label->FocusControl(), panel2);
    EXPECT_EQ(edit->Parent(), panel2);
    EXPECT_EQ(GetParent(edit->Handle()), panel2->Handle());
    EXPECT_EQ(edit->BoundsRect().left, 5);
    EXPECT_EQ(edit->Width(), 70);
    ASSERT_EQ(memo->Lines().Count(), 2);
    EXPECT_EQ(memo->Lines()[1], "gamma");
  }
  void expectNothingEdited() {
    EXPECT_EQ(form->Width(), 300);
    EXPECT_EQ(form->Caption(), "Kept Form");
    EXPECT_EQ(form->BorderStyle(), bsSizeable);
    EXPECT_EQ(properties.colour, std::int64_t{0xFF00000F});
    EXPECT_EQ(properties.percent, 40);
    EXPECT_EQ(label->FocusControl(), edit);
    EXPECT_EQ(edit->Parent(), panel1);
    EXPECT_EQ(edit->Width(), 100);
    ASSERT_EQ(memo->Lines().Count(), 1);
    EXPECT_EQ(memo->Lines()[0], "alpha");
  }

  TestProperties properties;
  std::unique_ptr<TForm> form;
  TPanel *panel1 = nullptr;
  TPanel *panel2 = nullptr;
  TEdit *edit = nullptr;
  TLabel *label = nullptr;
  TMemo *memo = nullptr;
  TkfPersist *persist = nullptr;
};

// The pixels the screen shows at a list entry's left edge equal the
// bitmap resource of the entry's type code.
bool showsPicture(HWND list, int index, const char *resource) {
  RECT item{};
  SendMessageA(list, LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
  base::GdiObject<HBITMAP> bitmap(LoadBitmapA(GetModuleHandleA(nullptr), resource));
  if (!bitmap)
    return false;
  base::WindowDC screen(list);
  base::CreatedDC memory(CreateCompatibleDC(screen.get()));
  base::SelectedObject selected(memory.get(), bitmap.get());
  int top = item.top + (item.bottom - item.top - TkfPersistEdit::PictureSize) / 2;
  for (int y = 0; y < TkfPersistEdit::PictureSize; ++y)
    for (int x = 0; x < TkfPersistEdit::PictureSize; ++x)
      if (GetPixel(screen.get(), item.left + x, top + y) != GetPixel(memory.get(), x, y))
        return false;
  return true;
}

} // namespace

TEST_F(PersistEditDialogTest, ListsTheMarkedItemsWithPicturesAndDescriptions) {
  bool shot = false;
  bool result = runDialog({
      [&] { return dialog() != nullptr && IsWindowVisible(itemList()); },
      [&] {
        EXPECT_EQ(entries(), listedNames);
        // Width's type code 1 and BorderIcons' 6 have pictures; the
        // parent's 0 has none (the entry's left edge stays the list's).
        EXPECT_TRUE(showsPicture(itemList(), 0, "PROP_1"));
        EXPECT_TRUE(showsPicture(itemList(), 3, "PROP_6"));
        EXPECT_FALSE(showsPicture(itemList(), 7, "PROP_1"));
        EXPECT_EQ(labels(), (std::vector<std::string>{"The form's width in pixels", "integer"}));
        EXPECT_EQ(windowText(visible("Edit")), "300");
        choose("(TForm)_BorderIcons");
        EXPECT_EQ(labels(), (std::vector<std::string>{"Buttons of the caption bar", "set"}));
        choose("Label1_FocusControl");
        EXPECT_EQ(labels()[1], "component");
        EXPECT_EQ(windowText(visible("ComboBox")), "Edit1");
        choose("Edit1_Parent");
        EXPECT_EQ(labels(), (std::vector<std::string>{"Where the edit lies", "TWinControl"}));
        EXPECT_EQ(windowText(visible("ComboBox")), "Panel1");
        // Only a windowed control can hold the edit: the label is no choice.
        EXPECT_EQ(itemsOf(visible("ComboBox"), CB_GETCOUNT, CB_GETLBTEXT),
                  (std::vector<std::string>{"Panel1", "Panel2", "Memo1"}));
        choose("Edit1_Bounds");
        EXPECT_EQ(labels()[1], "Bounds = (left; top; width; height)");
        EXPECT_EQ(windowText(visible("Edit")), "4;4;100;21");
        choose("Panel2_Color");
        EXPECT_EQ(windowText(visible("ComboBox")), "clBtnFace");
        choose("Memo1_Lines");
        EXPECT_EQ(labels(), (std::vector<std::string>{"The memo's lines", "TStrings"}));
        EXPECT_EQ(windowText(visible("Edit")).substr(0, 5), "alpha");
        EXPECT_FALSE(applyEnabled());
        choose("(TForm)_BorderIcons");
        shot = saveWindowShot(
            dialog(), testing_support::hostPath(testing_support::envOr("TEST_BINARY_DIR", ".") +
                                                std::string("/persist-setup-dialog.bmp")));
        return true;
      },
      [&] { return pressIfEnabled(dialog(), "Cancel"); },
  });
  EXPECT_FALSE(result);
  EXPECT_TRUE(shot);
}

// Every kind through Apply: the values reach the properties, Apply
// disables itself; then one more change through OK, which closes.
TEST_F(PersistEditDialogTest, ApplyAndOkWriteEveryKindBack) {
  bool result = runDialog({
      [&] { return dialog() != nullptr; },
      [&] {
        editEveryKind();
        EXPECT_TRUE(applyEnabled());
        EXPECT_EQ(form->Width(), 300); // nothing written before Apply
        return pressIfEnabled(dialog(), "&Apply");
      },
      [&] {
        if (applyEnabled())
          return false;
        expectEveryKindEdited();
        choose("(TForm)_Caption");
        typeInto(visible("Edit"), "Kept by OK");
        choose("Panel1_Percent");
        typeInto(visible("Edit"), "12");
        return pressIfEnabled(dialog(), "&OK");
      },
  });
  EXPECT_TRUE(result);
  EXPECT_EQ(form->Caption(), "Kept by OK");
  EXPECT_EQ(properties.percent, 12);
  EXPECT_EQ(form->BorderIcons(), biSystemMenu | biHelp);
}

TEST_F(PersistEditDialogTest, CancelChangesNothing) {
  bool result = runDialog({
      [&] { return dialog() != nullptr; },
      [&] {
        editEveryKind();
        return pressIfEnabled(dialog(), "Cancel");
      },
  });
  EXPECT_FALSE(result);
  expectNothingEdited();
  EXPECT_EQ(form->BorderIcons(), biSystemMenu | biMinimize | biMaximize);
}

// A share of 250 does not fit its property: "except" is shown, the other
// values are applied all the same.
TEST_F(PersistEditDialogTest, AValueThatDoesNotFitIsReportedWhileTheRestApply) {
  std::string reported;
  bool result = runDialog({
      [&] { return dialog() != nullptr; },
      [&] {
        choose("Panel1_Percent");
        typeInto(visible("Edit"), "250");
        choose("(TForm)_Caption");
        typeInto(visible("Edit"), "Applied");
        return pressIfEnabled(dialog(), "&Apply");
      },
      [&] {
        HWND message = test_windows::threadDialog();
        if (!message)
          return false;
        for (HWND text : findChildren(message, "Static"))
          reported += windowText(text);
        PostMessageA(message, WM_COMMAND, IDOK, 0);
        return true;
      },
      [&] {
        if (test_windows::threadDialog())
          return false;
        EXPECT_EQ(properties.percent, 40);
        EXPECT_EQ(form->Caption(), "Applied");
        EXPECT_FALSE(applyEnabled());
        return pressIfEnabled(dialog(), "Cancel");
      },
  });
  EXPECT_FALSE(result);
  EXPECT_NE(reported.find("except"), std::string::npos) << reported;
  EXPECT_EQ(form->Caption(), "Applied");
}
