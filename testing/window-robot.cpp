// window-robot: drives Windows programs by their windows and controls, for
// end-to-end tests that run under Wine. Steps come as arguments and run in
// order; results are printed as "name=value" lines. Every wait handles this
// process's messages and ends at a deadline (--timeout ms, default 30000),
// after which the robot lists the visible windows and exits with code 2.
//
//   start:<command line>      start a program (the one "exit" and "cpu" mean)
//   window:<caption>          wait for a visible top-level window; it becomes
//                             the current window
//   click:<id>                post BM_CLICK to a control of the current window
//   toggle:<id>               send BM_CLICK and wait until it is handled (for
//                             check boxes and buttons that open no window)
//   settext:<id>:<text>       WM_SETTEXT to a control
//   text:<id> checked:<id> enabled:<id>
//                             print a control's text (line breaks as "|"),
//                             check state, enabling
//   answer:<caption>:<id>     wait for a dialog box of that caption (not a
//                             main window), print its text as
//                             "message=", press its button <id> (6 Yes, 7 No)
//   gone:<caption>            wait until no window has that caption
//   exit                      wait for the started program; "exit=<code>"
//   cpu                       "cpu.ms=" the started program's CPU time so far
//   file:<path>               wait until a file exists
//   shot:<path.bmp>           the screen as a 24-bit BMP file
//
// Each visible top-level window seen while waiting is reported once as
// "seen=<caption>", so a test can tell that no question was asked.
#include "testing/ui-driver.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <set>
#include <string>
#include <vector>

namespace {

using namespace test_windows;

DWORD timeoutMs = 30000;
PROCESS_INFORMATION started{};
HWND current = nullptr;
std::set<HWND> seenWindows;

std::vector<HWND> visibleTopLevel() { return processWindows(0); }

[[noreturn]] void fail(const std::string &what) {
  std::printf("timeout=%s\n", what.c_str());
  for (HWND window : visibleTopLevel())
    std::printf("window=%s [%s]\n", windowText(window).c_str(), windowClass(window).c_str());
  std::fflush(stdout);
  std::exit(2);
}

void pumpUntil(const std::function<bool()> &done, const std::string &what) {
  bool held = waitUntil(
      [&] {
        for (HWND window : visibleTopLevel())
          if (seenWindows.insert(window).second)
            std::printf("seen=%s\n", windowText(window).c_str());
        std::fflush(stdout);
        return done();
      },
      timeoutMs);
  if (!held)
    fail(what);
}

// A visible top-level window with that caption, of that class unless the
// class is empty.
HWND findWindow(const std::string &caption, const char *className = "") {
  return withCaption(visibleTopLevel(), className, caption);
}

HWND waitWindow(const std::string &caption, const char *className = "") {
  HWND found = nullptr;
  pumpUntil([&] { return (found = findWindow(caption, className)) != nullptr; },
            "window " + caption);
  return found;
}

HWND control(const std::string &id) {
  HWND item = GetDlgItem(current, std::atoi(id.c_str()));
  if (!item)
    fail("control " + id);
  return item;
}

void printCpu() {
  FILETIME created, ended, kernel, user;
  if (!GetProcessTimes(started.hProcess, &created, &ended, &kernel, &user)) {
    std::printf("cpu.ms=unknown\n");
    return;
  }
  auto ticks = [](const FILETIME &t) {
    return (static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
  };
  std::printf("cpu.ms=%llu\n", (ticks(kernel) + ticks(user)) / 10000);
}

void runStep(const std::string &step) {
  std::string verb = step.substr(0, step.find(':'));
  std::string rest = step.find(':') == std::string::npos ? "" : step.substr(step.find(':') + 1);
  std::string first = rest.substr(0, rest.find(':'));
  std::string second = rest.find(':') == std::string::npos ? "" : rest.substr(rest.find(':') + 1);
  if (verb == "start") {
    started = startProgram(rest);
    if (!started.hProcess)
      fail("start " + rest);
  } else if (verb == "window") {
    current = waitWindow(rest);
    std::printf("window=%s\n", rest.c_str());
  } else if (verb == "click") {
    press(control(rest));
  } else if (verb == "toggle") {
    DWORD_PTR ignored = 0;
    if (!SendMessageTimeoutA(control(rest), BM_CLICK, 0, 0, SMTO_ABORTIFHUNG, timeoutMs, &ignored))
      fail("toggle " + rest);
  } else if (verb == "settext") {
    setText(control(first), second);
  } else if (verb == "text") {
    std::printf("text.%s=%s\n", rest.c_str(), oneLine(windowText(control(rest))).c_str());
  } else if (verb == "checked") {
    std::printf("checked.%s=%d\n", rest.c_str(),
                SendMessageA(control(rest), BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0);
  } else if (verb == "enabled") {
    std::printf("enabled.%s=%d\n", rest.c_str(), IsWindowEnabled(control(rest)) ? 1 : 0);
  } else if (verb == "answer") {
    HWND box = waitWindow(first, "#32770"); // dialogs and message boxes
    HWND text = GetDlgItem(box, 0xFFFF);    // a message box's text
    std::printf("message=%s\n", oneLine(text ? windowText(text) : "").c_str());
    HWND button = GetDlgItem(box, std::atoi(second.c_str()));
    if (!button)
      fail("button " + second + " of " + first);
    press(button);
    pumpUntil([box] { return isGone(box); }, "closing " + first);
  } else if (verb == "gone") {
    pumpUntil([&] { return findWindow(rest) == nullptr; }, "gone " + rest);
  } else if (verb == "exit") {
    pumpUntil([] { return hasEnded(started.hProcess); }, "exit");
    DWORD code = 0;
    GetExitCodeProcess(started.hProcess, &code);
    std::printf("exit=%lu\n", static_cast<unsigned long>(code));
  } else if (verb == "cpu") {
    printCpu();
  } else if (verb == "file") {
    pumpUntil([&] { return GetFileAttributesA(rest.c_str()) != INVALID_FILE_ATTRIBUTES; },
              "file " + rest);
  } else if (verb == "shot") {
    std::printf("shot=%s\n", saveScreenShot(rest) ? "ok" : "failed");
  } else {
    std::printf("bad step %s\n", step.c_str());
    std::exit(3);
  }
  std::fflush(stdout);
}

} // namespace

int main(int argc, char **argv) {
  int i = 1;
  if (argc > 2 && std::string(argv[1]) == "--timeout") {
    timeoutMs = static_cast<DWORD>(std::atoi(argv[2]));
    i = 3;
  }
  for (; i < argc; ++i)
    runStep(argv[i]);
  return 0;
}
