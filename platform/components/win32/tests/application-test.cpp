// The application object under Wine: exceptions from every kind of entry
// point reach the application's handler, the default handler shows the
// message, and waits pump messages while sleeping.
#include "platform/components/win32/application.h"

#include "platform/components/core/exception.h"
#include "platform/components/win32/forms.h"
#include "platform/components/win32/std-controls.h"
#include "platform/components/win32/tests/win32-test-support.h"
#include "platform/components/win32/utility.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

using namespace components;
using win32_test::CapturedExceptions;
using win32_test::pumpUntil;

TEST(Application, DefaultTitleComesFromTheProgramFileName) {
  struct Case {
    const char *path, *title;
  } cases[] = {
      {"C:\\Apps\\Lexitray.exe", "Lexitray"},
      {"C:\\APPS\\LEXITRAY.EXE", "Lexitray"},
      {"Z:/work/bin/billpost.exe", "billpost"},
      {"D:\\x\\Tool.v2.exe", "Tool"},
      {"noext", "noext"},
      {"C:\\B\xC4R.EXE", "B\xE4r"}, // letters of the ANSI code page fold too
  };
  for (const Case &c : cases)
    EXPECT_EQ(defaultTitleFromPath(c.path), c.title) << c.path;
  // The test program is components-win32-tests.exe.
  EXPECT_EQ(Application->Title(), "components-win32-tests");
  char text[64] = {};
  GetWindowTextA(Application->Handle(), text, sizeof text);
  EXPECT_STREQ(text, "components-win32-tests");
  char className[64] = {};
  GetClassNameA(Application->Handle(), className, sizeof className);
  EXPECT_STREQ(className, "TApplication");
}

TEST(Application, FormsAreOwnedByTheApplicationWindow) {
  auto form = std::make_unique<TForm>(nullptr);
  EXPECT_EQ(GetWindow(form->Handle(), GW_OWNER), Application->Handle());
}

