// Where the persistence component keeps its values: a store of named text
// and binary values under one key or section. The INI file and the
// ".kfp" file are kept here; the Win32 side adds the registry.
#ifndef CLIPBOARD_CHECKER_CORE_PERSIST_STORE_H
#define CLIPBOARD_CHECKER_CORE_PERSIST_STORE_H

#include "clipboard-checker/core/kfp-store.h"
#include "platform/components/core/file-system.h"
#include "platform/components/core/ini-file.h"

#include <string>

namespace lexitray {

class PersistStore {
public:
  virtual ~PersistStore() = default;
  // INI files keep text only: object-valued properties are left out.
  virtual bool holdsBinary() const = 0;
  virtual bool hasValue(const std::string &name) = 0;
  virtual std::string readText(const std::string &name) = 0;
  virtual std::string readBinary(const std::string &name) = 0;
  virtual void writeText(const std::string &name, const std::string &value) = 0;
  virtual void writeBinary(const std::string &name, const std::string &data) = 0;
  // Ends a save; raises components::EWriteError when the values could not
  // be kept.
  virtual void commit() {}
};

// One section of an INI file; every write goes to the file at once.
class IniPersistStore : public PersistStore {
public:
  IniPersistStore(const std::string &fileName, std::string section, components::FileSystem &files)
      : ini_(fileName, files), section_(std::move(section)) {}
  bool holdsBinary() const override { return false; }
  bool hasValue(const std::string &name) override { return ini_.ValueExists(section_, name); }
  std::string readText(const std::string &name) override {
    return ini_.ReadString(section_, name, "");
  }
  std::string readBinary(const std::string &) override { return std::string(); }
  void writeText(const std::string &name, const std::string &value) override {
    ini_.WriteString(section_, name, value);
  }
  void writeBinary(const std::string &, const std::string &) override {}

private:
  components::TIniFile ini_;
  std::string section_;
};

// One key path of a ".kfp" file. A save reads the file first, so that the
// values other items wrote stay, and writes it back whole on commit.
class KfpPersistStore : public PersistStore {
public:
  KfpPersistStore(std::string fileName, const std::string &key, components::FileSystem &files);
  bool holdsBinary() const override { return true; }
  bool hasValue(const std::string &name) override { return store_.ValueExists(name); }
  std::string readText(const std::string &name) override { return store_.ReadString(name); }
  std::string readBinary(const std::string &name) override;
  void writeText(const std::string &name, const std::string &value) override {
    store_.WriteString(name, value);
  }
  void writeBinary(const std::string &name, const std::string &data) override {
    store_.WriteBinaryData(name, data.data(), data.size());
  }
  void commit() override;

private:
  std::string fileName_;
  components::FileSystem &files_;
  TkfRegFile store_;
};

} // namespace lexitray

#endif
