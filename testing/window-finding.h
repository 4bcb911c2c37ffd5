// Finding windows as the Windows tests and drivers see them: the visible
// top-level windows of a thread or of a process, a window's class and text
// (read by message, so they work across processes), descendants by class,
// and a descendant by its text. Kept in one place so that every driver
// finds windows the same way.
#ifndef TESTING_WINDOW_FINDING_H
#define TESTING_WINDOW_FINDING_H

#include <windows.h>

#include <string>
#include <vector>

namespace test_windows {

// The window's text, by WM_GETTEXT: GetWindowText reads no other
// process's control texts. A window that does not answer within five
// seconds (its program hangs) reads as empty rather than hanging the test.
inline std::string windowText(HWND window) {
  std::vector<char> text(65536);
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutA(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                           SMTO_ABORTIFHUNG, 5000, &length))
    return "";
  return std::string(text.data(), static_cast<std::size_t>(length));
}

inline std::string windowClass(HWND window) {
  char name[256] = {};
  GetClassNameA(window, name, sizeof name);
  return name;
}

namespace detail {
struct TopLevelSearch {
  DWORD process;
  bool hiddenToo;
  std::vector<HWND> found;
};

inline BOOL CALLBACK collectVisible(HWND window, LPARAM data) {
  auto *search = reinterpret_cast<TopLevelSearch *>(data);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  if ((search->hiddenToo || IsWindowVisible(window)) &&
      (search->process == 0 || process == search->process))
    search->found.push_back(window);
  return TRUE;
}

inline BOOL CALLBACK collectAll(HWND window, LPARAM list) {
  reinterpret_cast<std::vector<HWND> *>(list)->push_back(window);
  return TRUE;
}
} // namespace detail

// The visible top-level windows of a thread (this one by default), in
// Z-order; the hidden ones as well when hiddenToo.
inline std::vector<HWND> threadWindows(DWORD thread = GetCurrentThreadId(),
                                       bool hiddenToo = false) {
  detail::TopLevelSearch search{0, hiddenToo, {}};
  EnumThreadWindows(thread, detail::collectVisible, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// The visible top-level windows of a process (of every process when 0),
// in Z-order; the hidden ones as well when hiddenToo.
inline std::vector<HWND> processWindows(DWORD process, bool hiddenToo = false) {
  detail::TopLevelSearch search{process, hiddenToo, {}};
  EnumWindows(detail::collectVisible, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// The first of windows with this class (any class when empty) and caption,
// or null.
inline HWND withCaption(const std::vector<HWND> &windows, const std::string &className,
                        const std::string &caption) {
  for (HWND window : windows)
    if ((className.empty() || windowClass(window) == className) && windowText(window) == caption)
      return window;
  return nullptr;
}

// The first visible dialog-class window (a message box or a common dialog)
// of this thread, or null.
inline HWND threadDialog() {
  for (HWND window : threadWindows())
    if (windowClass(window) == "#32770")
      return window;
  return nullptr;
}

// Every descendant of parent, in creation order (the windows' Z-order);
// none for a null parent (which the system would take for the desktop).
inline std::vector<HWND> children(HWND parent) {
  std::vector<HWND> all;
  if (!parent)
    return all;
  EnumChildWindows(parent, detail::collectAll, reinterpret_cast<LPARAM>(&all));
  return all;
}

// The descendants of one class (compared without case, as Windows does).
inline std::vector<HWND> findChildren(HWND parent, const std::string &className) {
  std::vector<HWND> matching;
  for (HWND window : children(parent))
    if (lstrcmpiA(windowClass(window).c_str(), className.c_str()) == 0)
      matching.push_back(window);
  return matching;
}

// The first descendant of this class with this text, or null.
inline HWND findChild(HWND parent, const std::string &className, const std::string &text) {
  for (HWND window : findChildren(parent, className))
    if (windowText(window) == text)
      return window;
  return nullptr;
}

} // namespace test_windows

#endif
