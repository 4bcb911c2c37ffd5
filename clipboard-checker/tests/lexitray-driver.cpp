// The driver of a running Lexitray.exe.
#include "clipboard-checker/tests/lexitray-driver.h"

#include "platform/base/win32/global-lock.h"

#include <commctrl.h>
#include <richedit.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

namespace lexitray_test {

namespace {

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

struct ToolButtonInfo {
  int command;
  RECT rect;
  std::string caption;
};

std::vector<ToolButtonInfo> toolButtons(HANDLE process, HWND bar) {
  std::vector<ToolButtonInfo> buttons;
  int count = static_cast<int>(SendMessageA(bar, TB_BUTTONCOUNT, 0, 0));
  RemoteBuffer buffer(process, 512);
  for (int i = 0; i < count; ++i) {
    ToolButtonInfo info{};
    SendMessageA(bar, TB_GETBUTTON, static_cast<WPARAM>(i), buffer.address());
    TBBUTTON button;
    std::memcpy(&button, buffer.read().data(), sizeof button);
    info.command = button.idCommand;
    SendMessageA(bar, TB_GETITEMRECT, static_cast<WPARAM>(i), buffer.address());
    std::memcpy(&info.rect, buffer.read().data(), sizeof info.rect);
    LRESULT length =
        SendMessageA(bar, TB_GETBUTTONTEXTA, static_cast<WPARAM>(info.command), buffer.address());
    if (length > 0 && length < 500)
      info.caption.assign(buffer.read().data(), static_cast<std::size_t>(length));
    buttons.push_back(info);
  }
  return buttons;
}

LRESULT CALLBACK plainWindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcA(window, msg, wParam, lParam);
}

HWND makeHiddenWindow() {
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = plainWindowProc;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = "LexitrayDriverClipboard";
  RegisterClassA(&windowClass);
  return CreateWindowExA(0, windowClass.lpszClassName, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                         windowClass.hInstance, nullptr);
}

// Opens the clipboard, trying again while another process holds it.
bool openClipboard(HWND owner) {
  return pumpUntil([owner] { return OpenClipboard(owner) != FALSE; }, 5000);
}

} // namespace

// Every deadline of the driver, stretched by the whole factor in
// TEST_TIME_SCALE: under CPU emulation a program's start and each window
// take many times as long.
static DWORD scaled(DWORD ms) {
  static const DWORD factor = [] {
    const char *text = std::getenv("TEST_TIME_SCALE");
    long value = text ? std::strtol(text, nullptr, 10) : 1;
    return value > 1 && value < 1000 ? static_cast<DWORD>(value) : 1;
  }();
  return ms * factor;
}

bool pumpUntil(const std::function<bool()> &done, DWORD timeoutMs) {
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
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
  }
}

void pumpFor(DWORD ms) {
  pumpUntil([] { return false; }, ms);
}

std::string describeWindows(DWORD process) {
  std::string lines;
  for (HWND window : topLevelWindows(process, true))
    lines += windowClass(window) + " \"" + windowText(window) + "\"" +
             (IsWindowVisible(window) ? " shown" : " hidden") +
             (IsWindowEnabled(window) ? "" : " disabled") + "\n";
  for (HWND window : topLevelWindows(process))
    for (HWND edit : findChildren(window, "Edit"))
      lines +=
          "  edit \"" + windowText(edit) + "\"" + (IsWindowEnabled(edit) ? "" : " disabled") + "\n";
  return lines;
}

HWND findChild(HWND parent, const std::string &className, const char *caption) {
  if (caption)
    return test_windows::findChild(parent, className, caption);
  std::vector<HWND> found = findChildren(parent, className);
  return found.empty() ? nullptr : found.front();
}

// ---- ClipboardAccess

ClipboardAccess::ClipboardAccess() : window_(makeHiddenWindow()) {}

ClipboardAccess::~ClipboardAccess() { DestroyWindow(window_); }

void ClipboardAccess::setText(const std::string &text) {
  if (!openClipboard(window_))
    throw std::runtime_error("cannot open the clipboard");
  EmptyClipboard();
  base::GlobalBlock block(GlobalAlloc(GMEM_MOVEABLE, text.size() + 1));
  {
    base::GlobalLockScope<char> lock(block.get());
    std::memcpy(lock.data(), text.c_str(), text.size() + 1);
  }
  if (SetClipboardData(CF_TEXT, block.get()))
    block.release();
  CloseClipboard();
}

