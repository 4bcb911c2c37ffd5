// The persistence component on real forms under Wine: registry values in
// their text forms (read back with the platform's own registry and INI
// functions), the posted load request, saving on the form's destruction,
// and store files in a scratch folder.
#include "clipboard-checker/core/kfp-store.h"
#include "clipboard-checker/win32/persist-platform.h"
#include "platform/components/win32/application.h"
#include "platform/components/win32/forms.h"
#include "platform/components/win32/menus.h"
#include "platform/components/win32/std-controls.h"
#include "testing/test-paths.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

using namespace components;
using namespace lexitray;

namespace {

const char stateKey[] = "Software\\Ovelmark\\lexitray\\1.0";

// A form with a check item and a panel, kept by a persistence component.
struct KeptForm {
  explicit KeptForm(TkfpStorageType type, const std::string &fileName = std::string()) {
    form = std::make_unique<TForm>(nullptr);
    form->SetName("Form1");
    form->SetBounds(200, 150, 420, 300);
    item = new TMenuItem(form.get());
    item->SetName("SingleclickRestore1");
    panel = new TPanel(form.get());
    panel->SetName("Panel1");
    panel->SetParent(form.get());
    edit = new TEdit(form.get());
    edit->SetName("Edit1");
    edit->SetParent(form.get());
    // The form's own destroy handler exists before the component takes
    // the event over, as with a form read from its resource.
    form->OnDestroy = [this](TObject *) { log.push_back("form's own handler"); };
    persist = createPersist(form.get());
    persist->SetName("kfPersist1");
    persist->BeginLoading();
    persist->SetStorageType(type);
    persist->SetRegistryKey(stateKey);
    persist->SetFileName(fileName);
    persist->SetOptions(kfpOption(kfpAutoSave));
    for (const char *line :
         {"(TForm);Height;1;(TForm)_Height;;1;0;1;;", "(TForm);Width;1;(TForm)_Width;;1;0;1;;",
          "(TForm);Top;1;(TForm)_Top;;1;0;1;;", "(TForm);Left;1;(TForm)_Left;;1;0;1;;",
          "SingleclickRestore1;Checked;3;SingleclickRestore1_Checked;;1;0;1;;",
          "Edit1;Parent;0;Edit1_Parent", "Edit1;Bounds;0;Edit1_Bounds", "Edit1;Text;10;Edit1_Text"})
      persist->Items().Add(line);
    persist->AfterLoad = [this](TObject *) { ++loads; };
    persist->AfterSave = [this](TObject *) { log.push_back("saved"); };
    persist->Loaded();
  }
  void change() {
    form->SetBounds(123, 77, 456, 321);
    item->SetChecked(true);
    edit->SetParent(panel);
    edit->SetBounds(3, 4, 50, 21);
    edit->SetText("caf\xE9");
  }
  void expectChanged() {
    EXPECT_EQ(form->Left(), 123);
    EXPECT_EQ(form->Top(), 77);
    EXPECT_EQ(form->Width(), 456);
    EXPECT_EQ(form->Height(), 321);
    EXPECT_TRUE(item->Checked());
    EXPECT_EQ(edit->Parent(), panel);
    EXPECT_EQ(GetParent(edit->Handle()), panel->Handle());
    EXPECT_EQ(edit->Left(), 3);
    EXPECT_EQ(edit->Width(), 50);
    EXPECT_EQ(edit->Text(), "caf\xE9");
  }
  void loadNow() {
    int before = loads;
    persist->PostLoad();
    EXPECT_EQ(loads, before); // the request waits for the message loop
    Application->WaitUntil([&] { return loads > before; }, 10000);
    EXPECT_EQ(loads, before + 1);
  }

  std::unique_ptr<TForm> form;
  TMenuItem *item;
  TPanel *panel;
  TEdit *edit;
  TkfPersist *persist;
  int loads = 0;
  std::vector<std::string> log;
};

std::string registryText(const std::string &name, DWORD &type) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, stateKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
    return "(no key)";
  char data[256] = {};
  DWORD size = sizeof data - 1;
  LONG status =
      RegQueryValueExA(key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE *>(data), &size);
  RegCloseKey(key);
  return status == ERROR_SUCCESS ? std::string(data) : "(no value)";
}

