// The installer's rules about folders, free of the platform: creating a
// destination path with its missing parents, and finding the image
// editor's preferences file and plug-ins folder.
#ifndef INSTALLER_CORE_FOLDER_RULES_H
#define INSTALLER_CORE_FOLDER_RULES_H

#include "installer/core/folder-file-system.h"
#include "installer/core/setup-string.h"

namespace installer {

// Creates path and every missing folder above it. White space at either
// end is ignored; an empty path fails. For a network path (the first pair
// of backslashes, a server and a share) the server and share are never
// looked at or created: only prefixes behind the share's backslash are.
// A prefix that is missing or names a file is created; the first creation
// that fails fails the whole.
bool CreateFolderPath(const SetupString &path, FolderFileSystem &fileSystem);

// Index of the first character CreateFolderPath may look at or create.
std::size_t folderScanStart(const SetupString &path);

// The editor's preferences file under its program folder: of the
// sub-folders "Prefs", "Adobe Photoshop Settings", "Settings" and
// "Preferences", the last that holds a "Photo*.ini" wins; empty when none.
SetupString FindPrefsIni(const SetupString &folder, FolderFileSystem &fileSystem);

// The editor's plug-ins folder, given the editor's program folder (the
// "Path" of its App Paths key; empty when it is not registered): the
// [Photoshop] "PlugInDirectory" of its preferences file, by default
// <editorFolder>\Plugins\, always ending in a backslash. Empty when the
// editor or its preferences file is missing.
SetupString FindPluginsFolder(const SetupString &editorFolder, FolderFileSystem &fileSystem);

SetupString withTrailingBackslash(const SetupString &folder);

} // namespace installer

#endif