void ClipboardAccess::setUnicodeText(const std::wstring &text) {
  if (!openClipboard(window_))
    throw std::runtime_error("cannot open the clipboard");
  EmptyClipboard();
  SIZE_T bytes = (text.size() + 1) * sizeof(wchar_t);
  base::GlobalBlock block(GlobalAlloc(GMEM_MOVEABLE, bytes));
  {
    base::GlobalLockScope<wchar_t> lock(block.get());
    std::memcpy(lock.data(), text.c_str(), bytes);
  }
  if (SetClipboardData(CF_UNICODETEXT, block.get()))
    block.release();
  CloseClipboard();
}

void ClipboardAccess::clear() {
  if (!openClipboard(window_))
    throw std::runtime_error("cannot open the clipboard");
  EmptyClipboard();
  CloseClipboard();
}

bool ClipboardAccess::hasText() { return IsClipboardFormatAvailable(CF_TEXT) != FALSE; }

std::string ClipboardAccess::text() {
  if (!openClipboard(window_))
    return "<clipboard busy>";
  std::string text;
  if (HANDLE data = GetClipboardData(CF_TEXT)) {
    base::GlobalLockScope<char> lock(data);
    if (lock.data())
      text.assign(lock.data(), strnlen(lock.data(), GlobalSize(data)));
  }
  CloseClipboard();
  return text;
}

std::wstring ClipboardAccess::unicodeText() {
  if (!openClipboard(window_))
    return L"<clipboard busy>";
  std::wstring text;
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    base::GlobalLockScope<wchar_t> lock(data);
    if (lock.data())
      text.assign(lock.data(), wcsnlen(lock.data(), GlobalSize(data) / sizeof(wchar_t)));
  }
  CloseClipboard();
  return text;
}

// ---- LexitrayProcess

LexitrayProcess::LexitrayProcess(const std::string &folder) {
  std::string program = folder + "\\Lexitray.exe";
  std::string command = "\"" + program + "\"";
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  if (!CreateProcessA(program.c_str(), &command[0], nullptr, nullptr, FALSE, 0, nullptr,
                      folder.c_str(), &startup, &info_))
    throw std::runtime_error("cannot start " + program);
}

LexitrayProcess::~LexitrayProcess() {
  if (WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT) {
    close();
    if (WaitForSingleObject(info_.hProcess, scaled(10000)) == WAIT_TIMEOUT)
      TerminateProcess(info_.hProcess, 99);
  }
  CloseHandle(info_.hThread);
  CloseHandle(info_.hProcess);
}

bool LexitrayProcess::waitForExit(DWORD timeoutMs, DWORD *exitCode) {
  bool ended = pumpUntil([this] { return WaitForSingleObject(info_.hProcess, 0) == WAIT_OBJECT_0; },
                         timeoutMs);
  if (ended && exitCode)
    GetExitCodeProcess(info_.hProcess, exitCode);
  return ended;
}

HWND LexitrayProcess::form(bool visibleOnly) const {
  return findTopLevel(id(), "TForm", "Lexitray", !visibleOnly);
}

HWND LexitrayProcess::application() const {
  return findTopLevel(id(), "TApplication", "Lexitray", true);
}

HWND LexitrayProcess::checkDialog() const { return findTopLevel(id(), "", "Spell Check"); }

std::string LexitrayProcess::shownWord() const {
  HWND dialog = checkDialog();
  if (!dialog || !IsWindowEnabled(dialog))
    return "";
  std::vector<HWND> edits = findChildren(dialog, "Edit");
  return edits.empty() || !IsWindowEnabled(edits[0]) ? "" : windowText(edits[0]);
}

std::string LexitrayProcess::statusText() const {
  HWND bar = findChild(form(false), STATUSCLASSNAMEA);
  if (!bar)
    return "<no status bar>";
  RemoteBuffer buffer(info_.hProcess, 1024);
  LRESULT length = LOWORD(SendMessageA(bar, SB_GETTEXTLENGTHA, 0, 0));
  if (length >= 1024)
    return "<status too long>";
  SendMessageA(bar, SB_GETTEXTA, 0, buffer.address());
  std::vector<char> bytes = buffer.read();
  return std::string(bytes.data(), static_cast<std::size_t>(length));
}

std::string LexitrayProcess::editText() const {
  return windowText(findChild(form(false), RICHEDIT_CLASSA));
}

