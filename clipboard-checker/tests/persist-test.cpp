// The persistence component over its stores: the text forms of every kind
// of property, the pseudo properties, load-only items, stores that keep
// other values, locations, events, and values that do not fit.
#include "clipboard-checker/core/kf-persist.h"
#include "clipboard-checker/core/property-text.h"
#include "clipboard-checker/tests/persist-test-support.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

using namespace lexitray;
using persist_test::MemoryPlatform;
using persist_test::Widget;
using persist_test::WidgetProperties;

namespace {

struct PersistFixture : ::testing::Test {
  PersistFixture() {
    auto owned = std::make_unique<MemoryPlatform>();
    platform = owned.get();
    persist = new TkfPersist(&form, std::move(owned), properties);
    persist->SetName("kfPersist1");
    persist->SetOptions(0);
  }
  void items(std::initializer_list<const char *> lines) {
    for (const char *line : lines)
      persist->Items().Add(line);
  }
  // The store file's text value under the component's key path.
  std::string stored(const std::string &path, const std::string &name,
                     const std::string &key = "Software\\") {
    TkfRegFile store;
    store.LoadFromBytes(platform->files.get(path));
    store.SetCurrentKey(key);
    return store.ReadString(name);
  }

  WidgetProperties properties;
  Widget form{nullptr, "Form1"};
  Widget *edit = new Widget(&form, "Edit1");
  Widget *panel = new Widget(&form, "Panel1");
  MemoryPlatform *platform = nullptr;
  TkfPersist *persist = nullptr;
};

const char kfpPath[] = "C:\\Apps\\state.kfp";

} // namespace

TEST_F(PersistFixture, EveryKindIsStoredInItsTextForm) {
  items({"(TForm);Width;1;(TForm)_Width;;1;0;1;;", "Edit1;Color;1;Edit1_Color",
         "Edit1;Cursor;1;Edit1_Cursor", "Edit1;Enabled;3;Edit1_Enabled",
         "Edit1;Align;3;Edit1_Align", "Edit1;Caption;10;Edit1_Caption",
         "Edit1;Accelerator;2;Edit1_Accel", "Edit1;Styles;6;Edit1_Styles",
         "Edit1;Buddy;7;Edit1_Buddy", "Edit1;OnClick;8;Edit1_OnClick",
         "Edit1;Bounds;0;Edit1_Bounds", "Edit1;Parent;0;Edit1_Parent"});
  persist->SetFileName("state.kfp");
  form.width = 320;
  edit->cursor = -21;
  edit->enabled = false;
  edit->align = 5;
  edit->caption = "Caf\xE9";
  edit->accelerator = 'K';
  edit->styles = 0x3;
  edit->buddy = panel;
  edit->bounds = {10, 20, 300, -4};
  edit->parent = panel;
  persist->Save();
  struct Case {
    const char *name, *text;
  } cases[] = {{"(TForm)_Width", "320"},
               {"Edit1_Color", "clBtnFace"},
               {"Edit1_Cursor", "crHandPoint"},
               {"Edit1_Enabled", "False"},
               {"Edit1_Align", "alClient"},
               {"Edit1_Caption", "Caf\xE9"},
               {"Edit1_Accel", "K"},
               {"Edit1_Styles", "[fsBold,fsItalic]"},
               {"Edit1_Buddy", "Panel1"},
               {"Edit1_OnClick", ""},
               {"Edit1_Bounds", "10;20;300;-4"},
               {"Edit1_Parent", "Panel1"}};
  for (const Case &c : cases)
    EXPECT_EQ(stored(kfpPath, c.name), c.text) << c.name;
}

