// Drives a running Lexitray.exe from another process as a person would:
// its windows are found by class and caption, its controls are read and
// pressed through their messages (text kept in the program's own memory
// is read through a buffer placed there), and the clipboard is filled and
// read through the Win32 API.
#ifndef CLIPBOARD_CHECKER_TESTS_LEXITRAY_DRIVER_H
#define CLIPBOARD_CHECKER_TESTS_LEXITRAY_DRIVER_H

#include "testing/ui-driver.h"

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace lexitray_test {

using test_windows::waitUntil;
// Handles this process's messages for a while (to see that nothing comes).
inline void pumpFor(DWORD ms) {
  waitUntil([] { return false; }, ms);
}

using test_windows::findChildren;
using test_windows::windowClass;
using test_windows::windowText;

// Top-level windows of a process, visible ones only unless all.
inline std::vector<HWND> topLevelWindows(DWORD process, bool all = false) {
  return test_windows::processWindows(process, all);
}
// The first top-level window of the process with that class (empty: any)
// and caption.
inline HWND findTopLevel(DWORD process, const std::string &className, const std::string &caption,
                         bool all = false) {
  return test_windows::withCaption(topLevelWindows(process, all), className, caption);
}
// The first descendant of that class (case-insensitive), with that caption
// unless the caption is null.
HWND findChild(HWND parent, const std::string &className, const char *caption = nullptr);

// The process's top-level windows, one line each (class, caption, shown,
// enabled), for failure messages.
std::string describeWindows(DWORD process);

// The clipboard, owned by a hidden window of this process.
class ClipboardAccess {
public:
  ClipboardAccess();
  ~ClipboardAccess();
  ClipboardAccess(const ClipboardAccess &) = delete;
  ClipboardAccess &operator=(const ClipboardAccess &) = delete;
  void setText(const std::string &text);
  void setUnicodeText(const std::wstring &text);
  void clear();
  bool hasText();
  std::string text();
  std::wstring unicodeText();

private:
  HWND window_;
};

// One run of the program from a folder of its own.
class LexitrayProcess {
public:
  // Starts folder\Lexitray.exe.
  explicit LexitrayProcess(const std::string &folder);
  // Ends the program if it still runs.
  ~LexitrayProcess();
  LexitrayProcess(const LexitrayProcess &) = delete;
  LexitrayProcess &operator=(const LexitrayProcess &) = delete;

  DWORD id() const { return info_.dwProcessId; }
  // Waits for the process to end; true with its exit code when it did.
  bool waitForExit(DWORD timeoutMs, DWORD *exitCode = nullptr);
  // The main form ("Lexitray", visible) and the application window.
  HWND form(bool visibleOnly = true) const;
  HWND application() const;
  // The check dialog, when it is up.
  HWND checkDialog() const;
  // The word the check dialog shows ("" without a dialog).
  std::string shownWord() const;
  std::string statusText() const;
  std::string editText() const;
  // Presses a tool button of the main form by its caption; false when
  // there is none.
  bool clickToolButton(const std::string &caption);
  // A tool button's place in its tool bar, by its caption; false when
  // there is none.
  bool toolButtonRect(const std::string &caption, RECT &rect);
  // Picks an item of the pop-up menu now open, by its position.
  bool chooseMenuItem(int index);
  // Types text into the check dialog's replacement field and presses a
  // button of it.
  bool answerDialog(const char *replacement, const std::string &button);
  // The check dialog's suggestion list, one entry an item.
  std::vector<std::string> suggestions() const;
  // Double-clicks a suggestion as a person does: the mouse is moved over
  // the item and pressed twice through the system's input queue, so the
  // list box sees the real message sequence. False when the word is not
  // listed.
  bool doubleClickSuggestion(const std::string &word);
  // Clicks a control as a person does: the mouse is moved to its centre
  // (or, for a tab control, to the tab of that index) and pressed through
  // the system's input queue. False when the window is not shown.
  bool click(HWND control, int times = 1) const;
  bool clickTab(HWND tabs, int index) const;
  // Ends the session as Windows does: WM_QUERYENDSESSION to each of the
  // program's top-level windows, then WM_ENDSESSION (TRUE) to each while
  // it lives, and the process ended once they are answered. False when a
  // window refused to end the session.
  bool endSession();
  // Double-clicks the tray icon: the shell's callback message to the
  // icon's window (one of the program's hidden message windows; the
  // others ignore it).
  void trayDoubleClick() { trayMouse({WM_LBUTTONDBLCLK}); }
  // A single left click on the tray icon.
  void trayClick() { trayMouse({WM_LBUTTONDOWN, WM_LBUTTONUP}); }
  // The shell's callback messages for these mouse actions, in order.
  void trayMouse(const std::vector<UINT> &actions);
  // Closes the program as its task-bar button's close does.
  void close();

private:
  PROCESS_INFORMATION info_{};
};

// A clipboard viewer of this process that counts the change notifications
// it gets and keeps its place in the chain as a well-behaved viewer does.
class TestViewer {
public:
  TestViewer();  // joins the chain at its head
  ~TestViewer(); // leaves it, if still in it
  TestViewer(const TestViewer &) = delete;
  TestViewer &operator=(const TestViewer &) = delete;
  void leave();
  int notifications() const { return notifications_; }

private:
  static LRESULT CALLBACK windowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
  HWND window_ = nullptr;
  HWND next_ = nullptr;
  bool joined_ = false;
  int notifications_ = 0;
};

} // namespace lexitray_test

#endif