bool LexitrayProcess::clickToolButton(const std::string &caption) {
  HWND bar = findChild(form(), TOOLBARCLASSNAMEA);
  if (!bar)
    return false;
  for (const ToolButtonInfo &button : toolButtons(info_.hProcess, bar)) {
    if (button.caption != caption)
      continue;
    // Inside the button, clear of a drop-down arrow.
    LPARAM point = MAKELPARAM(button.rect.left + 8, (button.rect.top + button.rect.bottom) / 2);
    PostMessageA(bar, WM_MOUSEMOVE, 0, point);
    PostMessageA(bar, WM_LBUTTONDOWN, MK_LBUTTON, point);
    PostMessageA(bar, WM_LBUTTONUP, 0, point);
    return true;
  }
  return false;
}

bool LexitrayProcess::toolButtonRect(const std::string &caption, RECT &rect) {
  HWND bar = findChild(form(), TOOLBARCLASSNAMEA);
  if (!bar)
    return false;
  for (const ToolButtonInfo &button : toolButtons(info_.hProcess, bar))
    if (button.caption == caption) {
      rect = button.rect;
      return true;
    }
  return false;
}

bool LexitrayProcess::chooseMenuItem(int index) {
  HWND menu = nullptr;
  if (!pumpUntil([&] { return (menu = findTopLevel(id(), "#32768", "")) != nullptr; }, 10000))
    return false;
  for (int i = 0; i <= index; ++i)
    PostMessageA(menu, WM_KEYDOWN, VK_DOWN, 0);
  PostMessageA(menu, WM_KEYDOWN, VK_RETURN, 0);
  return pumpUntil([&] { return findTopLevel(id(), "#32768", "") == nullptr; }, 10000);
}

bool LexitrayProcess::answerDialog(const char *replacement, const std::string &button) {
  HWND dialog = checkDialog();
  if (!dialog)
    return false;
  if (replacement) {
    std::vector<HWND> edits = findChildren(dialog, "Edit");
    if (edits.size() < 2)
      return false;
    SendMessageA(edits[1], WM_SETTEXT, 0, reinterpret_cast<LPARAM>(replacement));
  }
  HWND pressed = findChild(dialog, "Button", button.c_str());
  if (!pressed || !IsWindowEnabled(pressed))
    return false;
  PostMessageA(pressed, BM_CLICK, 0, 0);
  return true;
}

std::vector<std::string> LexitrayProcess::suggestions() const {
  std::vector<std::string> items;
  HWND dialog = checkDialog();
  HWND list = dialog ? findChild(dialog, "ListBox") : nullptr;
  if (!list)
    return items;
  // The system carries the list's text across the processes (as Unicode
  // text), as it does for the standard controls' messages.
  LRESULT count = SendMessageA(list, LB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    LRESULT length = SendMessageW(list, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0);
    if (length < 0)
      continue;
    std::vector<wchar_t> text(static_cast<std::size_t>(length) + 1);
    length = SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(i),
                          reinterpret_cast<LPARAM>(text.data()));
    char narrow[512] = {};
    if (length > 0)
      WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(length), narrow,
                          sizeof narrow - 1, nullptr, nullptr);
    items.emplace_back(narrow);
  }
  return items;
}