TEST_F(PersistFixture, SavedValuesComeBackIntoFreshComponents) {
  items({"(TForm);Width;1;(TForm)_Width", "Edit1;Color;1;Color", "Edit1;Enabled;3;Enabled",
         "Edit1;Styles;6;Styles", "Edit1;Buddy;7;Buddy", "Edit1;Lines;7;Lines",
         "Edit1;Bounds;0;Bounds", "Edit1;Parent;0;Parent", "Edit1;Accelerator;2;Accel"});
  persist->SetStorageType(kfpRegistry);
  persist->SetRegistryKey("Software\\Ovelmark\\lexitray\\1.0");
  form.width = 640;
  edit->colour = 0x123456;
  edit->enabled = false;
  edit->styles = 0x5; // two members
  edit->buddy = panel;
  edit->lines.lines.SetText("one\r\ntwo\r\n");
  edit->bounds = {5, 6, 7, 8};
  edit->parent = panel;
  edit->accelerator = 'z';
  persist->Save();
  EXPECT_EQ(platform->registry["HKCU\\Software\\Ovelmark\\lexitray\\1.0"]["Color"].second,
            "1193046");

  form.width = 1;
  edit->colour = 0;
  edit->enabled = true;
  edit->styles = 0;
  edit->buddy = nullptr;
  edit->lines.lines.Clear();
  edit->bounds = {0, 0, 0, 0};
  edit->parent = nullptr;
  edit->accelerator = 'a';
  persist->Load();
  EXPECT_EQ(form.width, 640);
  EXPECT_EQ(edit->colour, 0x123456);
  EXPECT_FALSE(edit->enabled);
  EXPECT_EQ(edit->styles, 0x5u);
  EXPECT_EQ(edit->buddy, panel);
  EXPECT_EQ(edit->lines.lines.Text(), "one\r\ntwo\r\n");
  EXPECT_EQ(edit->bounds, (std::array<int, 4>{5, 6, 7, 8}));
  EXPECT_EQ(edit->parent, panel);
  EXPECT_EQ(edit->accelerator, 'z');
  EXPECT_TRUE(platform->messages.empty());
}

TEST_F(PersistFixture, BoundsFieldThatIsNotANumberKeepsThatValue) {
  items({"Edit1;Bounds;0;Bounds"});
  persist->SetStorageType(kfpRegistry);
  platform->registry["HKCU\\Software\\"]["Bounds"] = {false, "10;20;x;40"};
  edit->bounds = {1, 2, 3, 4};
  persist->Load();
  EXPECT_EQ(edit->bounds, (std::array<int, 4>{10, 20, 3, 40}));
}

TEST_F(PersistFixture, LoadOnlyItemIsLoadedButNeverWritten) {
  items({"Edit1;Caption;10;Caption;;1;1;1;;", "Edit1;Align;3;Align;;1;0;1;;"});
  persist->SetFileName("state.kfp");
  edit->caption = "from the program";
  persist->Save();
  TkfRegFile store;
  store.LoadFromBytes(platform->files.get(kfpPath));
  store.SetCurrentKey("Software\\");
  EXPECT_FALSE(store.ValueExists("Caption"));
  EXPECT_TRUE(store.ValueExists("Align"));
  store.WriteString("Caption", "from the store");
  ASSERT_TRUE(store.SaveToFile(kfpPath, platform->files));
  persist->Load();
  EXPECT_EQ(edit->caption, "from the store");
}

TEST_F(PersistFixture, SavingIntoAnExistingStoreFileKeepsOtherValues) {
  TkfRegFile existing;
  existing.SetCurrentKey("Software");
  existing.WriteString("Other", "kept");
  existing.SetCurrentKey("Elsewhere");
  existing.WriteString("Caption", "also kept");
  ASSERT_TRUE(existing.SaveToFile(kfpPath, platform->files));
  items({"Edit1;Caption;10;Caption"});
  persist->SetFileName("state.kfp");
  edit->caption = "new";
  persist->Save();
  EXPECT_EQ(stored(kfpPath, "Other"), "kept");
  EXPECT_EQ(stored(kfpPath, "Caption"), "new");
  EXPECT_EQ(stored(kfpPath, "Caption", "Elsewhere"), "also kept");
}

TEST_F(PersistFixture, MissingStoresAndUnknownNamesChangeNothing) {
  items({"Edit1;Caption;10;Caption", "Missing1;Caption;10;Caption",
         "Edit1;NoSuchProperty;1;Caption", ";;;", "Edit1;Caption;10;Absent"});
  edit->caption = "designed";
  for (TkfpStorageType type : {kfpFile, kfpIniFile, kfpRegistry}) {
    persist->SetStorageType(type);
    persist->SetFileName("none.kfp");
    persist->Load();
    EXPECT_EQ(edit->caption, "designed");
  }
  persist->SetStorageType(kfpRegistry);
  platform->registry["HKCU\\Software\\"]["Caption"] = {false, "stored"};
  persist->Save(); // the unknown items are skipped, Edit1 writes its own
  EXPECT_EQ(platform->registry["HKCU\\Software\\"]["Caption"].second, "designed");
  EXPECT_EQ(platform->registry["HKCU\\Software\\"].count("Absent"), 1u);
  EXPECT_TRUE(platform->messages.empty());
}

