// The Windows side of the installer's services under Wine: the folder
// rules on the real file system, the editor's preferences file read with
// the private-profile calls, and registry reads that need no write access.
#include "installer/core/folder-rules.h"
#include "installer/win32/registry-text.h"
#include "installer/win32/windows-file-system.h"
#include "testing/test-files.h"

#include <gtest/gtest.h>

#include <aclapi.h>
#include <windows.h>

#include <filesystem>
#include <string>
#include <vector>

using namespace installer;

namespace {

// A fresh scratch folder, removed with its contents.
class ScratchFolder {
public:
  ScratchFolder() : path_(testing_support::scratchPath("installer-services")) {
    std::filesystem::remove_all(path_, ignored_);
    std::filesystem::create_directories(path_);
  }
  ~ScratchFolder() { std::filesystem::remove_all(path_, ignored_); }
  const std::string &path() const { return path_; }

  void writeFile(const std::string &relative, const std::string &text) {
    testing_support::writeFile(path_ + "\\" + relative, text);
  }
  // The names in a folder, exactly as stored (Win32 path calls drop
  // trailing blanks, so only a listing shows them).
  std::vector<std::string> names(const std::string &relative) const {
    std::vector<std::string> found;
    for (const auto &entry : std::filesystem::directory_iterator(path_ + "\\" + relative))
      found.push_back(entry.path().filename().string());
    return found;
  }
  bool isDirectory(const std::string &relative) const {
    return std::filesystem::is_directory(path_ + "\\" + relative);
  }

private:
  std::string path_;
  std::error_code ignored_;
};

TEST(WindowsFolderRulesTest, CreatesTrimmedNestedFolders) {
  ScratchFolder scratch;
  WindowsFileSystem fileSystem;
  std::string typed = "  \t" + scratch.path() + "\\Target Folder\\Plug-ins \r\n";
  EXPECT_TRUE(CreateFolderPath(typed.c_str(), fileSystem));
  EXPECT_TRUE(scratch.isDirectory("Target Folder\\Plug-ins"));
  EXPECT_EQ(scratch.names("."), std::vector<std::string>{"Target Folder"});
  EXPECT_EQ(scratch.names("Target Folder"), std::vector<std::string>{"Plug-ins"});
  EXPECT_TRUE(CreateFolderPath(typed.c_str(), fileSystem)) << "an existing folder succeeds";
}

TEST(WindowsFolderRulesTest, FileInTheWayFails) {
  ScratchFolder scratch;
  scratch.writeFile("data", "a file, not a folder");
  WindowsFileSystem fileSystem;
  EXPECT_FALSE(CreateFolderPath((scratch.path() + "\\data\\plugins").c_str(), fileSystem));
  EXPECT_FALSE(scratch.isDirectory("data"));
  EXPECT_FALSE(CreateFolderPath("   ", fileSystem));
}

TEST(WindowsFolderRulesTest, PreferencesFileAndPlugInDirectory) {
  ScratchFolder scratch;
  for (const char *sub : {"Prefs", "Preferences", "Plugins"})
    CreateDirectoryA((scratch.path() + "\\" + sub).c_str(), nullptr);
  scratch.writeFile("Prefs\\Photoshop.ini", "[Photoshop]\nPlugInDirectory=C:\\Wrong\n");
  scratch.writeFile("Preferences\\PhotoPrefs.ini",
                    "[Photoshop]\nPlugInDirectory=D:\\Editor Plug-ins\n");
  WindowsFileSystem fileSystem;
  SetupString editor = scratch.path().c_str();
  EXPECT_EQ(FindPrefsIni(editor, fileSystem),
            (scratch.path() + "\\Preferences\\PhotoPrefs.ini").c_str());
  EXPECT_EQ(FindPluginsFolder(editor, fileSystem), "D:\\Editor Plug-ins\\");

  scratch.writeFile("Preferences\\PhotoPrefs.ini", "[Photoshop]\nOther=1\n");
  EXPECT_EQ(FindPluginsFolder(editor, fileSystem), (scratch.path() + "\\Plugins\\").c_str())
      << "the default under the editor's folder";
}

// A key that everyone may read but nobody may write to.
class ReadOnlyKey {
public:
  ReadOnlyKey() {
    RegCreateKeyExA(HKEY_CURRENT_USER, name, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key_,
                    nullptr);
    RegSetValueExA(key_, "AppPath", 0, REG_SZ, reinterpret_cast<const BYTE *>("C:\\Plug\\"), 9);
    protect(KEY_READ);
  }
  ~ReadOnlyKey() {
    protect(KEY_ALL_ACCESS);
    RegCloseKey(key_);
    RegDeleteKeyA(HKEY_CURRENT_USER, name);
  }
  static constexpr const char *name = "Software\\Installer Test Read Only";

private:
  void protect(DWORD rights) {
    char everyone[SECURITY_MAX_SID_SIZE];
    DWORD size = sizeof everyone;
    CreateWellKnownSid(WinWorldSid, nullptr, everyone, &size);
    EXPLICIT_ACCESSA access{};
    access.grfAccessPermissions = rights;
    access.grfAccessMode = SET_ACCESS;
    access.Trustee.TrusteeForm = TRUSTEE_IS_SID;
    access.Trustee.ptstrName = reinterpret_cast<LPSTR>(everyone);
    PACL acl = nullptr;
    SetEntriesInAclA(1, &access, nullptr, &acl);
    SetSecurityInfo(key_, SE_REGISTRY_KEY,
                    DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION, nullptr,
                    nullptr, acl, nullptr);
    LocalFree(acl);
  }
  HKEY key_ = nullptr;
};

TEST(RegistryTextTest, ReadsWithoutWriteAccess) {
  ReadOnlyKey key;
  HKEY writable = nullptr;
  LONG status = RegOpenKeyExA(HKEY_CURRENT_USER, ReadOnlyKey::name, 0, KEY_ALL_ACCESS, &writable);
  if (status == ERROR_SUCCESS) {
    RegCloseKey(writable);
    GTEST_SKIP() << "this system grants write access despite the key's access list";
  }
  EXPECT_EQ(status, ERROR_ACCESS_DENIED);
  EXPECT_EQ(readRegistryText(HKEY_CURRENT_USER, ReadOnlyKey::name, "AppPath"), "C:\\Plug\\");
}

TEST(RegistryTextTest, MissingKeyValueOrTextIsEmpty) {
  EXPECT_EQ(readRegistryText(HKEY_CURRENT_USER, "Software\\No Such Installer Key", "AppPath"), "");
  HKEY key = nullptr;
  RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Installer Test Values", 0, nullptr, 0,
                  KEY_ALL_ACCESS, nullptr, &key, nullptr);
  DWORD number = 5;
  RegSetValueExA(key, "Number", 0, REG_DWORD, reinterpret_cast<const BYTE *>(&number),
                 sizeof number);
  // Stored without a terminator, as a careless writer may leave it.
  RegSetValueExA(key, "Bare", 0, REG_SZ, reinterpret_cast<const BYTE *>("C:\\Bare"), 7);
  EXPECT_EQ(readRegistryText(HKEY_CURRENT_USER, "Software\\Installer Test Values", "Number"), "");
  EXPECT_EQ(readRegistryText(HKEY_CURRENT_USER, "Software\\Installer Test Values", "Missing"), "");
  EXPECT_EQ(readRegistryText(HKEY_CURRENT_USER, "Software\\Installer Test Values", "Bare"),
            "C:\\Bare");
  RegCloseKey(key);
  RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Installer Test Values");
}

} // namespace
