// The application object and its message loop.
#include "platform/components/win32/application.h"

#include "platform/components/core/exception.h"
#include "platform/components/win32/forms.h"
#include "platform/components/win32/menus.h"

#include <commctrl.h>

namespace components {

namespace {

TApplication theApplication;

const char applicationClass[] = "TApplication";

LRESULT CALLBACK applicationWindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  return CallGuarded<LRESULT>(nullptr, 0, [&]() -> LRESULT {
    switch (msg) {
    case WM_CLOSE:
      // Closing the task-bar button closes the main form.
      if (Application->MainForm())
        Application->MainForm()->Close();
      return 0;
    case WM_COMMAND:
      if (lParam == 0 && HIWORD(wParam) == 0 && Application->dispatchMenuCommand(LOWORD(wParam)))
        return 0;
      break;
    case WM_QUERYENDSESSION:
      return TRUE;
    case WM_ENDSESSION:
      if (wParam)
        Application->endSession();
      return 0;
    }
    return DefWindowProcA(window, msg, wParam, lParam);
  });
}

std::string defaultTitle() {
  char path[MAX_PATH + 1] = {};
  DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  return defaultTitleFromPath(std::string(path, length));
}

} // namespace

std::string defaultTitleFromPath(const std::string &path) {
  std::string name = path;
  std::size_t slash = name.find_last_of("\\/");
  if (slash != std::string::npos)
    name.erase(0, slash + 1);
  std::size_t dot = name.find('.');
  if (dot != std::string::npos)
    name.erase(dot);
  if (!name.empty())
    CharLowerBuffA(&name[1], static_cast<DWORD>(name.size() - 1));
  return name;
}

TApplication *const Application = &theApplication;

TApplication::TApplication() : TComponent(nullptr) {}

TApplication::~TApplication() {
  // Forms go first, while the members they report to still exist.
  while (ComponentCount() > 0)
    delete Components(ComponentCount() - 1);
}

HWND TApplication::Handle() {
  if (window_)
    return window_.get();
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_BAR_CLASSES |
                                                     ICC_TAB_CLASSES | ICC_PROGRESS_CLASS};
  InitCommonControlsEx(&controls);
  HINSTANCE instance = GetModuleHandleA(nullptr);
  WNDCLASSEXA windowClass{};
  windowClass.cbSize = sizeof windowClass;
  if (!GetClassInfoExA(instance, applicationClass, &windowClass)) {
    windowClass = WNDCLASSEXA{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = applicationWindowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION));
    windowClass.lpszClassName = applicationClass;
    RegisterClassExA(&windowClass);
  }
  if (!titleRead_) {
    title_ = defaultTitle();
    titleRead_ = true;
  }
  // A zero-sized window in the middle of the screen: it carries the
  // task-bar button and owns every form.
  window_.reset(
      CreateWindowExA(0, applicationClass, title_.c_str(),
                      WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX,
                      GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 0, 0,
                      nullptr, nullptr, instance, nullptr));
  if (!window_)
    throw Exception("Cannot create the application window");
  return window_.get();
}

const std::string &TApplication::Title() {
  if (!titleRead_) {
    title_ = defaultTitle();
    titleRead_ = true;
  }
  return title_;
}

void TApplication::SetTitle(const std::string &title) {
  title_ = title;
  titleRead_ = true;
  if (window_)
    SetWindowTextA(window_.get(), title_.c_str());
}

bool TApplication::HelpCommand(UINT command, ULONG_PTR data) {
  if (helpFile_.empty())
    return false;
  return WinHelpA(Handle(), helpFile_.c_str(), command, data) != FALSE;
}

void TApplication::Run() {
  if (mainForm_ && showMainForm_) {
    ShowWindow(Handle(), SW_SHOWNORMAL);
    mainForm_->Show();
  }
  while (!terminated_)
    HandleMessage();
}

void TApplication::Terminate() { PostQuitMessage(0); }

