// Drives a running Billpost.exe from another process as a person would, for
// billpost-end-to-end.py: windows are found by class and caption, fields
// are filled and buttons pressed through their messages, the toolbar's
// windowless buttons are clicked by mouse messages to their panel, and the
// menus are opened with the menu key. It speaks with the script over
// standard input and output: it prints what it sees as "key value" lines
// and, where the script must act (a screenshot, stopping the mail sink),
// prints "ask WHAT" and waits for a line from the script.
//
// Usage: billpost-driver <Billpost.exe> <mode> [arguments]
//   mode "run" <log.ldl> <export.txt> <attachment> <key> <empty.ldl>
//        <log without items.ldl> <sender address>: the whole road
//   mode "bench" <log.ldl> <attachment> <sender address>: times opening
//        the drop-down, then sending the first invoice with the attachment
#include "platform/base/win32/gdi-owners.h"
#include "platform/base/win32/unique-handle.h"
#include "testing/test-files.h"
#include "testing/ui-driver.h"

#include <windows.h>
#include <commctrl.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <iostream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

const char *const title = "Billpost for Ledgerly 95";
DWORD programId = 0;
HWND mainForm = nullptr;
HANDLE programProcess = nullptr;

void say(const std::string &key, const std::string &value = "") {
  std::printf("%s %s\n", key.c_str(), value.c_str());
  std::fflush(stdout);
}

std::string ask(const std::string &what) {
  say("ask", what);
  std::string answer;
  std::getline(std::cin, answer);
  return answer;
}

[[noreturn]] void fail(const std::string &why) {
  say("fail", why);
  if (programProcess)
    TerminateProcess(programProcess, 3);
  std::exit(1);
}

using namespace test_windows;
using testing_support::readFile;
using testing_support::writeFile;

HWND topLevel(const std::string &className, const std::string &caption) {
  return withCaption(processWindows(programId), className, caption);
}

HWND waitTopLevel(const std::string &className, const std::string &caption, DWORD ms = 20000) {
  HWND found = nullptr;
  waitUntil([&] { return (found = topLevel(className, caption)) != nullptr; }, ms);
  return found;
}

std::string statusPanel(HWND bar, int panel) { return statusText(programProcess, bar, panel); }

struct Billpost {
  HWND form = nullptr;
  HWND toolbar = nullptr, fileName = nullptr, combo = nullptr, memo = nullptr, status = nullptr;
  HWND subject = nullptr, toName = nullptr, toAddress = nullptr, fromName = nullptr,
       fromAddress = nullptr, attachments = nullptr;

