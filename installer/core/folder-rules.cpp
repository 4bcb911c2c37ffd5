// Folder rules of the installer; see the header.
#include "installer/core/folder-rules.h"

#include <cstdint>

namespace installer {

namespace {

bool isSeparator(char c) { return c == '\\' || c == '/'; }

// Index just behind the backslash that closes the name starting at from,
// or npos when the name runs to the end.
std::size_t behindName(const char *text, std::size_t length, std::size_t from) {
  for (std::size_t i = from; i < length; ++i)
    if (text[i] == '\\')
      return i + 1;
  return SIZE_MAX;
}

} // namespace

std::size_t folderScanStart(const SetupString &path) {
  long pair = path.find("\\\\");
  if (pair < 0)
    return 0;
  const char *text = path.c_str();
  std::size_t length = path.length();
  std::size_t server = static_cast<std::size_t>(pair) + 2;
  std::size_t share = behindName(text, length, server);
  if (share == SIZE_MAX)
    return server;
  std::size_t rest = behindName(text, length, share);
  return rest == SIZE_MAX ? share : rest;
}

bool CreateFolderPath(const SetupString &path, FolderFileSystem &fileSystem) {
  SetupString folder(path);
  folder.trimRight();
  folder.trimLeft();
  if (folder.empty())
    return false;
  if (fileSystem.kindOf(folder) == PathKind::Directory)
    return true;
  std::size_t last = folder.length() - 1;
  for (std::size_t i = folderScanStart(folder); i <= last; ++i) {
    if (!isSeparator(folder.c_str()[i]) && i != last)
      continue;
    SetupString prefix = folder.left(i + 1);
    if (fileSystem.kindOf(prefix) != PathKind::Directory && !fileSystem.createDirectory(prefix))
      return false;
  }
  return true;
}

SetupString FindPrefsIni(const SetupString &folder, FolderFileSystem &fileSystem) {
  static const char *const subFolders[] = {"Prefs", "Adobe Photoshop Settings", "Settings",
                                           "Preferences"};
  SetupString result;
  for (const char *subFolder : subFolders) {
    SetupString place = folder + "\\" + subFolder + "\\";
    SetupString found = fileSystem.findFirstFile(place + "Photo*.ini");
    if (!found.empty())
      result = place + found;
  }
  return result;
}

SetupString withTrailingBackslash(const SetupString &folder) {
  if (folder.length() > 0 && folder.c_str()[folder.length() - 1] == '\\')
    return folder;
  return folder + "\\";
}

SetupString FindPluginsFolder(const SetupString &editorFolder, FolderFileSystem &fileSystem) {
  if (editorFolder.empty())
    return SetupString();
  SetupString prefs = FindPrefsIni(editorFolder, fileSystem);
  if (prefs.empty())
    return SetupString();
  SetupString folder = fileSystem.readProfileString(prefs, "Photoshop", "PlugInDirectory",
                                                    editorFolder + "\\Plugins\\");
  return withTrailingBackslash(folder);
}

} // namespace installer