void deleteStateKey() { RegDeleteKeyA(HKEY_CURRENT_USER, stateKey); }

std::string scratchFile(const std::string &name) {
  std::string folder = testing_support::scratchPath("persist");
  CreateDirectoryA(folder.c_str(), nullptr);
  std::string path = folder + "\\" + name;
  DeleteFileA(path.c_str());
  return path;
}

} // namespace

TEST(PersistRegistry, SavedOnDestructionAsTextAndLoadedIntoTheNextForm) {
  deleteStateKey();
  std::vector<std::string> log;
  {
    KeptForm first(kfpRegistry);
    first.loadNow(); // nothing stored yet: the designed state stays
    EXPECT_EQ(first.form->Left(), 200);
    EXPECT_EQ(first.form->Width(), 420);
    EXPECT_FALSE(first.item->Checked());
    first.change();
    first.form.reset();
    log = first.log;
  }
  EXPECT_EQ(log, (std::vector<std::string>{"saved", "form's own handler"}));
  struct Case {
    const char *name, *text;
  } cases[] = {{"(TForm)_Height", "321"},
               {"(TForm)_Width", "456"},
               {"(TForm)_Top", "77"},
               {"(TForm)_Left", "123"},
               {"SingleclickRestore1_Checked", "True"},
               {"Edit1_Parent", "Panel1"},
               {"Edit1_Bounds", "3;4;50;21"},
               {"Edit1_Text", "caf\xE9"}};
  for (const Case &c : cases) {
    DWORD type = 0;
    EXPECT_EQ(registryText(c.name, type), c.text) << c.name;
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ)) << c.name;
  }
  KeptForm second(kfpRegistry);
  second.loadNow();
  second.expectChanged();
  second.persist->SetOptions(0); // no save at the end of this one
  second.form.reset();
  EXPECT_EQ(second.log, std::vector<std::string>{"form's own handler"});
  deleteStateKey();
}

TEST(PersistRegistry, WrongValueTypeIsPassedOverSilently) {
  deleteStateKey();
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, stateKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                            &key, nullptr),
            ERROR_SUCCESS);
  DWORD number = 999;
  RegSetValueExA(key, "(TForm)_Width", 0, REG_DWORD, reinterpret_cast<BYTE *>(&number),
                 sizeof number);
  RegSetValueExA(key, "(TForm)_Left", 0, REG_SZ, reinterpret_cast<const BYTE *>("31"), 3);
  RegCloseKey(key);
  KeptForm form(kfpRegistry);
  form.persist->SetOptions(0);
  form.loadNow();
  EXPECT_EQ(form.form->Width(), 420);
  EXPECT_EQ(form.form->Left(), 31);
  deleteStateKey();
}

TEST(PersistFiles, IniFileHoldsWhatThePlatformReads) {
  std::string path = scratchFile("state.ini");
  {
    KeptForm first(kfpIniFile, path);
    first.change();
  }
  char text[64] = {};
  GetPrivateProfileStringA(stateKey, "(TForm)_Width", "", text, sizeof text, path.c_str());
  EXPECT_STREQ(text, "456");
  GetPrivateProfileStringA(stateKey, "SingleclickRestore1_Checked", "", text, sizeof text,
                           path.c_str());
  EXPECT_STREQ(text, "True");
  KeptForm second(kfpIniFile, path);
  second.persist->SetOptions(0);
  second.loadNow();
  second.expectChanged();
}

TEST(PersistFiles, StoreFileKeepsTheStateUnderItsKeyPath) {
  std::string path = scratchFile("state.kfp");
  {
    KeptForm first(kfpFile, path);
    first.change();
  }
  TkfRegFile store;
  ASSERT_TRUE(store.LoadFromFile(path, defaultFileSystem()));
  store.SetCurrentKey(stateKey);
  EXPECT_EQ(store.ReadString("(TForm)_Top"), "77");
  KeptForm second(kfpFile, path);
  second.persist->SetOptions(0);
  second.loadNow();
  second.expectChanged();
}