  void find() {
    form = waitTopLevel("TForm", title);
    if (!form)
      fail("the main window never appeared");
    mainForm = form;
    std::vector<HWND> panels = findChildren(form, "TPanel");
    std::vector<HWND> edits;
    for (HWND edit : findChildren(form, "Edit"))
      if (windowClass(GetParent(edit)) != "ComboBox") // the drop-down's own edit
        edits.push_back(edit);
    if (panels.empty() || edits.size() < 7) {
      std::string classes;
      for (HWND window : children(form))
        classes += " " + windowClass(window);
      fail("the main window lacks its panels or fields:" + classes);
    }
    toolbar = panels[0];
    fileName = edits[0];
    subject = edits[1];
    toName = edits[2];
    toAddress = edits[3];
    fromName = edits[4];
    fromAddress = edits[5];
    memo = edits[6];
    combo = findChildren(form, "ComboBox").at(0);
    attachments = findChildren(form, "ListBox").at(0);
    status = findChildren(form, STATUSCLASSNAMEA).at(0);
  }
  // The toolbar's buttons: 34 pixels wide, 36 apart, from 4.
  void clickButton(int index) { postClick(toolbar, 4 + index * 36 + 17, 20, true); }
  // Whether the program is in a menu's loop (the menu bar's or a pop-up's).
  bool inMenu() {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(GetWindowThreadProcessId(form, nullptr), &info) &&
           (info.flags & (GUI_INMENUMODE | GUI_POPUPMENUMODE)) != 0;
  }
  // Opens a main menu with its letter and, once its pop-up shows, chooses
  // an item by its letter.
  void menu(char top, char item) {
    PostMessageA(form, WM_SYSCOMMAND, SC_KEYMENU, top);
    waitUntil([&] { return topLevel("#32768", "") != nullptr; }, 5000);
    PostMessageA(form, WM_CHAR, item, 0);
  }
  // Closes a menu left open, a level at a time.
  void closeMenus() {
    for (int i = 0; i < 2 && inMenu(); ++i) {
      PostMessageA(form, WM_KEYDOWN, VK_ESCAPE, 0);
      drainQueue(subject);
    }
  }
  void click(HWND window) { postClick(window, 3, 3); }
  // The drop-down's arrow, clicked.
  void clickArrow() {
    RECT area;
    GetClientRect(combo, &area);
    inputClick(combo, area.right - 8, area.bottom / 2);
  }
  bool listDropped() { return SendMessageA(combo, CB_GETDROPPEDSTATE, 0, 0) != 0; }
  std::vector<std::string> items() { return listItems(combo); }
  void dropDown() {
    SendMessageA(combo, CB_SHOWDROPDOWN, TRUE, 0);
    SendMessageA(combo, CB_SHOWDROPDOWN, FALSE, 0);
  }
  void choose(int index) {
    SendMessageA(combo, CB_SETCURSEL, index, 0);
    SendMessageA(GetParent(combo), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(combo), CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(combo));
  }
};

// A message box or message dialog of the program: its caption and text.
struct Box {
  HWND window = nullptr;
  std::string caption, text;
};

// The box a top-level window of the program is, if it is one.
Box boxOf(HWND window) {
  Box box;
  std::string name = windowClass(window);
  std::string text = windowText(window);
  bool messageDialog = name == "TForm" && (text == "Error" || text == "Warning" ||
                                           text == "Confirmation" || text == "Information");
  // Message boxes of the platform, and any other form of ours with the
  // program's title that is not the main window.
  bool messageBox = (name == "#32770" || (name == "TForm" && window != mainForm)) && text == title;
  if (!messageDialog && !messageBox)
    return box;
  box.window = window;
  box.caption = text;
  for (HWND child : findChildren(window, "Static")) {
    std::string line = windowText(child);
    if (line.size() > box.text.size())
      box.text = line;
  }
  return box;
}

Box findBox() {
  for (HWND window : processWindows(programId)) {
    Box box = boxOf(window);
    if (box.window)
      return box;
  }
  return {};
}

// Every box of the program shown at the moment.
int countBoxes() {
  int count = 0;
  for (HWND window : processWindows(programId))
    if (boxOf(window).window)
      ++count;
  return count;
}

Box waitBox(DWORD ms = 20000) {
  Box box;
  waitUntil([&] { return (box = findBox()).window != nullptr; }, ms);
  return box;
}

std::string escaped(const std::string &text) {
  std::string out;
  for (char c : text) {
    if (c == '\r')
      out += "<CR>";
    else if (c == '\n')
      out += "<LF>";
    else
      out += c;
  }
  return out;
}

// The window that has the keyboard focus in the program's input state.
HWND focusOf(HWND form) {
  GUITHREADINFO info = {};
  info.cbSize = sizeof info;
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(form, nullptr), &info))
    return nullptr;
  return info.hwndFocus;
}

// Presses a box's button by its caption and reports the box.
void answerBox(const std::string &key, const std::string &button) {
  Box box = waitBox();
  if (!box.window)
    fail("no message box for " + key);
  say(key, box.caption + "|" + escaped(box.text));
  HWND press = findChild(box.window, "Button", button);
  if (!press)
    press = findChild(box.window, "Button", "&" + button);
  if (press)
    test_windows::press(press);
  else
    PostMessageA(box.window, WM_COMMAND, IDOK, 0);
  if (!waitUntil([&] { return isGone(box.window); }))
    fail("the box of " + key + " stayed");
}

