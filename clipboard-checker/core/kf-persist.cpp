// Saving and loading form state item by item.
#include "clipboard-checker/core/kf-persist.h"

#include "clipboard-checker/core/property-text.h"
#include "platform/components/core/exception.h"

#include <exception>

namespace lexitray {

using components::TComponent;

namespace {

// The message an item that fails to load shows (INI and store files).
const char loadFailedMessage[] = "except";
const char parentProperty[] = "Parent";
const char boundsProperty[] = "Bounds";

bool hasDirectory(const std::string &fileName) {
  return fileName.find_first_of("\\/:") != std::string::npos;
}

} // namespace

TkfPersist::TkfPersist(TComponent *owner, std::unique_ptr<PersistPlatform> platform,
                       PropertyAccess &properties)
    : TComponent(owner), platform_(std::move(platform)), properties_(properties) {}

TkfPersist::~TkfPersist() {
  if (destroyHooked_ && Owner() && !Owner()->Destroying())
    platform_->hookOwnerDestroy(*this, false);
}

void TkfPersist::SetOptions(TkfpOptions options) {
  bool autoSave = options & kfpOption(kfpAutoSave);
  options_ = options;
  if (Loading() || !Owner() || autoSave == destroyHooked_)
    return;
  platform_->hookOwnerDestroy(*this, autoSave);
  destroyHooked_ = autoSave;
}

void TkfPersist::Loaded() {
  TComponent::Loaded();
  if (Owner() && !Owner()->Name().empty()) {
    for (int i = 0; i < items_.Count(); ++i) {
      PersistItem item = PersistItem::parse(items_[i]);
      if (!item.fields.empty() && components::SameText(item.fields[0], Owner()->Name())) {
        item.fields[0] = ownerFormName;
        items_.Put(i, item.line());
      }
    }
  }
  if ((options_ & kfpOption(kfpAutoSave)) && Owner() && !destroyHooked_) {
    platform_->hookOwnerDestroy(*this, true);
    destroyHooked_ = true;
  }
  if (options_ & kfpOption(kfpAutoLoad))
    PostLoad();
}

void TkfPersist::PostLoad() { platform_->postLoad(*this); }

bool TkfPersist::DoBeforeLoad() {
  bool cancel = false;
  BeforeLoad(this, cancel);
  return cancel;
}

void TkfPersist::DoAfterLoad() { AfterLoad(this); }

bool TkfPersist::DoBeforeSave() {
  bool cancel = false;
  BeforeSave(this, cancel);
  return cancel;
}

void TkfPersist::DoAfterSave() { AfterSave(this); }

// The owner form's name (its class name without the "T" when it has
// none), a backslash and this component's name.
std::string TkfPersist::automaticName() {
  std::string form;
  if (Owner()) {
    form = Owner()->Name();
    if (form.empty()) {
      std::string className = platform_->className(*Owner());
      form = className.empty() ? className : className.substr(1);
    }
  }
  return form + "\\" + Name();
}

std::string TkfPersist::withDirectory(const std::string &fileName) {
  if (fileName.empty() || hasDirectory(fileName))
    return fileName;
  return platform_->storageDirectory(fileStorageDirectory_) + fileName;
}

std::string TkfPersist::StoreLocation() {
  bool autoFileName = options_ & kfpOption(kfpAutoFileName);
  std::string program = platform_->programFileName();
  switch (storageType_) {
  case kfpFile:
    return withDirectory(autoFileName ? components::ChangeFileExt(program, ".kfp") : fileName_);
  case kfpIniFile:
    return withDirectory(autoFileName ? components::ChangeFileExt(program, ".ini") : fileName_);
  case kfpRegistry:
    if (options_ & kfpOption(kfpAutoRegKey))
      return "Software\\" + components::ExtractFileName(program) + "\\" + automaticName();
    return registryKey_;
  }
  return std::string();
}

std::string TkfPersist::StoreKey() {
  return (options_ & kfpOption(kfpAutoRegKey)) ? automaticName() : registryKey_;
}

std::unique_ptr<PersistStore> TkfPersist::openStore(bool forSaving) {
  std::string location = StoreLocation();
  switch (storageType_) {
  case kfpRegistry:
    return platform_->openRegistry(rootKey_, location, forSaving);
  case kfpIniFile:
    if (location.empty() || (!forSaving && !platform_->fileSystem().fileExists(location)))
      return nullptr;
    return std::make_unique<IniPersistStore>(location, StoreKey(), platform_->fileSystem());
  case kfpFile:
    if (location.empty() || (!forSaving && !platform_->fileSystem().fileExists(location)))
      return nullptr;
    return std::make_unique<KfpPersistStore>(location, StoreKey(), platform_->fileSystem());
  }
  return nullptr;
}

TComponent *TkfPersist::findComponent(const std::string &name) {
  if (!Owner())
    return nullptr;
  if (name == ownerFormName)
    return Owner();
  return Owner()->FindComponent(name);
}

void TkfPersist::Save() {
  if (DoBeforeSave())
    return;
  std::unique_ptr<PersistStore> store = openStore(true);
  if (store) {
    for (int i = 0; i < items_.Count(); ++i) {
      PersistItem item = PersistItem::parse(items_[i]);
      if (!item.counts() || item.loadOnly())
        continue;
      // One item that cannot be written does not keep the others out.
      try {
        saveItem(*store, item);
      } catch (const std::exception &) {
      }
    }
    store->commit();
  }
  DoAfterSave();
}

void TkfPersist::saveItem(PersistStore &store, const PersistItem &item) {
  TComponent *component = findComponent(item.componentName());
  if (!component)
    return;
  const std::string name = item.valueName();
  ControlAccess control;
  bool isControl = properties_.findControl(*component, control);
  if (components::SameText(item.propertyName(), parentProperty) && isControl)
    return store.writeText(name, control.parentName());
  if (components::SameText(item.propertyName(), boundsProperty) && isControl)
    return store.writeText(name, boundsToText(control.getBounds()));
  PublishedProperty property;
  if (!properties_.findProperty(*component, item.propertyName(), property))
    return;
  if (property.kind == TTypeKind::tkClass && !property.isComponentReference()) {
    if (property.object && store.holdsBinary())
      store.writeBinary(name, binaryValue(*property.object));
    return;
  }
  store.writeText(name, propertyToText(property));
}

void TkfPersist::Load() {
  if (DoBeforeLoad())
    return;
  std::unique_ptr<PersistStore> store = openStore(false);
  if (store) {
    for (int i = 0; i < items_.Count(); ++i) {
      PersistItem item = PersistItem::parse(items_[i]);
      if (!item.counts())
        continue;
      try {
        loadItem(*store, item);
      } catch (const std::exception &) {
        // A value that does not fit its property: the registry is passed
        // over silently, files say so and go on.
        if (storageType_ != kfpRegistry)
          platform_->showMessage(loadFailedMessage);
      }
    }
  }
  DoAfterLoad();
}

void TkfPersist::loadItem(PersistStore &store, const PersistItem &item) {
  TComponent *component = findComponent(item.componentName());
  const std::string name = item.valueName();
  if (!component || !store.hasValue(name))
    return;
  ControlAccess control;
  bool isControl = properties_.findControl(*component, control);
  if (components::SameText(item.propertyName(), parentProperty) && isControl) {
    std::string parent = store.readText(name);
    TComponent *found = component->FindComponent(parent);
    if (!found && component->Owner())
      found = component->Owner()->FindComponent(parent);
    if (found)
      control.setParent(found);
    return;
  }
  if (components::SameText(item.propertyName(), boundsProperty) && isControl) {
    control.setBounds(boundsFromText(store.readText(name), control.getBounds()));
    return;
  }
  PublishedProperty property;
  if (!properties_.findProperty(*component, item.propertyName(), property))
    return;
  if (property.kind == TTypeKind::tkClass && !property.isComponentReference()) {
    if (property.object && store.holdsBinary())
      loadBinaryValue(*property.object, store.readBinary(name));
    return;
  }
  propertyFromText(property, store.readText(name), *component);
}

} // namespace lexitray