// Takes one message off the queue and dispatches it; false when the queue
// was empty. A quit message sets Terminated.
bool TApplication::processMessage(MSG &msg, bool &quit) {
  quit = false;
  if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
    return false;
  if (msg.message == WM_QUIT) {
    terminated_ = true;
    quit = true;
    return true;
  }
  // Tab, arrow, Enter and Escape keys in a form move the focus and press
  // its default or cancel button, as in the platform's dialogs.
  HWND root = msg.hwnd ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
  auto *form = root ? dynamic_cast<TForm *>(TWinControl::FromHandle(root)) : nullptr;
  // Alt with a letter is offered to the form's controls first: windowless
  // buttons answer their accelerators there.
  if (form && msg.message == WM_SYSCHAR && form->DialogChar(static_cast<char>(msg.wParam)))
    return true;
  if (form && IsDialogMessageA(root, &msg))
    return true;
  TranslateMessage(&msg);
  DispatchMessageA(&msg);
  return true;
}

void TApplication::ProcessMessages() {
  MSG msg;
  bool quit = false;
  while (processMessage(msg, quit) && !quit) {
  }
}

void TApplication::HandleMessage() {
  MSG msg;
  bool quit = false;
  if (!processMessage(msg, quit) && !terminated_)
    WaitMessage();
}

bool TApplication::WaitUntil(const std::function<bool()> &done, DWORD timeoutMs) {
  DWORD start = GetTickCount();
  MSG msg;
  bool quit = false;
  for (;;) {
    while (!done() && processMessage(msg, quit)) {
      if (quit) {
        // Leave the quit message for the loop that owns it.
        PostQuitMessage(static_cast<int>(msg.wParam));
        return false;
      }
    }
    if (done())
      return true;
    DWORD waited = GetTickCount() - start;
    if (timeoutMs != INFINITE && waited >= timeoutMs)
      return false;
    DWORD remaining = timeoutMs == INFINITE ? INFINITE : timeoutMs - waited;
    // Sleeps until input or a posted message arrives (a timer tick wakes
    // it too), so that a long wait costs no processor time.
    MsgWaitForMultipleObjectsEx(0, nullptr, remaining, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
  }
}

void TApplication::HandleException(TObject *sender) {
  try {
    throw;
  } catch (const std::exception &error) {
    if (OnException.Assigned())
      OnException(sender, error);
    else
      ShowException(error);
  } catch (...) {
    Exception unknown("Unknown exception");
    if (OnException.Assigned())
      OnException(sender, unknown);
    else
      ShowException(unknown);
  }
}

void TApplication::ShowException(const std::exception &error) {
  std::string text = error.what();
  if (!text.empty() && static_cast<unsigned char>(text.back()) > '.')
    text += '.';
  this->MessageBox(text, Title(), MB_OK | MB_ICONSTOP);
}

int TApplication::MessageBox(const std::string &text, const std::string &caption, UINT flags) {
  HWND owner = GetActiveWindow();
  if (!owner)
    owner = Handle();
  return ::MessageBoxA(owner, text.c_str(), caption.c_str(), flags);
}

void TApplication::Minimize() { ShowWindow(Handle(), SW_MINIMIZE); }

void TApplication::Restore() {
  if (IsIconic(Handle()))
    ShowWindow(Handle(), SW_RESTORE);
}

UINT TApplication::registerMenuItem(TMenuItem *item) {
  UINT command = nextMenuCommand_++;
  menuItems_[command] = item;
  return command;
}

void TApplication::unregisterMenuItem(UINT command) { menuItems_.erase(command); }

bool TApplication::dispatchMenuCommand(UINT command) {
  auto found = menuItems_.find(command);
  if (found == menuItems_.end())
    return false;
  found->second->Click();
  return true;
}

// The system may end the process as soon as WM_ENDSESSION is answered, so
// the program's exit steps run before that: the main form goes, and with
// it the components it owns, each saving what it keeps, as at the end of
// Run. The dialogs that may be open keep nothing and are left to the
// process's end: their modal loops are still running below this message
// and never run again, since the process ends here.
void TApplication::endSession() {
  terminated_ = true;
  delete mainForm_;
  ExitProcess(0);
}

void TApplication::formDestroyed(TForm *form) {
  if (mainForm_ == form)
    mainForm_ = nullptr;
}

} // namespace components