// Fills a file dialog's name and presses its OK button.
void fileDialog(const std::string &caption, const std::string &path,
                const std::function<void()> &open = nullptr) {
  HWND dialog = waitTopLevel("#32770", caption, open ? 5000 : 20000);
  if (!dialog && open) {
    // The menu key can be lost while the window takes the activation back
    // from a closed dialog: once more.
    open();
    dialog = waitTopLevel("#32770", caption);
  }
  if (!dialog)
    fail("no dialog " + caption);
  HWND name = fileNameField(dialog);
  if (!name)
    fail("the dialog " + caption + " has no name field");
  // The dialog fills its fields from messages of its own: typed once it
  // has handled them.
  std::vector<HWND> edits = findChildren(name, "Edit");
  if (!drainQueue(edits.empty() ? name : edits[0]))
    fail("the dialog " + caption + " stopped reading its queue");
  chooseFile(dialog, path);
  if (!waitUntil([&] { return isGone(dialog); }))
    fail("the dialog " + caption + " stayed");
}

void start(const std::string &exe) {
  PROCESS_INFORMATION info =
      startProgram("\"" + exe + "\"", exe.substr(0, exe.find_last_of("\\/")));
  if (!info.hProcess)
    fail("cannot start " + exe);
  CloseHandle(info.hThread);
  programProcess = info.hProcess;
  programId = info.dwProcessId;
}

// Keeps a picture of a window as an artefact, in the file the script names.
void shot(const std::string &name, HWND window) {
  std::string path = ask("shot " + name);
  if (!saveWindowShot(window, path))
    fail("no picture of " + name);
}

// Returns once the program has handled every message posted to it before
// now.
void settle(HWND edit) {
  if (!drainQueue(edit))
    fail("the program stopped reading its queue");
}

bool sinkCount(int expected) { return ask("count " + std::to_string(expected)) == "ok"; }

void openLog(Billpost &b, const std::string &log) {
  std::string before = statusPanel(b.status, 0);
  b.click(b.fileName);
  setText(b.fileName, log);
  b.click(b.memo); // leaving the field opens the named log
  std::string shown;
  waitUntil([&] { return (shown = statusPanel(b.status, 0)) != before && !shown.empty(); });
  say("status0", shown);
}

// Which face this prefix gives for "Courier New", and whether its letters
// are all of one width, as the invoice's columns need.
void reportCourierNew() {
  base::WindowDC screen(nullptr);
  base::GdiObject<HFONT> font(CreateFontA(-13, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                                          ANSI_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                          DEFAULT_QUALITY, DEFAULT_PITCH, "Courier New"));
  base::SelectedObject selected(screen.get(), font.get());
  char face[LF_FACESIZE] = {};
  GetTextFaceA(screen.get(), sizeof face, face);
  SIZE narrow{}, wide{};
  GetTextExtentPoint32A(screen.get(), "iiii", 4, &narrow);
  GetTextExtentPoint32A(screen.get(), "WWWW", 4, &wide);
  say("courier-new", std::string(face) + "|" + (narrow.cx == wide.cx ? "fixed" : "proportional"));
}

// A log without invoices: opening the drop-down shows the box once and
// leaves the list closed and the window usable.
void emptyLog(Billpost &b, const std::string &log) {
  openLog(b, log);
  // The first click of the mouse can go to activating the window.
  Box box;
  for (int attempt = 0; attempt < 3 && !box.window; ++attempt) {
    b.clickArrow();
    box = waitBox(5000);
  }
  say("empty-box", box.window ? escaped(box.text) : "none");
  say("empty-boxes", std::to_string(countBoxes()));
  if (box.window)
    answerBox("empty-box-answered", "OK");
  settle(b.subject);
  say("empty-list-dropped", b.listDropped() ? "yes" : "no");
  inputClick(b.memo, 20, 20);
  settle(b.subject);
  say("empty-box-after-click", findBox().window ? "yes" : "no");
  say("empty-window-enabled", IsWindowEnabled(b.form) ? "yes" : "no");
}

