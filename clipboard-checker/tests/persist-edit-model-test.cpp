// The setup dialog's behaviour apart from its windows, on a form with one
// property of each kind: what is listed, the editor and label per kind,
// changes held in the dialog's store until Apply or OK, and Cancel.
#include "clipboard-checker/core/persist-edit-model.h"
#include "clipboard-checker/core/property-text.h"
#include "clipboard-checker/tests/persist-test-support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <memory>
#include <string>
#include <vector>

using namespace lexitray;
using persist_test::MemoryPlatform;
using persist_test::Widget;
using persist_test::WidgetProperties;

namespace {

struct EditModelFixture : ::testing::Test {
  EditModelFixture() {
    auto owned = std::make_unique<MemoryPlatform>();
    platform = owned.get();
    persist = new TkfPersist(&form, std::move(owned), properties);
    persist->SetName("kfPersist1");
    persist->SetOptions(0);
    for (const char *line :
         {"(TForm);Width;1;(TForm)_Width;;1;0;1;The form's width;",
          "Edit1;Color;1;Edit1_Color;;1;0;1;Colour;", "Edit1;Enabled;3;Edit1_Enabled;;1;0;1;;",
          "Edit1;Caption;10;Edit1_Caption;;1;0;1;;", "Edit1;Styles;6;Edit1_Styles;;1;0;1;;",
          "Edit1;Buddy;7;Edit1_Buddy;;1;0;1;;", "Edit1;Parent;0;Edit1_Parent;;1;0;1;;",
          "Edit1;Bounds;0;Edit1_Bounds;;1;0;1;;", "Edit1;Lines;7;Edit1_Lines;;1;0;1;;",
          "Edit1;Align;3;Edit1_Align;;1;0;0;not listed;"})
      persist->Items().Add(line);
    edit->buddy = panel;
    edit->parent = panel;
  }
  int entry(const std::string &valueName) {
    for (int i = 0; i < model().Count(); ++i)
      if (model().Entry(i).valueName == valueName)
        return i;
    ADD_FAILURE() << valueName << " is not listed";
    return 0;
  }
  TkfPersistEditModel &model() {
    if (!model_)
      model_ = std::make_unique<TkfPersistEditModel>(*persist);
    return *model_;
  }

  WidgetProperties properties;
  Widget form{nullptr, "Form1"};
  Widget *edit = new Widget(&form, "Edit1");
  Widget *panel = new Widget(&form, "Panel1");
  Widget *other = new Widget(&form, "Panel2");
  MemoryPlatform *platform = nullptr;
  TkfPersist *persist = nullptr;
  std::unique_ptr<TkfPersistEditModel> model_;
};

} // namespace

TEST_F(EditModelFixture, ListsMarkedItemsWithPictureAndDescription) {
  ASSERT_EQ(model().Count(), 9); // Align's field 7 is not "1"
  EXPECT_EQ(model().Entry(0).valueName, "(TForm)_Width");
  EXPECT_EQ(model().Entry(0).pictureName, "PROP_1");
  EXPECT_EQ(model().Entry(0).description, "The form's width");
  EXPECT_EQ(model().Entry(entry("Edit1_Styles")).pictureName, "PROP_6");
  // Type code 0: no picture.
  EXPECT_EQ(model().Entry(entry("Edit1_Bounds")).pictureName, "");
}

TEST_F(EditModelFixture, EachKindHasItsEditorAndWord) {
  struct Case {
    const char *valueName;
    PersistEditorKind kind;
    const char *label;
  } cases[] = {
      {"(TForm)_Width", PersistEditorKind::Integer, "integer"},
      {"Edit1_Color", PersistEditorKind::Integer, "integer"},
      {"Edit1_Enabled", PersistEditorKind::Enum, "enum"},
      {"Edit1_Caption", PersistEditorKind::String, "string"},
      {"Edit1_Styles", PersistEditorKind::Set, "set"},
      {"Edit1_Buddy", PersistEditorKind::Component, "component"},
      {"Edit1_Parent", PersistEditorKind::Parent, "TWinControl"},
      {"Edit1_Bounds", PersistEditorKind::Bounds, "Bounds = (left; top; width; height)"},
      {"Edit1_Lines", PersistEditorKind::StringList, "TStringList"},
  };
  for (const Case &c : cases) {
    PersistEditor editor = model().Editor(entry(c.valueName));
    EXPECT_EQ(editor.kind, c.kind) << c.valueName;
    EXPECT_EQ(editor.label, c.label) << c.valueName;
  }
  EXPECT_EQ(model().Editor(entry("Edit1_Enabled")).choices,
            (std::vector<std::string>{"False", "True"}));
  EXPECT_EQ(model().Editor(entry("Edit1_Styles")).choices.size(), 4u);
  PersistEditor colour = model().Editor(entry("Edit1_Color"));
  EXPECT_TRUE(colour.editableChoice);
  EXPECT_NE(std::find(colour.choices.begin(), colour.choices.end(), "clBtnFace"),
            colour.choices.end());
  // Components of the property's class; controls other than the item's own.
  EXPECT_EQ(model().Editor(entry("Edit1_Buddy")).choices,
            (std::vector<std::string>{"Edit1", "Panel1", "Panel2"}));
  EXPECT_EQ(model().Editor(entry("Edit1_Parent")).choices,
            (std::vector<std::string>{"Panel1", "Panel2"}));
}

