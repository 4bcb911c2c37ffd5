// The export's dialogs: the about box and the save dialog with the path
// helpers it needs (the main window has its own class).
#ifndef JPEG_WIN32_EXPORT_DIALOGS_H
#define JPEG_WIN32_EXPORT_DIALOGS_H

#include <windows.h>

#include <string>

namespace pixtune {

// The about box (dialog 110), modal; it ends on a click inside it or on a
// key press.
void ShowAbout(HINSTANCE module, HWND parent);

// The full path of path by GetFullPathNameA; path itself when that fails.
std::string FullPathName(const std::string &path);

// Both outputs start empty and stay so for a null path; otherwise the full
// path is divided after its last separator.
void SplitPath(const char *path, std::string &folder, std::string &fileName);

// The save dialog, starting in folder with defaultName. False when the
// user cancels it or it fails.
bool AskSaveFileName(HINSTANCE module, HWND parent, std::string &path, std::string &folder,
                     const std::string &defaultName);

} // namespace pixtune

#endif
