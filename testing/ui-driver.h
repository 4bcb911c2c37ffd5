// Driving windows as a person would, for every UI driver of the tests (the
// window robot, the plug-in host's UI script, the programs' end-to-end
// drivers): waits that handle this thread's messages until a condition
// holds, up to a deadline, never for a fixed time; programs started;
// controls pressed, clicked and typed into through their messages or
// through the system's input queue; texts read across processes (through a
// buffer placed in the other process where a message points at memory);
// and a program's queue drained. Windows are found by window-finding.h and
// pictured by window-shot.h.
#ifndef TESTING_UI_DRIVER_H
#define TESTING_UI_DRIVER_H

#include "testing/window-finding.h"
#include "testing/window-shot.h"

#include <windows.h>
#include <commctrl.h>

#include <cstdlib>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace test_windows {

// A deadline stretched by the whole factor in TEST_TIME_SCALE: under CPU
// emulation a program's start and each window take many times as long.
inline DWORD scaled(DWORD ms) {
  static const DWORD factor = [] {
    const char *text = std::getenv("TEST_TIME_SCALE");
    long value = text ? std::strtol(text, nullptr, 10) : 1;
    return value > 1 && value < 1000 ? static_cast<DWORD>(value) : 1;
  }();
  return ms * factor;
}

// Handles this thread's messages until done() holds or timeoutMs (scaled)
// pass; answers done() at the end. Between looks it waits for a message of
// its own, at most a short while: another process's change wakes nothing
// here.
inline bool waitUntil(const std::function<bool()> &done, DWORD timeoutMs = 20000) {
  timeoutMs = scaled(timeoutMs);
  DWORD start = GetTickCount();
  for (;;) {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    if (done())
      return true;
    if (GetTickCount() - start >= timeoutMs)
      return done();
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
  }
}

// A window shown no more: destroyed or hidden.
inline bool isGone(HWND window) { return !IsWindow(window) || !IsWindowVisible(window); }

inline bool hasEnded(HANDLE process) { return WaitForSingleObject(process, 0) == WAIT_OBJECT_0; }

// Starts a command line in a folder (empty: this process's); the process
// and thread handles are the caller's to close. Null handles when it
// cannot start.
inline PROCESS_INFORMATION startProgram(std::string commandLine, const std::string &folder = "") {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started{};
  if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                      folder.empty() ? nullptr : folder.c_str(), &startup, &started))
    return PROCESS_INFORMATION{};
  return started;
}

// A button pressed as the mouse would press it: posted, so that a press
// that opens a modal window does not hold the driver.
inline void press(HWND button) { PostMessageA(button, BM_CLICK, 0, 0); }

