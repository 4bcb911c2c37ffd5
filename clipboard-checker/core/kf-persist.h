// TkfPersist: the form-state persistence component. Placed on a form, it
// saves chosen published properties of the form and of the components the
// form owns (its Items, one line each, see persist-item.h) to a store -
// the registry, an INI file or a ".kfp" file - and loads them back on a
// later run. What it needs of the platform (paths, the registry, message
// boxes, the posted load request, the owner form's destroy event) comes
// through PersistPlatform; what it knows of properties through
// PropertyAccess.
#ifndef CLIPBOARD_CHECKER_CORE_KF_PERSIST_H
#define CLIPBOARD_CHECKER_CORE_KF_PERSIST_H

#include "clipboard-checker/core/persist-item.h"
#include "clipboard-checker/core/persist-store.h"
#include "clipboard-checker/core/published-property.h"
#include "platform/components/core/component.h"
#include "platform/components/core/event.h"
#include "platform/components/core/file-system.h"
#include "platform/components/core/string-list.h"

#include <memory>
#include <string>

namespace lexitray {

enum TkfpStorageType { kfpFile, kfpRegistry, kfpIniFile };
enum TkfpOption { kfpAutoSave, kfpAutoLoad, kfpAutoFileName, kfpAutoRegKey };
using TkfpOptions = unsigned; // bit (1 << option) per member
constexpr TkfpOptions kfpOption(TkfpOption option) { return 1u << option; }
constexpr TkfpOptions kfpAllOptions = 0xF;
enum TkfRootKey { kfpHKEY_CURRENT_USER, kfpHKEY_LOCAL_MACHINE };
enum TFileStorageDirectory { kfpApplication, kfpWindows, kfpSystem };

using TCancelEvent = components::Event<components::TObject *, bool &>;

class TkfPersist;

class PersistPlatform {
public:
  virtual ~PersistPlatform() = default;
  virtual std::string programFileName() = 0;
  // The directory for store files given without one, ending in "\".
  virtual std::string storageDirectory(TFileStorageDirectory directory) = 0;
  virtual components::FileSystem &fileSystem() = 0;
  // The registry key as a store: for saving created when missing, for
  // loading null when it does not exist.
  virtual std::unique_ptr<PersistStore> openRegistry(TkfRootKey root, const std::string &key,
                                                     bool forSaving) = 0;
  virtual void showMessage(const std::string &text) = 0;
  // Asks for persist.Load() once the messages now waiting are handled.
  virtual void postLoad(TkfPersist &persist) = 0;
  // Runs persist.Save() before the owner form's own destroy handler (take),
  // or gives that handler back alone (!take).
  virtual void hookOwnerDestroy(TkfPersist &persist, bool take) = 0;
  // The class name of a component, for forms without a name.
  virtual std::string className(components::TComponent &component) = 0;
  // The setup dialog over persist, modal; true when closed with OK. A
  // platform without windows has none to show.
  virtual bool showSetup(TkfPersist &persist) {
    (void)persist;
    return false;
  }
};

class TkfPersist : public components::TComponent {
public:
  TkfPersist(components::TComponent *owner, std::unique_ptr<PersistPlatform> platform,
             PropertyAccess &properties);
  ~TkfPersist() override;

  components::TStringList &Items() { return items_; }
  void SetItems(const components::TStringList &items) { items_.Assign(items); }
  const std::string &FileName() const { return fileName_; }
  void SetFileName(const std::string &fileName) { fileName_ = fileName; }
  const std::string &RegistryKey() const { return registryKey_; }
  void SetRegistryKey(const std::string &key) { registryKey_ = key; }
  TkfpStorageType StorageType() const { return storageType_; }
  void SetStorageType(TkfpStorageType type) { storageType_ = type; }
  TkfpOptions Options() const { return options_; }
  void SetOptions(TkfpOptions options);
  TkfRootKey RootKey() const { return rootKey_; }
  void SetRootKey(TkfRootKey root) { rootKey_ = root; }
  TFileStorageDirectory FileStorageDirectory() const { return fileStorageDirectory_; }
  void SetFileStorageDirectory(TFileStorageDirectory directory) {
    fileStorageDirectory_ = directory;
  }

  // Saves every item that is not load-only to the store.
  void Save();
  // Loads every item the store holds a value for.
  void Load();
  // Asks for Load once the messages now waiting are handled.
  void PostLoad();
  // The setup dialog (TkfPersistEdit), modal, captioned with the owner
  // form's caption and " Setup Dialog"; true when closed with OK.
  virtual bool ShowSetup() { return platform_->showSetup(*this); }
  // Rewrites item lines that name the owner form to "(TForm)", then takes
  // over the form's destroy event (kfpAutoSave) and posts a load
  // (kfpAutoLoad).
  void Loaded() override;

  // Where Save and Load go: a file name, or a registry key; and the
  // section or key path inside the file.
  std::string StoreLocation();
  std::string StoreKey();

  // One item into a store, as Save writes it; and back from a store, as
  // Load reads it (raising for a value that does not fit). The setup
  // dialog keeps its edits in a store of its own through these.
  void SaveItem(PersistStore &store, const PersistItem &item) { saveItem(store, item); }
  void LoadItem(PersistStore &store, const PersistItem &item) { loadItem(store, item); }
  components::TComponent *FindItemComponent(const std::string &name) { return findComponent(name); }
  PropertyAccess &Properties() { return properties_; }
  void ShowMessage(const std::string &text) { platform_->showMessage(text); }

  TCancelEvent BeforeLoad;
  TCancelEvent BeforeSave;
  components::TNotifyEvent AfterLoad;
  components::TNotifyEvent AfterSave;

protected:
  virtual bool DoBeforeLoad();
  virtual void DoAfterLoad();
  virtual bool DoBeforeSave();
  virtual void DoAfterSave();

private:
  std::string automaticName();
  std::string withDirectory(const std::string &fileName);
  std::unique_ptr<PersistStore> openStore(bool forSaving);
  components::TComponent *findComponent(const std::string &name);
  void saveItem(PersistStore &store, const PersistItem &item);
  void loadItem(PersistStore &store, const PersistItem &item);

  std::unique_ptr<PersistPlatform> platform_;
  PropertyAccess &properties_;
  components::TStringList items_;
  std::string fileName_;
  std::string registryKey_ = "Software\\";
  TkfpStorageType storageType_ = kfpFile;
  TkfpOptions options_ = kfpAllOptions;
  TkfRootKey rootKey_ = kfpHKEY_CURRENT_USER;
  TFileStorageDirectory fileStorageDirectory_ = kfpApplication;
  bool destroyHooked_ = false;
};

} // namespace lexitray

#endif
