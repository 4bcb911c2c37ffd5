// Stand-ins for the persistence component's tests: a component with one
// published property of each kind (and the control pseudo properties), its
// property table, and a platform whose files and registry live in memory.
#ifndef CLIPBOARD_CHECKER_TESTS_PERSIST_TEST_SUPPORT_H
#define CLIPBOARD_CHECKER_TESTS_PERSIST_TEST_SUPPORT_H

#include "clipboard-checker/core/kf-persist.h"
#include "platform/components/core/exception.h"
#include "platform/components/core/string-list.h"
#include "testing/memory-file-system.h"

#include <array>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace persist_test {

// A string list as an object-valued property.
class ListObject : public lexitray::PersistentObject {
public:
  Kind kind() const override { return Kind::StringList; }
  std::string className() const override { return "TStringList"; }
  bool isEmpty() const override { return lines.Count() == 0; }
  void clear() override { lines.Clear(); }
  std::string saveState() const override { return lines.Text(); }
  void loadState(const std::string &state) override { lines.SetText(state); }
  components::TStringList lines;
};

class Widget : public components::TComponent {
public:
  Widget(components::TComponent *owner, const std::string &name) : TComponent(owner) {
    SetName(name);
  }
  int width = 100;
  std::int64_t colour = 0xFF00000F; // clBtnFace
  int cursor = 0;
  bool enabled = true;
  int align = 0; // alNone
  std::string caption;
  char accelerator = 'a';
  std::uint32_t styles = 0;
  components::TComponent *buddy = nullptr;
  ListObject lines;
  std::array<int, 4> bounds{1, 2, 3, 4};
  Widget *parent = nullptr;
  bool windowed = true;
};

// Components that are not Widgets have no properties and are not controls.
class WidgetProperties : public lexitray::PropertyAccess {
public:
  bool findProperty(components::TComponent &component, const std::string &name,
                    lexitray::PublishedProperty &property) override;
  bool findControl(components::TComponent &component, lexitray::ControlAccess &control) override;
};

// A registry key in memory: value name to (binary?, data).
using MemoryKey = std::map<std::string, std::pair<bool, std::string>>;

class MemoryPlatform : public lexitray::PersistPlatform {
public:
  std::string programFileName() override { return "C:\\Apps\\Lexitray.exe"; }
  std::string storageDirectory(lexitray::TFileStorageDirectory directory) override;
  components::FileSystem &fileSystem() override { return files; }
  std::unique_ptr<lexitray::PersistStore>
  openRegistry(lexitray::TkfRootKey root, const std::string &key, bool forSaving) override;
  void showMessage(const std::string &text) override { messages.push_back(text); }
  void postLoad(lexitray::TkfPersist &) override { ++postedLoads; }
  void hookOwnerDestroy(lexitray::TkfPersist &, bool take) override { destroyHooked = take; }
  std::string className(components::TComponent &) override { return "TForm1"; }

  testing_support::MemoryFileSystem files;
  std::map<std::string, MemoryKey> registry; // "HKCU\<key>" or "HKLM\<key>"
  std::vector<std::string> messages;
  int postedLoads = 0;
  bool destroyHooked = false;
};

} // namespace persist_test

#endif