namespace {

// Moves the mouse to a point of the screen and presses the left button
// there times times, through the system's input queue.
bool clickAt(POINT point, int times) {
  INPUT move{};
  move.type = INPUT_MOUSE;
  move.mi.dx = MulDiv(point.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
  move.mi.dy = MulDiv(point.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
  move.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  if (SendInput(1, &move, sizeof move) != 1)
    return false;
  pumpFor(200);
  std::vector<INPUT> clicks(2 * static_cast<std::size_t>(times));
  for (std::size_t i = 0; i < clicks.size(); ++i) {
    clicks[i].type = INPUT_MOUSE;
    clicks[i].mi.dwFlags = i % 2 == 0 ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
  }
  return SendInput(static_cast<UINT>(clicks.size()), clicks.data(), sizeof clicks[0]) ==
         clicks.size();
}

// Brings the window's top-level window to the front, so that the click
// reaches it.
void toFront(HWND window) {
  HWND root = GetAncestor(window, GA_ROOT);
  SetForegroundWindow(root);
  pumpUntil([&] { return GetForegroundWindow() == root; }, 3000);
}

} // namespace

bool LexitrayProcess::click(HWND control, int times) const {
  if (!control || !IsWindowVisible(control))
    return false;
  toFront(control);
  RECT rect{};
  GetWindowRect(control, &rect);
  return clickAt({(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2}, times);
}

bool LexitrayProcess::clickTab(HWND tabs, int index) const {
  if (!tabs || !IsWindowVisible(tabs))
    return false;
  RemoteBuffer buffer(info_.hProcess, sizeof(RECT));
  if (!SendMessageA(tabs, TCM_GETITEMRECT, static_cast<WPARAM>(index), buffer.address()))
    return false;
  RECT tab;
  std::memcpy(&tab, buffer.read().data(), sizeof tab);
  POINT point{(tab.left + tab.right) / 2, (tab.top + tab.bottom) / 2};
  ClientToScreen(tabs, &point);
  toFront(tabs);
  return clickAt(point, 1);
}

bool LexitrayProcess::endSession() {
  std::vector<HWND> windows = topLevelWindows(id(), true);
  for (HWND window : windows) {
    DWORD_PTR agreed = 0;
    if (SendMessageTimeoutA(window, WM_QUERYENDSESSION, 0, 0, SMTO_ABORTIFHUNG, scaled(10000),
                            &agreed) &&
        !agreed)
      return false;
  }
  for (HWND window : windows) {
    DWORD_PTR ignored = 0;
    if (IsWindow(window))
      SendMessageTimeoutA(window, WM_ENDSESSION, TRUE, 0, SMTO_ABORTIFHUNG, scaled(10000),
                          &ignored);
  }
  // Past its answers the process may be ended at any moment.
  TerminateProcess(info_.hProcess, 98);
  WaitForSingleObject(info_.hProcess, scaled(10000));
  return true;
}

bool LexitrayProcess::doubleClickSuggestion(const std::string &word) {
  std::vector<std::string> items = suggestions();
  auto found = std::find(items.begin(), items.end(), word);
  HWND dialog = checkDialog();
  HWND list = dialog ? findChild(dialog, "ListBox") : nullptr;
  if (found == items.end() || !list)
    return false;
  RemoteBuffer buffer(info_.hProcess, sizeof(RECT));
  SendMessageA(list, LB_SETTOPINDEX, static_cast<WPARAM>(found - items.begin()), 0);
  SendMessageA(list, LB_GETITEMRECT, static_cast<WPARAM>(found - items.begin()), buffer.address());
  RECT item;
  std::memcpy(&item, buffer.read().data(), sizeof item);
  POINT point{item.left + 10, (item.top + item.bottom) / 2};
  ClientToScreen(list, &point);
  toFront(dialog);
  return clickAt(point, 2);
}

void LexitrayProcess::trayMouse(const std::vector<UINT> &actions) {
  const UINT trayCallback = WM_USER + 767;
  HWND window = nullptr;
  while ((window = FindWindowExA(HWND_MESSAGE, window, "TUtilityWindow", nullptr)) != nullptr) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != id())
      continue;
    for (UINT action : actions)
      PostMessageA(window, trayCallback, 2, static_cast<LPARAM>(action));
  }
}

void LexitrayProcess::close() {
  if (HWND window = application())
    PostMessageA(window, WM_CLOSE, 0, 0);
}

// ---- TestViewer

TestViewer::TestViewer() {
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = windowProc;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = "LexitrayDriverViewer";
  RegisterClassA(&windowClass);
  window_ = CreateWindowExA(0, windowClass.lpszClassName, "", WS_POPUP, 0, 0, 0, 0, nullptr,
                            nullptr, windowClass.hInstance, nullptr);
  SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  joined_ = true;
  next_ = SetClipboardViewer(window_);
}

TestViewer::~TestViewer() {
  leave();
  DestroyWindow(window_);
}

void TestViewer::leave() {
  if (!joined_)
    return;
  joined_ = false;
  ChangeClipboardChain(window_, next_);
}

LRESULT CALLBACK TestViewer::windowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto *self = reinterpret_cast<TestViewer *>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (self && msg == WM_DRAWCLIPBOARD) {
    ++self->notifications_;
    if (self->next_)
      SendMessageA(self->next_, msg, wParam, lParam);
    return 0;
  }
  if (self && msg == WM_CHANGECBCHAIN) {
    if (reinterpret_cast<HWND>(wParam) == self->next_)
      self->next_ = reinterpret_cast<HWND>(lParam);
    else if (self->next_)
      SendMessageA(self->next_, msg, wParam, lParam);
    return 0;
  }
  return DefWindowProcA(window, msg, wParam, lParam);
}

} // namespace lexitray_test