TEST_F(EditModelFixture, OpensWithTheCurrentValuesAsASaveWritesThem) {
  form.width = 320;
  edit->styles = 0x5;
  edit->bounds = {10, 20, 300, 40};
  EXPECT_EQ(model().Text(entry("(TForm)_Width")), "320");
  EXPECT_EQ(model().Text(entry("Edit1_Color")), "clBtnFace");
  EXPECT_EQ(model().Text(entry("Edit1_Enabled")), "True");
  EXPECT_EQ(model().Text(entry("Edit1_Styles")), "[fsBold,fsUnderline]");
  EXPECT_EQ(model().SetMembers(entry("Edit1_Styles")),
            (std::vector<std::string>{"fsBold", "fsUnderline"}));
  EXPECT_EQ(model().Text(entry("Edit1_Buddy")), "Panel1");
  EXPECT_EQ(model().Text(entry("Edit1_Parent")), "Panel1");
  EXPECT_EQ(model().Text(entry("Edit1_Bounds")), "10;20;300;40");
  EXPECT_FALSE(model().ApplyEnabled());
}

// Every editor kind: the change waits in the dialog's store, Apply writes
// it to the property and disables itself.
TEST_F(EditModelFixture, ApplyWritesEveryKindBack) {
  model().SetText(entry("(TForm)_Width"), "250");
  model().SetText(entry("Edit1_Color"), "clWindow");
  model().SetText(entry("Edit1_Enabled"), "False");
  model().SetText(entry("Edit1_Caption"), "Renamed");
  model().SetSetMembers(entry("Edit1_Styles"), {"fsItalic", "fsStrikeOut"});
  model().SetText(entry("Edit1_Buddy"), "Panel2");
  model().SetText(entry("Edit1_Parent"), "Panel2");
  model().SetText(entry("Edit1_Bounds"), "5;6;70;80");
  EXPECT_TRUE(model().ApplyEnabled());
  EXPECT_EQ(form.width, 100);
  EXPECT_EQ(edit->caption, "");
  EXPECT_EQ(edit->parent, panel);

  model().Apply();
  EXPECT_FALSE(model().ApplyEnabled());
  EXPECT_EQ(form.width, 250);
  std::string ident;
  ASSERT_TRUE(colourToIdent(edit->colour, ident));
  EXPECT_EQ(ident, "clWindow");
  EXPECT_FALSE(edit->enabled);
  EXPECT_EQ(edit->caption, "Renamed");
  EXPECT_EQ(edit->styles, 0xAu);
  EXPECT_EQ(edit->buddy, other);
  EXPECT_EQ(edit->parent, other);
  EXPECT_EQ(edit->bounds, (std::array<int, 4>{5, 6, 70, 80}));
}

// Cancel closes without Apply: a dialog whose changes are dropped leaves
// every property as it was, and a reopened dialog shows the old values.
TEST_F(EditModelFixture, CancelChangesNothing) {
  model().SetText(entry("(TForm)_Width"), "250");
  model().SetText(entry("Edit1_Caption"), "Renamed");
  model().SetSetMembers(entry("Edit1_Styles"), {"fsBold"});
  model_.reset();
  EXPECT_EQ(form.width, 100);
  EXPECT_EQ(edit->caption, "");
  EXPECT_EQ(edit->styles, 0u);
  EXPECT_EQ(model().Text(entry("(TForm)_Width")), "100");
}

// A string list is edited as its lines; no lines store it as "EMPTY",
// which a load clears the list by.
TEST_F(EditModelFixture, AStringListIsEditedAsItsLines) {
  edit->lines.lines.Add("first");
  EXPECT_EQ(model().ListText(entry("Edit1_Lines")), "first\r\n");
  model().SetListText(entry("Edit1_Lines"), "one\r\ntwo");
  EXPECT_TRUE(model().ApplyEnabled());
  EXPECT_EQ(edit->lines.lines.Count(), 1);
  model().Apply();
  ASSERT_EQ(edit->lines.lines.Count(), 2);
  EXPECT_EQ(edit->lines.lines[1], "two");
  model().SetListText(entry("Edit1_Lines"), "");
  model().Apply();
  EXPECT_EQ(edit->lines.lines.Count(), 0);
}

// A value its property refuses is reported as a load from a file reports
// it, and the other items are still applied.
TEST_F(EditModelFixture, AValueThatDoesNotFitIsReportedAndTheRestApplied) {
  model().SetText(entry("(TForm)_Width"), "-5");
  model().SetText(entry("Edit1_Caption"), "Kept");
  model().Apply();
  EXPECT_EQ(platform->messages, (std::vector<std::string>{"except"}));
  EXPECT_EQ(form.width, 100);
  EXPECT_EQ(edit->caption, "Kept");
}