// A log pair that cannot be opened after a good one: the error box, and
// the window still shows the log that is open.
void failedOpen(Billpost &b, const std::string &bad) {
  b.click(b.fileName);
  setText(b.fileName, bad);
  b.click(b.memo);
  answerBox("failed-open", "OK");
  settle(b.subject);
  say("status0-after-failed-open", statusPanel(b.status, 0));
  say("items-after-failed-open", std::to_string(b.items().size()));
}

// Send pressed on a mail the program refuses: its box, and nothing sent.
void refusedSend(Billpost &b, const std::string &why) {
  b.clickButton(5);
  answerBox(why, "OK");
  settle(b.subject);
  say("sent-after-" + why, sinkCount(0) ? "none" : "some");
}

// Searches with key 1 and an empty key 2, joined by join.
void searchOnce(Billpost &b, const std::string &key, const std::string &join) {
  b.clickButton(1);
  HWND dialog = waitTopLevel("TForm", " Archive Search");
  if (!dialog)
    fail("no search dialog for " + join);
  std::vector<HWND> keys = findChildren(dialog, "Edit");
  setText(keys.at(0), key);
  setText(keys.at(1), "");
  SendMessageA(findChild(dialog, "Button", join), BM_CLICK, 0, 0);
  if (join == "AND")
    shot("search-dialog", dialog);
  PostMessageA(findChild(dialog, "Button", "OK"), BM_CLICK, 0, 0);
  waitUntil([&] { return isGone(dialog); });
  settle(b.subject);
  Box box = findBox();
  if (box.window)
    answerBox("search-box", "OK");
  for (const std::string &item : b.items())
    say("found", join + " " + item);
}

// Views the chosen invoice with a hook that holds the progress dialog on
// the screen while the program renders: its picture and texts.
void viewHeld(Billpost &b) {
  char self[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  std::string folder(self);
  folder = folder.substr(0, folder.find_last_of("\\/") + 1);
  base::KernelHandle shared(CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                               1024, "billpost-rendering-dialog"));
  base::KernelHandle painted(CreateEventA(nullptr, TRUE, FALSE, "billpost-rendering-painted"));
  base::KernelHandle taken(CreateEventA(nullptr, TRUE, FALSE, "billpost-rendering-shot"));
  base::ModuleHandle hook(LoadLibraryA((folder + "billpost-dialog-hook.dll").c_str()));
  auto procedure = hook ? reinterpret_cast<HOOKPROC>(reinterpret_cast<void (*)()>(
                              GetProcAddress(hook.get(), "holdRenderingDialog")))
                        : nullptr;
  HHOOK installed = procedure ? SetWindowsHookExA(WH_CALLWNDPROC, procedure, hook.get(),
                                                  GetWindowThreadProcessId(b.form, nullptr))
                              : nullptr;
  if (!installed)
    fail("the rendering hook cannot be set");
  b.clickButton(2);
  if (WaitForSingleObject(painted.get(), 20000) == WAIT_OBJECT_0) {
    void *view = MapViewOfFile(shared.get(), FILE_MAP_READ, 0, 0, 1024);
    std::string described = view ? static_cast<const char *>(view) : "0|?";
    if (view)
      UnmapViewOfFile(view);
    std::size_t bar = described.find('|');
    say("rendering-dialog", described.substr(bar + 1));
    // The held program cannot answer a message: the screen is read as it
    // stands, the dialog painted by the program before it was held.
    auto dialog = reinterpret_cast<HWND>(std::stoull(described.substr(0, bar)));
    RECT area{};
    GetWindowRect(dialog, &area);
    if (!saveScreenArea(area, ask("shot progress-rendering")))
      fail("no picture of the rendering dialog");
  } else {
    say("rendering-dialog", "none");
  }
  SetEvent(taken.get());
  UnhookWindowsHookEx(installed);
}