TEST_F(PersistFixture, ValueThatDoesNotFitShowsExceptFromFilesOnly) {
  items({"(TForm);Width;1;Width", "Edit1;Caption;10;Caption"});
  persist->SetStorageType(kfpIniFile);
  persist->SetFileName("state.ini");
  platform->files.put("C:\\Apps\\state.ini", "[Software\\]\r\nWidth=-5\r\nCaption=next\r\n");
  persist->Load();
  EXPECT_EQ(platform->messages, std::vector<std::string>{"except"});
  EXPECT_EQ(form.width, 100);
  EXPECT_EQ(edit->caption, "next"); // loading went on
  platform->messages.clear();
  persist->SetStorageType(kfpRegistry);
  platform->registry["HKCU\\Software\\"]["Width"] = {false, "-7"};
  platform->registry["HKCU\\Software\\"]["Caption"] = {true, "binary"}; // wrong type
  persist->Load();
  EXPECT_TRUE(platform->messages.empty());
  EXPECT_EQ(form.width, 100);
}

TEST_F(PersistFixture, IniFilesLeaveObjectValuesOut) {
  items({"Edit1;Lines;7;Lines", "Edit1;Caption;10;Caption"});
  persist->SetStorageType(kfpIniFile);
  persist->SetFileName("state.ini");
  edit->lines.lines.Add("line");
  edit->caption = "text";
  persist->Save();
  EXPECT_EQ(platform->files.get("C:\\Apps\\state.ini"), "[Software\\]\r\nCaption=text\r\n");
}

TEST_F(PersistFixture, TextFormsWhenLoading) {
  items({"Edit1;Color;1;Color", "Edit1;Cursor;1;Cursor", "Edit1;Styles;6;Styles",
         "Edit1;Align;3;Align", "Edit1;Buddy;7;Buddy", "(TForm);Width;1;Width"});
  persist->SetStorageType(kfpRegistry);
  auto &key = platform->registry["HKCU\\Software\\"];
  struct Case {
    const char *color, *cursor, *styles, *align, *buddy, *width;
    std::int64_t wantColour;
    int wantCursor;
    std::uint32_t wantStyles;
    int wantAlign;
    bool buddySet;
    int wantWidth;
  } cases[] = {
      {"clRed", "crHourGlass", "[fsItalic,nonsense,fsStrikeOut]", "alTop", "Panel1", "77", 0x0000FF,
       -11, 0xA, 1, true, 77},
      {"255", "-3", "[fsBold,,fsItalic]", "alUnknown", "Missing", "x", 255, -3, 0x1, 1, false, 0},
      {"CLWINDOW", "crhandpoint", "fsBold", "ALLEFT", "Form1", "", 0xFF000005, -21, 0x1, 3, false,
       0},
  };
  for (const Case &c : cases) {
    key["Color"] = {false, c.color};
    key["Cursor"] = {false, c.cursor};
    key["Styles"] = {false, c.styles};
    key["Align"] = {false, c.align};
    key["Buddy"] = {false, c.buddy};
    key["Width"] = {false, c.width};
    edit->buddy = edit;
    persist->Load();
    EXPECT_EQ(edit->colour, c.wantColour) << c.color;
    EXPECT_EQ(edit->cursor, c.wantCursor) << c.cursor;
    EXPECT_EQ(edit->styles, c.wantStyles) << c.styles;
    EXPECT_EQ(edit->align, c.wantAlign) << c.align;
    EXPECT_EQ(edit->buddy != nullptr, c.buddySet) << c.buddy;
    EXPECT_EQ(form.width, c.wantWidth) << c.width;
  }
}

TEST_F(PersistFixture, ParentMustBeAWindowedControl) {
  items({"Edit1;Parent;0;Parent"});
  persist->SetStorageType(kfpRegistry);
  panel->windowed = false;
  platform->registry["HKCU\\Software\\"]["Parent"] = {false, "Panel1"};
  persist->Load();
  EXPECT_EQ(edit->parent, nullptr);
}

TEST_F(PersistFixture, StoreLocations) {
  persist->SetOptions(kfpOption(kfpAutoFileName));
  EXPECT_EQ(persist->StoreLocation(), "C:\\Apps\\Lexitray.kfp");
  persist->SetStorageType(kfpIniFile);
  EXPECT_EQ(persist->StoreLocation(), "C:\\Apps\\Lexitray.ini");
  EXPECT_EQ(persist->StoreKey(), "Software\\");
  persist->SetOptions(0);
  persist->SetFileName("state.ini");
  persist->SetFileStorageDirectory(kfpWindows);
  EXPECT_EQ(persist->StoreLocation(), "C:\\Windows\\state.ini");
  persist->SetFileName("D:\\data\\state.ini");
  EXPECT_EQ(persist->StoreLocation(), "D:\\data\\state.ini");
  persist->SetStorageType(kfpRegistry);
  persist->SetRegistryKey("Software\\Ovelmark\\lexitray\\1.0");
  EXPECT_EQ(persist->StoreLocation(), "Software\\Ovelmark\\lexitray\\1.0");
  persist->SetOptions(kfpOption(kfpAutoRegKey));
  EXPECT_EQ(persist->StoreLocation(), "Software\\Lexitray.exe\\Form1\\kfPersist1");
  EXPECT_EQ(persist->StoreKey(), "Form1\\kfPersist1");
  form.SetName("");
  EXPECT_EQ(persist->StoreKey(), "Form1\\kfPersist1"); // the class name without its "T"
}