TEST(ExceptionRouting, ButtonHandlerExceptionReachesTheApplicationHandler) {
  CapturedExceptions captured;
  auto form = std::make_unique<TForm>(nullptr);
  auto *button = new TButton(form.get());
  button->SetParent(form.get());
  button->OnClick = [](TObject *) { throw EReadError("Stream read error"); };
  form->Show();
  SendMessageA(button->Handle(), BM_CLICK, 0, 0);
  ASSERT_EQ(captured.messages, std::vector<std::string>{"Stream read error"});
  // The window survives and goes on working.
  EXPECT_TRUE(IsWindow(button->Handle()));
  button->OnClick = [](TObject *) {};
  SendMessageA(button->Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(captured.messages.size(), 1u);
}

TEST(ExceptionRouting, EveryKindOfEntryPointHandsItsExceptionOver) {
  CapturedExceptions captured;
  auto form = std::make_unique<TForm>(nullptr);
  // A private-message handler of a form.
  form->SetMessageHandler(WM_USER + 42,
                          [](TMessage &) { throw Exception("from a message handler"); });
  PostMessageA(form->Handle(), WM_USER + 42, 0, 0);
  // A timer event.
  TTimer timer(nullptr);
  timer.SetInterval(10);
  timer.OnTimer = [&](TObject *) {
    timer.SetEnabled(false);
    throw Exception("from a timer");
  };
  // A utility window's handler.
  TUtilityWindow utility([](TMessage &message) -> bool {
    if (message.Msg != WM_USER + 1)
      return false;
    throw std::runtime_error("from a utility window");
  });
  PostMessageA(utility.Handle(), WM_USER + 1, 0, 0);
  // A form event fired by the window system (resizing).
  form->OnResize = [](TObject *) { throw Exception("from a resize"); };
  form->SetBounds(10, 10, 300, 200);
  ASSERT_TRUE(pumpUntil([&] { return captured.messages.size() >= 4; }));
  std::vector<std::string> sorted = captured.messages;
  std::sort(sorted.begin(), sorted.end());
  EXPECT_EQ(sorted, (std::vector<std::string>{"from a message handler", "from a resize",
                                              "from a timer", "from a utility window"}));
}

TEST(ExceptionRouting, DefaultHandlerShowsTheMessageInAMessageBox) {
  auto form = std::make_unique<TForm>(nullptr);
  auto *button = new TButton(form.get());
  button->SetParent(form.get());
  button->OnClick = [](TObject *) { throw Exception("Operation timed out"); };
  form->Show();
  // The message box runs its own loop, which also delivers our timer's
  // ticks: the timer reads the box and presses its OK button.
  std::string shownText, shownCaption;
  TTimer closer(nullptr);
  closer.SetInterval(50);
  closer.OnTimer = [&](TObject *) {
    HWND box = win32_test::findDialogWindow();
    if (!box)
      return;
    char text[256] = {};
    GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
    shownText = text;
    shownCaption = win32_test::windowText(box);
    PostMessageA(box, WM_COMMAND, IDOK, 0);
  };
  SendMessageA(button->Handle(), BM_CLICK, 0, 0);
  // The default handler ends the text with a full stop, as the class
  // library does, and uses the application's title as the caption.
  EXPECT_EQ(shownText, "Operation timed out.");
  EXPECT_EQ(shownCaption, Application->Title());
}

// The handler is reached with the first exception, and its own exception
// ends neither the process nor the window: a second message is handled too.
TEST(ExceptionRouting, HandlerThatThrowsItselfDoesNotEscape) {
  std::vector<std::string> handled;
  Application->OnException = [&](TObject *, const std::exception &error) {
    handled.push_back(error.what());
    throw Exception("handler failed");
  };
  auto form = std::make_unique<TForm>(nullptr);
  form->SetMessageHandler(WM_USER + 7, [](TMessage &) { throw Exception("first"); });
  SendMessageA(form->Handle(), WM_USER + 7, 0, 0); // must not end the process
  SendMessageA(form->Handle(), WM_USER + 7, 0, 0);
  Application->OnException.Clear();
  EXPECT_EQ(handled, (std::vector<std::string>{"first", "first"}));
}

TEST(MessagePump, TwoSecondWaitEndsAfterTheSecondTick) {
  // As the mail client waits: a one-second timer counts ticks while the
  // program pumps messages. The processor time of such a wait is timed by
  // message-pump-bench (scripts/bench-message-pump.sh).
  int ticks = 0;
  TTimer timer(nullptr);
  timer.SetInterval(1000);
  timer.OnTimer = [&](TObject *) { ++ticks; };
  DWORD start = GetTickCount();
  ASSERT_TRUE(pumpUntil([&] { return ticks >= 2; }, 10000));
  DWORD elapsed = GetTickCount() - start;
  EXPECT_GE(elapsed, 1900u);
  EXPECT_EQ(ticks, 2);
}

TEST(MessagePump, WaitEndsAtItsDeadlineAndProcessMessagesNeverBlocks) {
  DWORD start = GetTickCount();
  EXPECT_FALSE(Application->WaitUntil([] { return false; }, 300));
  DWORD elapsed = GetTickCount() - start;
  EXPECT_GE(elapsed, 250u);
  EXPECT_LT(elapsed, 3000u);
  start = GetTickCount();
  Application->ProcessMessages(); // empty queue: returns at once
  EXPECT_LT(GetTickCount() - start, 200u);
}

TEST(MessagePump, PostedMessagesAreHandledInOrderDuringAWait) {
  auto form = std::make_unique<TForm>(nullptr);
  std::vector<WPARAM> seen;
  form->SetMessageHandler(WM_USER + 42, [&](TMessage &message) {
    seen.push_back(message.WParam);
    message.Result = 0;
  });
  for (WPARAM i = 0; i < 5; ++i)
    PostMessageA(form->Handle(), WM_USER + 42, i, 0);
  ASSERT_TRUE(pumpUntil([&] { return seen.size() == 5; }));
  EXPECT_EQ(seen, (std::vector<WPARAM>{0, 1, 2, 3, 4}));
}

namespace {

// The help program as the platform finds it: a top-level window of its
// class, to which each help call comes as copied data (the call's header
// followed by the help file's name).
class StandInHelp {
public:
  StandInHelp() {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "MS_WINHELP";
    RegisterClassA(&windowClass);
    window_ = CreateWindowExA(0, "MS_WINHELP", "Help", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                              GetModuleHandleA(nullptr), nullptr);
    SetPropA(window_, "StandInHelp", this);
  }
  ~StandInHelp() {
    RemovePropA(window_, "StandInHelp");
    DestroyWindow(window_);
    UnregisterClassA("MS_WINHELP", GetModuleHandleA(nullptr));
  }
  StandInHelp(const StandInHelp &) = delete;
  StandInHelp &operator=(const StandInHelp &) = delete;

  std::vector<std::string> calls; // the bytes of each call

private:
  static LRESULT CALLBACK windowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto *self = static_cast<StandInHelp *>(GetPropA(window, "StandInHelp"));
    if (msg == WM_COPYDATA && self) {
      const auto *copied = reinterpret_cast<const COPYDATASTRUCT *>(lParam);
      self->calls.emplace_back(static_cast<const char *>(copied->lpData), copied->cbData);
      return TRUE;
    }
    return DefWindowProcA(window, msg, wParam, lParam);
  }

  HWND window_;
};

// A little-endian field of a help call.
unsigned field(const std::string &call, std::size_t offset, std::size_t width) {
  unsigned value = 0;
  for (std::size_t i = 0; i < width && offset + i < call.size(); ++i)
    value |= static_cast<unsigned>(static_cast<unsigned char>(call[offset + i])) << (8 * i);
  return value;
}

} // namespace

