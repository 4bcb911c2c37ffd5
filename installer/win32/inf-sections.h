// Runs sections of a setup-information file with the plug-in folder as
// directory identifier 40000, as both the installer and the uninstaller do.
#ifndef INSTALLER_WIN32_INF_SECTIONS_H
#define INSTALLER_WIN32_INF_SECTIONS_H

#include "installer/core/setup-string.h"

#include <windows.h>

#include <setupapi.h>

#include <vector>

namespace installer {

// The directory identifier the sections name the plug-in folder by. Wine
// refuses SetupSetDirectoryId below 0x8000.
constexpr DWORD pluginFolderId = 40000;

// What a section run did: it succeeded only when the section and every
// list it names were there and every file and registry entry was done;
// the files it could not delete are named.
struct SectionRun {
  bool succeeded = false;
  std::vector<SetupString> remaining;
};

// An open setup-information file (INF_STYLE_WIN4), closed once.
class InfFile {
public:
  explicit InfFile(const SetupString &path);
  ~InfFile();
  InfFile(const InfFile &) = delete;
  InfFile &operator=(const InfFile &) = delete;
  bool isOpen() const { return handle_ != INVALID_HANDLE_VALUE; }
  bool setPluginFolder(const SetupString &folder);
  // Whether the section is there with every list its CopyFiles, DelFiles,
  // AddReg and DelReg entries name, each file list with its destination
  // and each copied file with its source disk. SetupAPI runs a section
  // that lacks any of them as if it were empty, so a damaged file would
  // otherwise install or remove nothing without a word.
  bool isComplete(const char *section) const;
  // Runs a complete section's registry and file entries (SPINST_REGISTRY |
  // SPINST_FILES) under HKEY_LOCAL_MACHINE, files warning when skipped.
  SectionRun runSection(const char *section);
  // Runs only a complete section's file entries, leaving the files named
  // in kept (full paths, any letter case) for a later run.
  SectionRun runFileEntries(const char *section, const std::vector<SetupString> &kept);

private:
  SectionRun run(const char *section, UINT parts, const std::vector<SetupString> &kept);
  bool listIsComplete(const char *list, bool copied) const;

  HINF handle_;
};

} // namespace installer

#endif