// A send to a server that takes the connection and never greets: the
// progress dialog shows while the program waits, until the server closes.
void silentServer(Billpost &b) {
  ask("silent-server");
  b.clickButton(5);
  HWND wait = waitTopLevel("TForm", "Sending...", 10000);
  say("silent-dialog", wait ? "shown" : "none");
  if (wait) {
    HWND bar = findChildren(wait, STATUSCLASSNAMEA).at(0);
    std::string status;
    waitUntil([&] { return (status = statusPanel(bar, 0)) == "Logging In"; }, 10000);
    say("silent-status", status);
    shot("progress-connecting", wait);
  }
  ask("silent-server-close");
  answerBox("silent-closed", "OK");
  settle(b.subject);
}

double millisecondsSince(std::chrono::steady_clock::time_point begin) {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - begin)
      .count();
}

// Fills the addressing panel (to inbox@localhost) and attaches one file
// through the attach dialog; answers how many files are then attached.
LRESULT addressAndAttach(Billpost &b, const std::string &subject, const std::string &toName,
                         const std::string &sender, const std::string &attachment) {
  setText(b.subject, subject);
  setText(b.toName, toName);
  setText(b.toAddress, "inbox@localhost");
  setText(b.fromName, "Billing Desk");
  setText(b.fromAddress, sender);
  b.clickButton(6);
  fileDialog("Attach file(s) to invoice", attachment);
  waitUntil([&] { return SendMessageA(b.attachments, LB_GETCOUNT, 0, 0) == 1; });
  return SendMessageA(b.attachments, LB_GETCOUNT, 0, 0);
}

// Sends the first invoice with one attachment: the time from pressing
// Send to the program's "All Done.".
void benchSend(Billpost &b, const std::string &attachment, const std::string &sender) {
  b.choose(0);
  b.clickButton(2);
  if (!waitUntil([&] { return !windowText(b.memo).empty(); }))
    fail("View showed nothing");
  b.clickButton(5);
  if (!waitUntil([&] { return IsWindowVisible(b.subject) != FALSE; }))
    fail("the addressing panel never showed");
  if (addressAndAttach(b, "Invoice " + b.items().at(0), "Accounts", sender, attachment) != 1)
    fail("the attachment was not added");
  settle(b.subject);
  auto begin = std::chrono::steady_clock::now();
  b.clickButton(5);
  if (!waitBox(600000).window)
    fail("the send never ended");
  say("send-ms", std::to_string(millisecondsSince(begin)));
  answerBox("send-done", "OK");
  if (!waitUntil([&] { return topLevel("TForm", "Sending...") == nullptr; }))
    fail("the progress dialog stayed after the send");
}

int bench(const std::string &exe, const std::string &log, const std::string &attachment,
          const std::string &sender) {
  start(exe);
  Billpost b;
  b.find();
  openLog(b, log);
  for (int round = 0; round < 3; ++round) {
    auto begin = std::chrono::steady_clock::now();
    SendMessageA(b.combo, CB_SHOWDROPDOWN, TRUE, 0);
    double elapsed = millisecondsSince(begin);
    SendMessageA(b.combo, CB_SHOWDROPDOWN, FALSE, 0);
    say("dropdown-ms", std::to_string(elapsed));
  }
  say("items", std::to_string(b.items().size()));
  benchSend(b, attachment, sender);
  PostMessageA(b.form, WM_CLOSE, 0, 0);
  WaitForSingleObject(programProcess, 20000);
  return 0;
}

