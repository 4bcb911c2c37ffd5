// About box and save dialog.
#include "jpeg/win32/export-dialogs.h"

#include "jpeg/core/export-names.h"
#include "jpeg/win32/resource.h"

#include <commdlg.h>

#include <vector>

namespace pixtune {

namespace {

INT_PTR CALLBACK aboutProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
  case WM_INITDIALOG:
    return TRUE;
  case WM_LBUTTONDOWN:
  case WM_KEYDOWN:
  case WM_CHAR:
    EndDialog(dialog, 1);
    return TRUE;
  case WM_COMMAND:
    // The dialog manager turns Enter and Escape into these.
    if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)
      EndDialog(dialog, 1);
    return TRUE;
  default:
    return FALSE;
  }
}

// A filter from the string table, where '|' stands for the zero bytes
// that a resource string cannot hold.
std::vector<char> loadFilter(HINSTANCE module) {
  char text[256] = {};
  int length = LoadStringA(module, IDS_SAVE_FILTER, text, sizeof text);
  std::vector<char> filter(text, text + length);
  for (char &c : filter)
    if (c == '|')
      c = '\0';
  filter.push_back('\0');
  filter.push_back('\0');
  return filter;
}

} // namespace

void ShowAbout(HINSTANCE module, HWND parent) {
  DialogBoxParamA(module, MAKEINTRESOURCEA(IDD_ABOUT), parent, aboutProc, 0);
}

std::string FullPathName(const std::string &path) {
  std::vector<char> buffer(MAX_PATH);
  for (;;) {
    DWORD length =
        GetFullPathNameA(path.c_str(), static_cast<DWORD>(buffer.size()), buffer.data(), nullptr);
    if (length == 0)
      return path;
    if (length < buffer.size())
      return std::string(buffer.data(), length);
    buffer.resize(buffer.size() + 128 > length + 1 ? buffer.size() + 128 : length + 1);
  }
}

void SplitPath(const char *path, std::string &folder, std::string &fileName) {
  folder.clear();
  fileName.clear();
  if (!path)
    return;
  SplitFullPath(FullPathName(path), folder, fileName);
}

bool AskSaveFileName(HINSTANCE module, HWND parent, std::string &path, std::string &folder,
                     const std::string &defaultName) {
  std::vector<char> file(1024, '\0');
  defaultName.copy(file.data(), file.size() - 1);
  std::vector<char> filter = loadFilter(module);
  OPENFILENAMEA dialog = {};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = parent;
  dialog.hInstance = module;
  dialog.lpstrFilter = filter.data();
  dialog.lpstrFile = file.data();
  dialog.nMaxFile = static_cast<DWORD>(file.size());
  dialog.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
  dialog.lpstrDefExt = "jpg";
  dialog.Flags =
      OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_LONGNAMES | OFN_EXPLORER;
  if (!GetSaveFileNameA(&dialog))
    return false;
  path = file.data();
  std::string name;
  SplitPath(path.c_str(), folder, name);
  return true;
}

} // namespace pixtune
