// The application object: a hidden window that owns the forms and carries
// the task-bar button, the title and help file, the message loop and the
// waits that pump it, and the handler that every window procedure and
// callback hands its exceptions to. There is one per process: Application.
#ifndef COMPONENTS_WIN32_APPLICATION_H
#define COMPONENTS_WIN32_APPLICATION_H

#include "platform/components/core/component.h"
#include "platform/components/core/event.h"
#include "platform/base/win32/window-owners.h"

#include <windows.h>

#include <exception>
#include <functional>
#include <map>
#include <string>

namespace components {

class TForm;
class TMenuItem;

using TExceptionEvent = Event<TObject *, const std::exception &>;

class TApplication : public TComponent {
public:
  TApplication();
  ~TApplication() override;

  // The hidden application window, made on first use with the default
  // title (the program file's name up to its first ".", all but the first
  // character in lower case).
  HWND Handle();
  const std::string &Title();
  void SetTitle(const std::string &title);
  const std::string &HelpFile() const { return helpFile_; }
  void SetHelpFile(std::string helpFile) { helpFile_ = std::move(helpFile); }
  // Calls the help system on HelpFile; false when there is none or it fails.
  bool HelpCommand(UINT command, ULONG_PTR data);
  bool HelpContext(int context) {
    return HelpCommand(HELP_CONTEXT, static_cast<ULONG_PTR>(context));
  }

  // Creates a form owned by the application; the first becomes MainForm.
  template <typename Form> Form *CreateForm() {
    Form *form = new Form(this);
    if (!mainForm_)
      mainForm_ = form;
    return form;
  }
  TForm *MainForm() const { return mainForm_; }

  // Shows the main form and handles messages until Terminated.
  void Run();
  // Ends the message loop (posts the quit message).
  void Terminate();
  bool Terminated() const { return terminated_; }
  // Handles every pending message and returns; never blocks.
  void ProcessMessages();
  // Handles one message, sleeping until one arrives when none is pending.
  void HandleMessage();
  // Handles messages, sleeping while none arrive, until done() holds
  // (true), timeoutMs elapse or a quit message arrives (false). A quit
  // message is posted again so that the outer loop ends too.
  bool WaitUntil(const std::function<bool()> &done, DWORD timeoutMs = INFINITE);

  // Hands the exception being handled to OnException, or shows its message
  // in a message box. Call only from inside a catch block.
  void HandleException(TObject *sender);
  void ShowException(const std::exception &error);
  int MessageBox(const std::string &text, const std::string &caption, UINT flags);

  void Minimize();
  void Restore();

  TExceptionEvent OnException;

  // Menu command numbers are unique in the process: items register here
  // and any form that receives a menu command finds the item by number.
  UINT registerMenuItem(TMenuItem *item);
  void unregisterMenuItem(UINT command);
  bool dispatchMenuCommand(UINT command);

  // A form is going away: it stops being the main form.
  void formDestroyed(TForm *form);
  // The session ends (WM_ENDSESSION): see application.cpp. Never returns.
  [[noreturn]] void endSession();

private:
  bool processMessage(MSG &msg, bool &quit);

  base::WindowHandle window_;
  std::string title_;
  bool titleRead_ = false;
  std::string helpFile_;
  TForm *mainForm_ = nullptr;
  bool showMainForm_ = true;
  bool terminated_ = false;
  std::map<UINT, TMenuItem *> menuItems_;
  UINT nextMenuCommand_ = 100;
};

// The title a program file gets before the program sets its own: the file
// name without directory and from its first "." on, every character after
// the first in lower case ("C:\\Apps\\LEXITRAY.EXE" gives "Lexitray").
std::string defaultTitleFromPath(const std::string &path);

// The application object of the process.
extern TApplication *const Application;

// Runs f, handing any exception to the application's handler; answers
// f's result, or failed when it threw. For window procedures, timers and
// callbacks: nothing may unwind through the platform.
template <typename Result, typename Function>
Result CallGuarded(TObject *sender, Result failed, Function &&f) noexcept {
  try {
    return f();
  } catch (...) {
    try {
      Application->HandleException(sender);
    } catch (...) {
      // The handler itself failed: nothing more can be reported.
    }
  }
  return failed;
}

// The message that releases a form from inside its own handlers.
constexpr UINT CM_RELEASE = WM_APP + 0x3F01;

} // namespace components

#endif