TEST_F(PersistFixture, EventsCanCancelAndFollow) {
  items({"Edit1;Caption;10;Caption"});
  persist->SetStorageType(kfpRegistry);
  std::vector<std::string> log;
  bool cancel = true;
  persist->BeforeSave = [&](components::TObject *, bool &c) {
    EXPECT_FALSE(c);
    log.push_back("before save");
    c = cancel;
  };
  persist->AfterSave = [&](components::TObject *) { log.push_back("after save"); };
  persist->BeforeLoad = [&](components::TObject *, bool &c) {
    log.push_back("before load");
    c = cancel;
  };
  persist->AfterLoad = [&](components::TObject *) { log.push_back("after load"); };
  persist->Save();
  persist->Load();
  EXPECT_TRUE(platform->registry.empty());
  cancel = false;
  persist->Save();
  persist->Load();
  EXPECT_EQ(log, (std::vector<std::string>{"before save", "before load", "before save",
                                           "after save", "before load", "after load"}));
}

TEST_F(PersistFixture, LoadedRenamesTheFormAndStartsTheAutomaticWork) {
  items({"Form1;Width;1;Width;;1;0;1;;", "Edit1;Width;1;W"});
  persist->BeginLoading();
  persist->SetOptions(kfpOption(kfpAutoSave) | kfpOption(kfpAutoLoad));
  EXPECT_FALSE(platform->destroyHooked);
  persist->Loaded();
  EXPECT_EQ(persist->Items()[0], "(TForm);Width;1;Width;;1;0;1;;");
  EXPECT_EQ(persist->Items()[1], "Edit1;Width;1;W");
  EXPECT_TRUE(platform->destroyHooked);
  EXPECT_EQ(platform->postedLoads, 1);
  persist->SetOptions(kfpOption(kfpAutoLoad)); // auto-save off at run time
  EXPECT_FALSE(platform->destroyHooked);
  persist->SetOptions(kfpAllOptions);
  EXPECT_TRUE(platform->destroyHooked);
}

TEST(PersistItemLine, FieldsAreTrimmedAndCounted) {
  PersistItem item = PersistItem::parse(" (TForm) ; Width ;1; (TForm)_Width ;;1; 1 ;1;desc;");
  EXPECT_EQ(item.componentName(), "(TForm)");
  EXPECT_EQ(item.propertyName(), "Width");
  EXPECT_EQ(item.valueName(), "(TForm)_Width");
  EXPECT_TRUE(item.loadOnly());
  EXPECT_EQ(item.field(8), "desc");
  EXPECT_EQ(item.field(20), "");
  EXPECT_TRUE(PersistItem::parse(";;;Name").counts());
  EXPECT_FALSE(PersistItem::parse(";;1;;x;y").counts());
  EXPECT_FALSE(PersistItem::parse("").counts());
}

TEST(PersistBinaryValue, BlocksForEmptyAndFullObjects) {
  persist_test::ListObject list;
  std::string empty = binaryValue(list);
  EXPECT_EQ(empty, std::string("EMPTY") + std::string(27, '\0') + "03");
  list.lines.Add("a");
  std::string full = binaryValue(list);
  EXPECT_EQ(full, std::string("TStringList") + std::string(21, '\0') + "03" + "a\r\n");
  persist_test::ListObject other;
  loadBinaryValue(other, full);
  EXPECT_EQ(other.lines.Text(), "a\r\n");
  loadBinaryValue(other, empty);
  EXPECT_EQ(other.lines.Count(), 0);
  other.lines.Add("kept");
  loadBinaryValue(other, full.substr(0, 33)); // too short for the marker
  loadBinaryValue(other, std::string("TStrings") + std::string(24, '\0') + "03x"); // another class
  std::string unmarked = full;
  unmarked[32] = '0';
  unmarked[33] = '4';
  loadBinaryValue(other, unmarked);
  EXPECT_EQ(other.lines.Text(), "kept\r\n");
}