int run(const std::string &exe, const std::string &log, const std::string &exportPath,
        const std::string &attachment, const std::string &key, const std::string &emptyLogPath,
        const std::string &badLog, const std::string &sender) {
  reportCourierNew();
  start(exe);
  Billpost b;
  b.find();
  RECT outer;
  GetWindowRect(b.form, &outer);
  say("caption", windowText(b.form));
  say("outer",
      std::to_string(outer.right - outer.left) + " " + std::to_string(outer.bottom - outer.top));
  say("position", std::to_string(outer.left) + " " + std::to_string(outer.top) + " " +
                      std::to_string(GetSystemMetrics(SM_CXSCREEN)) + " " +
                      std::to_string(GetSystemMetrics(SM_CYSCREEN)));

  emptyLog(b, emptyLogPath);
  openLog(b, log);
  b.dropDown();
  for (const std::string &item : b.items())
    say("item", item);
  say("items-end");
  failedOpen(b, badLog);

  // A search narrows the list; an empty key 2 is no condition; Cancel
  // lists all again.
  for (const char *join : {"OR", "AND", "NOT"})
    searchOnce(b, key, join);
  b.clickButton(1);
  HWND dialog = waitTopLevel("TForm", " Archive Search");
  if (!dialog)
    fail("no search dialog the second time");
  PostMessageA(findChild(dialog, "Button", "Cancel"), BM_CLICK, 0, 0);
  waitUntil([&] { return isGone(dialog); });
  settle(b.subject);
  say("after-cancel", std::to_string(b.items().size()));

  // View the first invoice, the progress dialog held for its picture.
  b.choose(0);
  say("chosen", b.items().at(0));
  viewHeld(b);
  if (!waitUntil([&] { return !windowText(b.memo).empty(); }))
    fail("View showed nothing");
  writeFile(exportPath + ".view", windowText(b.memo));
  shot("invoice-panel", b.form);

  // Export, then export again over it: the second asks first.
  auto exportInvoice = [&] {
    b.menu('f', 'e');
    fileDialog("Export Invoice To", exportPath, [&] {
      b.closeMenus();
      b.menu('f', 'e');
    });
  };
  DeleteFileA(exportPath.c_str());
  exportInvoice();
  if (!waitUntil([&] { return GetFileAttributesA(exportPath.c_str()) != INVALID_FILE_ATTRIBUTES; }))
    fail("Export wrote nothing");
  // A question would have come before the file: once the program has read
  // its queue after writing, any question stands.
  settle(b.subject);
  say("export-first", findBox().window ? "asked" : "no-question");
  writeFile(exportPath, "kept");
  exportInvoice();
  answerBox("export-question", "No");
  say("export-after-no", readFile(exportPath));
  exportInvoice();
  answerBox("export-question", "Yes");
  if (!waitUntil([&] { return readFile(exportPath) != "kept"; }))
    fail("Export wrote nothing over the old file");
  settle(b.subject);

  // Opening the Mail menu while a log is open shows the addressing panel;
  // address the invoice there and attach a file.
  PostMessageA(b.form, WM_SYSCOMMAND, SC_KEYMENU, 'm');
  bool addressing = waitUntil([&] { return IsWindowVisible(b.subject) != FALSE; }, 10000);
  say("mail-menu-addressing", addressing ? "shown" : "hidden");
  b.closeMenus();
  if (!addressing) {
    b.clickButton(5);
    waitUntil([&] { return IsWindowVisible(b.subject) != FALSE; });
  }
  say("attachments",
      std::to_string(addressAndAttach(b, "", "J\xF6rg M\xFCller", sender, attachment)));
  shot("addressing-panel", b.form);

  // No subject: a warning and nothing sent.
  refusedSend(b, "empty-subject");

  // Two faulty address fields: leaving one for the other gives one box for
  // the field left, and the focus goes back to it without the other field
  // answering with a box of its own. The fields are entered by a click, so
  // the program moves its own focus as it would for a person.
  setText(b.fromAddress, "nor this");
  b.click(b.fromAddress);
  if (!waitUntil([&] { return focusOf(b.form) == b.fromAddress; }))
    fail("the click did not put the focus into the sender's address");
  setText(b.toAddress, "not an address");
  b.click(b.toAddress);
  waitBox();
  say("address-boxes-shown", std::to_string(countBoxes()));
  answerBox("address-left", "OK");
  bool focusBack = waitUntil([&] { return focusOf(b.form) == b.fromAddress; }, 10000);
  say("address-focus-back", focusBack ? "yes" : "no");
  // A bouncing box would be made by the same call that puts the focus back,
  // before the program reads its queue again. A character posted now is
  // typed only once the program reads its queue: when it shows, any second
  // box already stands.
  std::string before = windowText(b.fromAddress);
  PostMessageA(b.fromAddress, WM_CHAR, '!', 0);
  if (!waitUntil([&] { return windowText(b.fromAddress) != before; }, 10000))
    fail("the program never read its queue after the address box");
  Box bounce = findBox();
  say("address-second-box", bounce.window ? escaped(bounce.text) : "none");
  if (bounce.window)
    answerBox("address-extra-box", "OK");
  setText(b.fromAddress, sender);
  setText(b.toAddress, "inbox@localhost");

  // Nothing after "@": refused before any connection.
  setText(b.subject, "Invoice " + b.items().at(0));
  setText(b.toAddress, "a.b@");
  refusedSend(b, "empty-host");

  // A stopped sink: one error box, then the next send works.
  setText(b.toAddress, "inbox@localhost");
  ask("stop-sink");
  b.clickButton(5);
  answerBox("sink-stopped", "OK");
  settle(b.subject);
  say("second-box", findBox().window ? "yes" : "no");
  say("window-enabled", IsWindowEnabled(b.form) ? "yes" : "no");
  ask("start-sink");

  silentServer(b);
  ask("start-sink");

  // The real send; the progress dialog comes and goes.
  b.clickButton(5);
  bool waitShown = waitUntil([&] { return topLevel("TForm", "Sending...") != nullptr; }, 10000);
  say("wait-shown", waitShown ? "yes" : "no");
  answerBox("all-done", "OK");
  // The box comes after the server's answer to the message: counted now,
  // before the double send below adds its own.
  say("messages-after-send", ask("messages"));
  waitUntil([&] { return topLevel("TForm", "Sending...") == nullptr; });
  say("wait-gone", topLevel("TForm", "Sending...") ? "no" : "yes");
  Box after = findBox();
  say("box-after-send", after.window ? escaped(after.text) : "none");

  // Send pressed twice and the window closed during the send: at most one
  // more message, the close done after the send, no crash.
  b.clickButton(5);
  b.clickButton(5);
  waitUntil([&] { return topLevel("TForm", "Sending...") != nullptr; }, 10000);
  PostMessageA(b.form, WM_CLOSE, 0, 0);
  answerBox("all-done-again", "OK");
  DWORD waited = WaitForSingleObject(programProcess, 30000);
  DWORD code = 0;
  GetExitCodeProcess(programProcess, &code);
  say("closed", waited == WAIT_OBJECT_0 ? "yes" : "no");
  say("exit-code", std::to_string(code));
  return 0;
}

} // namespace

int main(int argc, char **argv) {
  std::vector<std::string> args(argv, argv + argc);
  if (args.size() >= 6 && args[2] == "bench")
    return bench(args[1], args[3], args[4], args[5]);
  if (args.size() >= 10 && args[2] == "run")
    return run(args[1], args[3], args[4], args[5], args[6], args[7], args[8], args[9]);
  std::fprintf(stderr, "usage: billpost-driver <Billpost.exe> run|bench ...\n");
  return 2;
}
