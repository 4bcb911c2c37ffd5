// Windows services of the persistence component.
#include "clipboard-checker/win32/persist-platform.h"

#include "clipboard-checker/win32/component-properties.h"
#include "clipboard-checker/win32/persist-edit-dialog.h"
#include "platform/components/win32/application.h"
#include "platform/components/win32/forms.h"
#include "platform/components/win32/registry.h"
#include "platform/components/win32/utility.h"

namespace lexitray {

using namespace components;

namespace {

// One open registry key; text values as REG_SZ, object values as
// REG_BINARY. Reading a value of the other type raises, which loading
// passes over.
class RegistryPersistStore : public PersistStore {
public:
  explicit RegistryPersistStore(std::unique_ptr<TRegistry> registry)
      : registry_(std::move(registry)) {}
  bool holdsBinary() const override { return true; }
  bool hasValue(const std::string &name) override { return registry_->ValueExists(name); }
  std::string readText(const std::string &name) override { return registry_->ReadString(name); }
  std::string readBinary(const std::string &name) override {
    int size = registry_->GetDataSize(name);
    std::string data(size > 0 ? static_cast<std::size_t>(size) : 0, '\0');
    int read = registry_->ReadBinaryData(name, &data[0], static_cast<int>(data.size()));
    data.resize(std::min(data.size(), static_cast<std::size_t>(read > 0 ? read : 0)));
    return data;
  }
  void writeText(const std::string &name, const std::string &value) override {
    registry_->WriteString(name, value);
  }
  void writeBinary(const std::string &name, const std::string &data) override {
    registry_->WriteBinaryData(name, data.data(), static_cast<int>(data.size()));
  }

private:
  std::unique_ptr<TRegistry> registry_;
};

std::string withSeparator(const char *directory, UINT length) {
  std::string path(directory, length);
  if (path.empty() || path.back() != '\\')
    path += '\\';
  return path;
}

class Win32PersistPlatform : public PersistPlatform {
public:
  Win32PersistPlatform()
      : window_([this](TMessage &message) {
          if (message.Msg == WM_KFPERSIST_LOAD && loadTarget_)
            loadTarget_->Load();
          return false; // the default window procedure sees it as well
        }) {}

  std::string programFileName() override {
    char path[MAX_PATH + 1] = {};
    DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    return std::string(path, length);
  }

  std::string storageDirectory(TFileStorageDirectory directory) override {
    char path[MAX_PATH + 1] = {};
    switch (directory) {
    case kfpApplication:
      return ExtractFilePath(programFileName());
    case kfpWindows:
      return withSeparator(path, GetWindowsDirectoryA(path, MAX_PATH));
    case kfpSystem:
      return withSeparator(path, GetSystemDirectoryA(path, MAX_PATH));
    }
    return std::string();
  }

  FileSystem &fileSystem() override { return defaultFileSystem(); }

  std::unique_ptr<PersistStore> openRegistry(TkfRootKey root, const std::string &key,
                                             bool forSaving) override {
    auto registry = std::make_unique<TRegistry>();
    registry->SetRootKey(root == kfpHKEY_LOCAL_MACHINE ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER);
    bool opened = forSaving ? registry->OpenKey(key, true) : registry->OpenKeyReadOnly(key);
    if (!opened)
      return nullptr;
    return std::make_unique<RegistryPersistStore>(std::move(registry));
  }

  void showMessage(const std::string &text) override {
    Application->MessageBox(text, Application->Title(), MB_OK);
  }

  void postLoad(TkfPersist &persist) override {
    loadTarget_ = &persist;
    PostMessageA(window_.Handle(), WM_KFPERSIST_LOAD, 0, 0);
  }

  void hookOwnerDestroy(TkfPersist &persist, bool take) override {
    auto *form = dynamic_cast<TForm *>(persist.Owner());
    if (!form)
      return;
    if (!take) {
      form->OnDestroy = previousDestroy_;
      previousDestroy_.Clear();
      return;
    }
    previousDestroy_ = form->OnDestroy;
    TNotifyEvent previous = previousDestroy_;
    form->OnDestroy = [&persist, previous](TObject *sender) {
      persist.Save();
      previous(sender);
    };
  }

  std::string className(TComponent &component) override {
    return dynamic_cast<TForm *>(&component) ? "TForm" : "TComponent";
  }

  bool showSetup(TkfPersist &persist) override { return ShowPersistSetup(persist); }

private:
  TUtilityWindow window_;
  TkfPersist *loadTarget_ = nullptr;
  TNotifyEvent previousDestroy_;
};

} // namespace

std::unique_ptr<PersistPlatform> makePersistPlatform() {
  return std::make_unique<Win32PersistPlatform>();
}

PropertyAccess &componentProperties() {
  static ComponentProperties properties;
  return properties;
}

} // namespace lexitray