TEST(ApplicationHelp, HelpCallsReachTheHelpSystemWithTheFileAndTopic) {
  StandInHelp help;
  Application->SetHelpFile("");
  EXPECT_FALSE(Application->HelpContext(100)); // no help file: no call
  EXPECT_TRUE(help.calls.empty());

  Application->SetHelpFile("C:\\Lexitray\\vqspell.hlp");
  EXPECT_TRUE(Application->HelpContext(101));
  EXPECT_TRUE(Application->HelpCommand(HELP_QUIT, 0));
  Application->SetHelpFile("");
  ASSERT_EQ(help.calls.size(), 2u);
  // Header: size, command, data; the file name follows it.
  const std::string &topic = help.calls[0];
  EXPECT_EQ(field(topic, 2, 2), static_cast<unsigned>(HELP_CONTEXT));
  EXPECT_EQ(field(topic, 4, 4), 101u);
  EXPECT_NE(topic.find("C:\\Lexitray\\vqspell.hlp"), std::string::npos);
  EXPECT_EQ(field(help.calls[1], 2, 2), static_cast<unsigned>(HELP_QUIT));
}

// The tray restores the program through the application window, which
// carries the task-bar button.
TEST(Application, MinimizeAndRestoreActOnTheApplicationWindow) {
  HWND window = Application->Handle();
  ASSERT_FALSE(IsIconic(window));
  Application->Minimize();
  EXPECT_TRUE(IsIconic(window));
  Application->Restore();
  EXPECT_FALSE(IsIconic(window));
  ShowWindow(window, SW_HIDE);
}

TEST(MessagePump, HandleMessageWaitsForOneMessageAndHandlesIt) {
  auto form = std::make_unique<TForm>(nullptr);
  int handled = 0;
  form->SetMessageHandler(WM_USER + 43, [&](TMessage &) { ++handled; });
  // Nothing is waiting: the message arrives from a timer while the call
  // sleeps.
  Application->ProcessMessages();
  TTimer timer(nullptr);
  timer.SetInterval(100);
  timer.OnTimer = [&](TObject *) {
    timer.SetEnabled(false);
    PostMessageA(form->Handle(), WM_USER + 43, 0, 0);
  };
  for (int calls = 0; calls < 50 && handled == 0; ++calls)
    Application->HandleMessage();
  EXPECT_EQ(handled, 1);
}