inline void setText(HWND window, const std::string &text) {
  SendMessageA(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

// The left button pressed and released at a client point of the window,
// posted as the mouse's messages (after a move there when hover), for
// windows that take clicks on their own background.
inline void postClick(HWND window, int x, int y, bool hover = false) {
  LPARAM at = MAKELPARAM(x, y);
  if (hover)
    PostMessageA(window, WM_MOUSEMOVE, 0, at);
  PostMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, at);
  PostMessageA(window, WM_LBUTTONUP, 0, at);
}

// The mouse moved to a point of the screen and pressed there times times,
// through the system's input queue, as a person's hand does; the presses
// go once the pointer has arrived.
inline bool inputClick(POINT point, int times = 1) {
  INPUT move{};
  move.type = INPUT_MOUSE;
  move.mi.dx = MulDiv(point.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
  move.mi.dy = MulDiv(point.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
  move.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  if (SendInput(1, &move, sizeof move) != 1)
    return false;
  waitUntil(
      [point] {
        POINT now{};
        GetCursorPos(&now);
        return std::abs(now.x - point.x) <= 1 && std::abs(now.y - point.y) <= 1;
      },
      3000);
  std::vector<INPUT> clicks(2 * static_cast<std::size_t>(times));
  for (std::size_t i = 0; i < clicks.size(); ++i) {
    clicks[i].type = INPUT_MOUSE;
    clicks[i].mi.dwFlags = i % 2 == 0 ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
  }
  return SendInput(static_cast<UINT>(clicks.size()), clicks.data(), sizeof clicks[0]) ==
         clicks.size();
}

// The same at a client point of a window.
inline bool inputClick(HWND window, int x, int y, int times = 1) {
  POINT at{x, y};
  ClientToScreen(window, &at);
  return inputClick(at, times);
}

// A block of memory inside another process, for messages whose arguments
// point at memory of the window's own process.
class RemoteBuffer {
public:
  RemoteBuffer(HANDLE process, SIZE_T size)
      : process_(process), size_(size),
        address_(VirtualAllocEx(process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE)) {
    if (!address_)
      throw std::runtime_error("cannot place a buffer in the program's memory");
  }
  ~RemoteBuffer() { VirtualFreeEx(process_, address_, 0, MEM_RELEASE); }
  RemoteBuffer(const RemoteBuffer &) = delete;
  RemoteBuffer &operator=(const RemoteBuffer &) = delete;
  LPARAM address() const { return reinterpret_cast<LPARAM>(address_); }
  std::vector<char> read() const {
    std::vector<char> bytes(size_);
    SIZE_T done = 0;
    ReadProcessMemory(process_, address_, bytes.data(), size_, &done);
    return bytes;
  }

private:
  HANDLE process_;
  SIZE_T size_;
  void *address_;
};

// A status bar panel's text, which only the program's memory holds.
inline std::string statusText(HANDLE process, HWND bar, int panel = 0) {
  RemoteBuffer buffer(process, 1024);
  LRESULT length = LOWORD(SendMessageA(bar, SB_GETTEXTLENGTHA, static_cast<WPARAM>(panel), 0));
  if (length >= 1024)
    return "<status too long>";
  SendMessageA(bar, SB_GETTEXTA, static_cast<WPARAM>(panel), buffer.address());
  return std::string(buffer.read().data(), static_cast<std::size_t>(length));
}

// The items of a list box, or of a combo box's list: the system carries
// their texts across processes as UTF-16, given here in the ANSI code page.
inline std::vector<std::string> listItems(HWND list) {
  bool combo = lstrcmpiA(windowClass(list).c_str(), "ComboBox") == 0;
  LRESULT count = SendMessageA(list, combo ? CB_GETCOUNT : LB_GETCOUNT, 0, 0);
  std::vector<std::string> items;
  for (LRESULT i = 0; i < count; ++i) {
    auto item = static_cast<WPARAM>(i);
    LRESULT length = SendMessageW(list, combo ? CB_GETLBTEXTLEN : LB_GETTEXTLEN, item, 0);
    if (length < 0)
      continue;
    std::vector<wchar_t> text(static_cast<std::size_t>(length) + 1);
    length = SendMessageW(list, combo ? CB_GETLBTEXT : LB_GETTEXT, item,
                          reinterpret_cast<LPARAM>(text.data()));
    char narrow[512] = {};
    if (length > 0)
      WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(length), narrow,
                          sizeof narrow - 1, nullptr, nullptr);
    items.emplace_back(narrow);
  }
  return items;
}

// Returns true once the thread that owns edit has handled every message
// posted to it before now: a limit posted to the edit shows only when its
// thread reads its queue, after whatever was queued ahead of it. Whatever
// those messages started has begun by then.
inline bool drainQueue(HWND edit, DWORD timeoutMs = 20000) {
  LRESULT limit = SendMessageA(edit, EM_GETLIMITTEXT, 0, 0);
  LRESULT marker = limit == 4242 ? 4243 : 4242;
  PostMessageA(edit, EM_SETLIMITTEXT, static_cast<WPARAM>(marker), 0);
  bool drained =
      waitUntil([&] { return SendMessageA(edit, EM_GETLIMITTEXT, 0, 0) == marker; }, timeoutMs);
  SendMessageA(edit, EM_SETLIMITTEXT, static_cast<WPARAM>(limit), 0);
  return drained;
}

// A file dialog's name field: the explorer-style dialog's combo box or the
// old dialog's edit; null for another window.
inline HWND fileNameField(HWND dialog) {
  HWND field = GetDlgItem(dialog, 0x47C);
  return field ? field : GetDlgItem(dialog, 0x480);
}

// Types a name into a file dialog's name field and presses its OK, as a
// person does; false for a window without the field.
inline bool chooseFile(HWND dialog, const std::string &name) {
  HWND field = fileNameField(dialog);
  if (!field)
    return false;
  setText(field, name);
  PostMessageA(dialog, WM_COMMAND, IDOK, 0);
  return true;
}

// A text on one report line: its line breaks as "|".
inline std::string oneLine(std::string text) {
  for (char &c : text)
    if (c == '\n' || c == '\r')
      c = '|';
  return text;
}

} // namespace test_windows

#endif
