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

using test_windows::inputClick;
using test_windows::listItems;
using test_windows::RemoteBuffer;
using test_windows::scaled;
using test_windows::startProgram;

namespace {

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
  return waitUntil([owner] { return OpenClipboard(owner) != FALSE; }, 5000);
}

} // namespace

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
  info_ = startProgram("\"" + program + "\"", folder);
  if (!info_.hProcess)
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
  bool ended = waitUntil([this] { return test_windows::hasEnded(info_.hProcess); }, timeoutMs);
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
  return bar ? test_windows::statusText(info_.hProcess, bar) : "<no status bar>";
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
    test_windows::postClick(bar, button.rect.left + 8, (button.rect.top + button.rect.bottom) / 2,
                            true);
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
  if (!waitUntil([&] { return (menu = findTopLevel(id(), "#32768", "")) != nullptr; }, 10000))
    return false;
  for (int i = 0; i <= index; ++i)
    PostMessageA(menu, WM_KEYDOWN, VK_DOWN, 0);
  PostMessageA(menu, WM_KEYDOWN, VK_RETURN, 0);
  return waitUntil([&] { return findTopLevel(id(), "#32768", "") == nullptr; }, 10000);
}

bool LexitrayProcess::answerDialog(const char *replacement, const std::string &button) {
  HWND dialog = checkDialog();
  if (!dialog)
    return false;
  if (replacement) {
    std::vector<HWND> edits = findChildren(dialog, "Edit");
    if (edits.size() < 2)
      return false;
    test_windows::setText(edits[1], replacement);
  }
  HWND pressed = findChild(dialog, "Button", button.c_str());
  if (!pressed || !IsWindowEnabled(pressed))
    return false;
  test_windows::press(pressed);
  return true;
}

std::vector<std::string> LexitrayProcess::suggestions() const {
  HWND dialog = checkDialog();
  HWND list = dialog ? findChild(dialog, "ListBox") : nullptr;
  return list ? listItems(list) : std::vector<std::string>();
}

namespace {

// Brings the window's top-level window to the front, so that the click
// reaches it.
void toFront(HWND window) {
  HWND root = GetAncestor(window, GA_ROOT);
  SetForegroundWindow(root);
  waitUntil([&] { return GetForegroundWindow() == root; }, 3000);
}

} // namespace

bool LexitrayProcess::click(HWND control, int times) const {
  if (!control || !IsWindowVisible(control))
    return false;
  toFront(control);
  RECT rect{};
  GetWindowRect(control, &rect);
  return inputClick({(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2}, times);
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
  return inputClick(point, 1);
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
  return inputClick(point, 2);
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
