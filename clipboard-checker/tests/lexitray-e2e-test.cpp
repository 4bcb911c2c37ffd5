// Lexitray.exe end to end under Wine: each test copies the program and the
// shipped English dictionary into a folder of its own, starts it as a user
// would and drives it from this process through its windows, with the text
// put on and read from the clipboard through the Win32 API.
#include "clipboard-checker/tests/lexitray-driver.h"
#include "testing/window-shot.h"

#include "platform/base/win32/gdi-owners.h"
#include "testing/test-paths.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <sstream>
#include <string>

namespace {

using namespace lexitray_test;
namespace fs = std::filesystem;

const char StateKey[] = "Software\\Ovelmark\\lexitray\\1.0";

std::string readFile(const fs::path &path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// The unix build folder, where the screenshots stay.
std::string artefact(const std::string &name) {
  return testing_support::envOr("TEST_BINARY_DIR", ".") + std::string("/") + name;
}

RECT unionOf(HWND first, HWND second) {
  RECT a{}, b{}, both{};
  GetWindowRect(first, &a);
  GetWindowRect(second, &b);
  UnionRect(&both, &a, &b);
  return both;
}

RECT rectOf(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  return rect;
}

class LexitrayTest : public ::testing::Test {
protected:
  void SetUp() override {
    folder = fs::path(testing_support::scratchPath(
        ::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(folder);
    fs::create_directories(folder);
    fs::path built(testing_support::hostPath(LEXITRAY_DIR));
    fs::copy_file(built / "Lexitray.exe", folder / "Lexitray.exe");
    fs::copy_file(built / "American.dct", folder / "American.dct");
    RegDeleteKeyA(HKEY_CURRENT_USER, StateKey);
  }
  // A passed case's copy of the program goes (each is tens of megabytes);
  // a failed one stays to be looked at.
  void TearDown() override {
    program.reset();
    if (!HasFailure()) {
      std::error_code ignored;
      fs::remove_all(folder, ignored);
    }
  }

  void start() { program = std::make_unique<LexitrayProcess>(folder.string()); }
  bool formUp() {
    return waitUntil([this] { return program->form() != nullptr; });
  }
  bool statusIs(const std::string &text) {
    return waitUntil([&] { return program->statusText() == text; });
  }
  bool dialogShows(const std::string &word) {
    return waitUntil([&] { return program->shownWord() == word; });
  }
  // The status text is narrower than the status bar of the form at its
  // designed size, in the form's font.
  bool statusFits() {
    HWND bar = FindWindowExA(program->form(), nullptr, STATUSCLASSNAMEA, nullptr);
    RECT client{};
    GetClientRect(bar, &client);
    HDC dc = GetDC(nullptr);
    HFONT font =
        CreateFontA(-11, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "MS Sans Serif");
    HGDIOBJ old = SelectObject(dc, font);
    std::string text = program->statusText();
    SIZE size{};
    GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(dc, old);
    DeleteObject(font);
    ReleaseDC(nullptr, dc);
    std::cout << "status \"" << text << "\": " << size.cx << " of " << client.right << " pixels\n";
    return bar && size.cx + 8 < client.right;
  }
  bool clipboardHolds(const std::string &text) {
    return waitUntil([&] { return clipboard.text() == text; });
  }
  // Turns "Immediate Checking" on through the "Preferences..." menu.
  void turnOnImmediateChecking() {
    ASSERT_TRUE(program->clickToolButton("Preferences..."));
    ASSERT_TRUE(program->chooseMenuItem(2));
  }
  bool endProgram() {
    program->close();
    return program->waitForExit(20000);
  }

  fs::path folder;
  ClipboardAccess clipboard;
  std::unique_ptr<LexitrayProcess> program;
};

TEST_F(LexitrayTest, ChangeInTheDialogPutsTheCorrectedTextBackAndCountsTheWords) {
  clipboard.setText("Teh quick brown fox");
  start();
  ASSERT_TRUE(formUp());
  ASSERT_TRUE(dialogShows("Teh")) << "status: " << program->statusText() << "\n"
                                  << describeWindows(program->id());
  HWND form = program->form();
  EXPECT_EQ(program->editText(), "Teh quick brown fox");
  EXPECT_TRUE(test_windows::saveScreenArea(
      unionOf(form, program->checkDialog()),
      testing_support::hostPath(artefact("lexitray-check-dialog.bmp"))));
  ASSERT_TRUE(program->answerDialog("The", "C&hange"));
  EXPECT_TRUE(clipboardHolds("The quick brown fox")) << clipboard.text();
  // Four words, and the replacement read again: "Re-check Replaced Words"
  // is on by default, and every word read is counted.
  EXPECT_TRUE(statusIs("5 words checked")) << program->statusText();
  EXPECT_TRUE(waitUntil([&] { return program->checkDialog() == nullptr; }));
  EXPECT_EQ(program->editText(), "The quick brown fox");
  EXPECT_TRUE(test_windows::saveScreenArea(
      rectOf(form), testing_support::hostPath(artefact("lexitray-main.bmp"))));
  std::cout << "screenshots: " << artefact("lexitray-check-dialog.bmp") << ", "
            << artefact("lexitray-main.bmp") << "\n";

  ASSERT_TRUE(endProgram());
  // The configuration was made from the program's folder, with the shipped
  // dictionary selected, and written when the program ended.
  std::string config = readFile(folder / "VERBA.CFG");
  std::cout << config;
  EXPECT_NE(config.find("[verba]"), std::string::npos);
  EXPECT_NE(config.find("U_MU_DCT_ListCount=1"), std::string::npos);
  std::string path = (folder / "American.dct").string();
  std::replace(path.begin(), path.end(), '/', '\\');
  EXPECT_NE(config.find("U_MU_DCT_0=T" + path + "\r\n"), std::string::npos) << path;
  EXPECT_NE(config.find("M_DCT_0=American English"), std::string::npos);
}

TEST_F(LexitrayTest, WithoutTextOnTheClipboardTheStatusBarSaysSo) {
  clipboard.clear();
  start();
  ASSERT_TRUE(formUp());
  EXPECT_TRUE(statusIs("There's no text on the clipboard")) << program->statusText();
  EXPECT_EQ(program->checkDialog(), nullptr);
  EXPECT_FALSE(clipboard.hasText());
  // "Check..." with text now there runs the check road again.
  clipboard.setText("Teh fox");
  ASSERT_TRUE(program->clickToolButton("Check..."));
  ASSERT_TRUE(dialogShows("Teh"));
  ASSERT_TRUE(program->answerDialog("The", "C&hange"));
  EXPECT_TRUE(clipboardHolds("The fox"));
  EXPECT_TRUE(statusIs("3 words checked")) << program->statusText();
}

TEST_F(LexitrayTest, ASecondStartBringsBackTheMinimisedFirstAndEndsAtOnce) {
  clipboard.clear();
  start();
  ASSERT_TRUE(formUp());
  ASSERT_TRUE(statusIs("There's no text on the clipboard"));
  HWND application = program->application();
  ASSERT_NE(application, nullptr);
  ShowWindow(application, SW_MINIMIZE);
  ASSERT_TRUE(waitUntil([&] { return IsIconic(application) != FALSE; }))
      << describeWindows(program->id());

  LexitrayProcess second(folder.string());
  DWORD start = GetTickCount();
  DWORD exitCode = 1;
  ASSERT_TRUE(second.waitForExit(5000, &exitCode)) << "the second start is still running";
  std::cout << "second start ended after " << GetTickCount() - start << " ms\n";
  EXPECT_EQ(exitCode, 0u);
  EXPECT_TRUE(topLevelWindows(second.id(), true).empty());
  // The first instance is back: not minimised, its form shown again.
  EXPECT_TRUE(waitUntil([&] { return !IsIconic(application) && program->form() != nullptr; }));
  EXPECT_EQ(topLevelWindows(program->id()).size(), 2u) << "application window and form";
}

TEST_F(LexitrayTest, WindowBoundsSurviveARestart) {
  clipboard.clear();
  start();
  ASSERT_TRUE(formUp());
  ASSERT_TRUE(statusIs("There's no text on the clipboard"));
  HWND form = program->form();
  RECT designed = rectOf(form);
  EXPECT_EQ(designed.left, 326);
  EXPECT_EQ(designed.top, 116);
  SetWindowPos(form, nullptr, 140, 90, 420, 300, SWP_NOZORDER | SWP_NOACTIVATE);
  ASSERT_TRUE(waitUntil([&] { return rectOf(form).left == 140; }));
  ASSERT_TRUE(endProgram());

  start();
  ASSERT_TRUE(formUp());
  ASSERT_TRUE(statusIs("There's no text on the clipboard"));
  RECT again = rectOf(program->form());
  EXPECT_EQ(again.left, 140);
  EXPECT_EQ(again.top, 90);
  EXPECT_EQ(again.right - again.left, 420);
  EXPECT_EQ(again.bottom - again.top, 300);
}

} // namespace

namespace {

TEST_F(LexitrayTest, ImmediateCheckingBringsTheFormBackFromTheTrayAndChecksTheNewText) {
  clipboard.clear();
  TestViewer following; // joined before the program: it follows it
  start();
  ASSERT_TRUE(formUp());
  ASSERT_TRUE(statusIs("There's no text on the clipboard"));
  TestViewer preceding; // joined after: it comes before it
  turnOnImmediateChecking();
  HWND form = program->form();
  SendMessageA(form, WM_SYSCOMMAND, SC_CLOSE, 0); // the close box hides to the tray
  ASSERT_TRUE(waitUntil([&] { return program->form() == nullptr; }));
  int followingSeen = following.notifications(), precedingSeen = preceding.notifications();

  clipboard.setText("Teh blorf"); // copied in another program
  ASSERT_TRUE(dialogShows("Teh")) << describeWindows(program->id());
  EXPECT_NE(program->form(), nullptr);
  EXPECT_TRUE(waitUntil([&] {
    return following.notifications() > followingSeen && preceding.notifications() > precedingSeen;
  }));
  ASSERT_TRUE(program->answerDialog("The", "C&hange"));
  ASSERT_TRUE(dialogShows("blorf"));
  ASSERT_TRUE(program->answerDialog(nullptr, "I&gnore"));
  // The count comes once the text is back on the clipboard: waiting for it
  // keeps this process off the clipboard while the program writes.
  EXPECT_TRUE(statusIs("3 words checked")) << program->statusText() << "\n"
                                           << describeWindows(program->id());
  EXPECT_EQ(clipboard.text(), "The blorf");
  // The program's own write-back is no new text: "blorf" is not asked
  // about again.
  pumpFor(3000);
  EXPECT_EQ(program->checkDialog(), nullptr);
  EXPECT_EQ(clipboard.text(), "The blorf");
}

// Another program that happens to be reading the clipboard when the check
// ends holds it open for a moment: the corrected text still goes back,
// with no error, once the clipboard is free.
TEST_F(LexitrayTest, TheCorrectedTextGoesBackWhileAnotherProgramHoldsTheClipboardAMoment) {
  clipboard.setText("Teh fox");
  start();
  ASSERT_TRUE(formUp());
  ASSERT_TRUE(dialogShows("Teh"));
  struct Holder {
    HANDLE opened = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    ~Holder() { CloseHandle(opened); }
    static DWORD WINAPI run(void *self) {
      if (!OpenClipboard(nullptr))
        return 1;
      SetEvent(static_cast<Holder *>(self)->opened);
      Sleep(700);
      CloseClipboard();
      return 0;
    }
  } holder;
  HANDLE thread = CreateThread(nullptr, 0, Holder::run, &holder, 0, nullptr);
  ASSERT_NE(thread, nullptr);
  ASSERT_EQ(WaitForSingleObject(holder.opened, 10000), WAIT_OBJECT_0);
  ASSERT_TRUE(program->answerDialog("The", "C&hange"));
  EXPECT_TRUE(statusIs("3 words checked")) << program->statusText() << "\n"
                                           << describeWindows(program->id());
  WaitForSingleObject(thread, 10000);
  CloseHandle(thread);
  EXPECT_EQ(clipboard.text(), "The fox");
  // No message box: the write did not fail.
  for (HWND window : topLevelWindows(program->id()))
    EXPECT_NE(windowClass(window), "#32770") << describeWindows(program->id());
}

TEST_F(LexitrayTest, ViewersAroundTheProgramKeepHearingOfChangesAndTheChainIsRepaired) {
  clipboard.clear();
  TestViewer last, following; // the chain: program, following, last
  start();
  ASSERT_TRUE(formUp());
  ASSERT_TRUE(statusIs("There's no text on the clipboard"));
  TestViewer first; // first, program, following, last
  auto seen = [&] {
    return std::vector<int>{first.notifications(), following.notifications(), last.notifications()};
  };
  std::vector<int> before = seen();
  clipboard.setText("one");
  EXPECT_TRUE(waitUntil([&] {
    std::vector<int> now = seen();
    return now[0] > before[0] && now[1] > before[1] && now[2] > before[2];
  }));
  // The program's successor leaves: the program passes notices to the
  // viewer after it.
  following.leave();
  before = seen();
  clipboard.setText("two");
  EXPECT_TRUE(waitUntil([&] { return seen()[0] > before[0] && seen()[2] > before[2]; }));
  // The head leaves; the program is the head now.
  first.leave();
  before = seen();
  clipboard.setText("three");
  EXPECT_TRUE(waitUntil([&] { return seen()[2] > before[2]; }));
  // With "Immediate Checking" off the window takes no notice of new text.
  EXPECT_EQ(program->statusText(), "There's no text on the clipboard");
  EXPECT_EQ(program->checkDialog(), nullptr);
  EXPECT_EQ(clipboard.text(), "three");
}

// A check request while the dialog is up (a restore from the tray posts
// one): the running check keeps its text, and the new request is dropped.
TEST_F(LexitrayTest, ACheckRequestDuringACheckLeavesTheTextUnderTheDialogAlone) {
  clipboard.setText("Teh quick brown fox");
  start();
  ASSERT_TRUE(dialogShows("Teh"));
  clipboard.setText("Other words entirely");
  const UINT checkRequest = WM_USER + 42;
  PostMessageA(program->form(), checkRequest, 0, 0);
  pumpFor(1500);
  EXPECT_EQ(program->editText(), "Teh quick brown fox");
  ASSERT_TRUE(dialogShows("Teh"));
  ASSERT_TRUE(program->answerDialog("The", "C&hange"));
  EXPECT_TRUE(clipboardHolds("The quick brown fox")) << clipboard.text();
  EXPECT_TRUE(statusIs("5 words checked")) << program->statusText();
  pumpFor(1500);
  EXPECT_EQ(program->checkDialog(), nullptr);
}

// Known words, in 100 KB of lines and in one line of 1.8 MB: every word
// is checked and the text comes back whole, however long; the rich edit's
// default limit would cut it at 32 KB.
TEST_F(LexitrayTest, LongTextComesBackWhole) {
  struct LongText {
    const char *name;
    const char *lineEnd;
    std::size_t size;
  };
  for (const LongText &sample :
       {LongText{"lines", "\r\n", 100 * 1024}, LongText{"one line", " ", 1800 * 1024}}) {
    std::string text;
    int words = 0;
    while (text.size() < sample.size) {
      text += "the quick brown fox jumps over the lazy dog";
      text += sample.lineEnd;
      words += 9;
    }
    clipboard.setText(text);
    start();
    ASSERT_TRUE(formUp()) << sample.name;
    ASSERT_TRUE(waitUntil(
        [&] { return program->statusText() == std::to_string(words) + " words checked"; }, 120000))
        << sample.name << ": " << program->statusText();
    std::string back = clipboard.text();
    EXPECT_EQ(back.size(), text.size()) << sample.name;
    auto differ = std::mismatch(text.begin(), text.end(), back.begin(), back.end());
    EXPECT_TRUE(back == text) << sample.name << ": first difference at "
                              << differ.first - text.begin() << ": \""
                              << back.substr(static_cast<std::size_t>(differ.second - back.begin()),
                                             20)
                              << "\"";
    ASSERT_TRUE(endProgram()) << sample.name;
  }
}

const char OutsideTheCodePage[] = "Not checked: characters outside the code page";

// Text the program's 8-bit code page cannot hold is left on the clipboard
// as it is, and the status bar says why.
TEST_F(LexitrayTest, TextOutsideTheCodePageIsLeftUnchangedWithAMessage) {
  const std::wstring text = L"Teh \x65E5\x672C and \x0142\x00F3d\x017A";
  clipboard.setUnicodeText(text);
  start();
  ASSERT_TRUE(formUp());
  EXPECT_TRUE(statusIs(OutsideTheCodePage)) << program->statusText();
  EXPECT_TRUE(statusFits());
  EXPECT_EQ(program->editText(), "");
  EXPECT_EQ(program->checkDialog(), nullptr);
  EXPECT_TRUE(clipboard.unicodeText() == text);
  // Text that the code page holds, characters above 127 included, is
  // checked and comes back as it was.
  const std::wstring western = L"Teh caf\x00E9";
  clipboard.setUnicodeText(western);
  ASSERT_TRUE(program->clickToolButton("Check..."));
  ASSERT_TRUE(dialogShows("Teh")) << program->statusText();
  ASSERT_TRUE(program->answerDialog("The", "C&hange"));
  // The word list may not know the second word: it is let through.
  waitUntil([&] {
    return program->shownWord() == "caf\xE9" || program->statusText() == "3 words checked";
  });
  if (program->shownWord() == "caf\xE9") {
    ASSERT_TRUE(program->answerDialog(nullptr, "I&gnore"));
  }
  EXPECT_TRUE(statusIs("3 words checked"))
      << program->statusText() << describeWindows(program->id());
  EXPECT_TRUE(clipboard.unicodeText() == L"The caf\x00E9");
}

} // namespace

namespace {

// A single click on the tray icon restores the window only with
// "Single-click Restore" checked, and that mark survives a restart.
TEST_F(LexitrayTest, SingleClickRestoreIsKeptAcrossARestart) {
  clipboard.clear();
  start();
  ASSERT_TRUE(formUp());
  ASSERT_TRUE(statusIs("There's no text on the clipboard"));
  auto toTray = [&] {
    SendMessageA(program->form(), WM_SYSCOMMAND, SC_CLOSE, 0);
    return waitUntil([&] { return program->form() == nullptr; });
  };
  ASSERT_TRUE(toTray());
  program->trayClick();
  pumpFor(1500);
  EXPECT_EQ(program->form(), nullptr) << "restored by a single click without the mark";
  program->trayDoubleClick();
  ASSERT_TRUE(formUp());
  ASSERT_TRUE(program->clickToolButton("Preferences..."));
  ASSERT_TRUE(program->chooseMenuItem(1));
  ASSERT_TRUE(toTray());
  program->trayClick();
  EXPECT_TRUE(formUp());
  ASSERT_TRUE(endProgram());

  start();
  ASSERT_TRUE(formUp());
  ASSERT_TRUE(statusIs("There's no text on the clipboard"));
  ASSERT_TRUE(toTray());
  program->trayClick();
  EXPECT_TRUE(formUp()) << "the mark was not kept";
}

} // namespace

namespace {

// How a mistake is answered in the check dialog.
enum class Answer { Change, ChangeAll, DoubleClick };

struct Step {
  const char *shown; // the word the dialog asks about
  Answer answer;     // typed (Change, Change All) or double-clicked
  const char *word;  // the replacement
};

struct ThreeMistakes {
  const char *text;
  Step steps[3];
  const char *expected;
};

std::string listOf(const std::vector<std::string> &items) {
  std::string text;
  for (const std::string &item : items)
    text += "\"" + item + "\" ";
  return text;
}

// Three mistakes answered with Change, Change All and a double-click on a
// suggestion, in each order: one double-click is one command, so the next
// mistake is still asked about and the text comes back whole.
const ThreeMistakes AnswerOrders[] = {
    {"Teh quick brown fox jumpd over the lazzy dog.",
     {{"Teh", Answer::Change, "The"},
      {"jumpd", Answer::DoubleClick, "jumped"},
      {"lazzy", Answer::ChangeAll, "lazy"}},
     "The quick brown fox jumped over the lazy dog."},
    {"Recieve the pakage tomorow.",
     {{"Recieve", Answer::ChangeAll, "Receive"},
      {"pakage", Answer::DoubleClick, "package"},
      {"tomorow", Answer::Change, "tomorrow"}},
     "Receive the package tomorrow."},
    {"Recieve the pakage tomorow.",
     {{"Recieve", Answer::Change, "Receive"},
      {"pakage", Answer::ChangeAll, "package"},
      {"tomorow", Answer::DoubleClick, "tomorrow"}},
     "Receive the package tomorrow."},
};

// Each row in a program of its own, started with the text on the
// clipboard: corrections of one check would be applied in the next as the
// component's change-all and auto-correct lists.
TEST_F(LexitrayTest, ChangeChangeAllAndADoubleClickEachMendOneWord) {
  for (const ThreeMistakes &row : AnswerOrders) {
    SCOPED_TRACE(row.text);
    program.reset();
    clipboard.setText(row.text);
    start();
    for (const Step &step : row.steps) {
      ASSERT_TRUE(dialogShows(step.shown))
          << "expected to be asked about \"" << step.shown << "\"; the clipboard holds \""
          << clipboard.text() << "\", the status bar says \"" << program->statusText()
          << "\", the dialog shows \"" << program->shownWord() << "\" in \"" << program->editText()
          << "\"\n"
          << describeWindows(program->id());
      switch (step.answer) {
      // The buttons are enabled once the dialog has taken the word in.
      case Answer::Change:
        ASSERT_TRUE(waitUntil([&] { return program->answerDialog(step.word, "C&hange"); }));
        break;
      case Answer::ChangeAll:
        ASSERT_TRUE(waitUntil([&] { return program->answerDialog(step.word, "&Change All"); }));
        break;
      case Answer::DoubleClick: {
        // The suggestions come in the background.
        ASSERT_TRUE(waitUntil([&] {
          std::vector<std::string> listed = program->suggestions();
          return std::find(listed.begin(), listed.end(), step.word) != listed.end();
        })) << "\""
            << step.word << "\" is not suggested: " << listOf(program->suggestions());
        ASSERT_TRUE(program->doubleClickSuggestion(step.word));
        break;
      }
      }
      ASSERT_TRUE(waitUntil([&] { return program->shownWord() != step.shown; }))
          << "\"" << step.shown << "\" is still asked about";
    }
    EXPECT_TRUE(clipboardHolds(row.expected)) << clipboard.text();
    EXPECT_TRUE(waitUntil([&] { return program->checkDialog() == nullptr; }));
    EXPECT_EQ(program->editText(), row.expected);
  }
}

} // namespace

namespace {

// Text from a file often starts with a byte-order mark: the rest is
// checked and the mark comes back with the corrected text. Greek text
// after it is still left as it is, the edit box emptied of the text before
// it and the message short enough to read whole; the next check clears
// the message.
TEST_F(LexitrayTest, ALeadingByteOrderMarkIsKeptOutOfTheCheckAndPutBack) {
  clipboard.setUnicodeText(L"\xFEFFTeh caf\x00E9 is open.\r\nSee you.");
  start();
  ASSERT_TRUE(formUp());
  ASSERT_TRUE(dialogShows("Teh")) << program->statusText();
  EXPECT_EQ(program->editText(), "Teh caf\xE9 is open.\r\nSee you.");
  ASSERT_TRUE(program->answerDialog("The", "C&hange"));
  waitUntil([&] {
    return program->shownWord() == "caf\xE9" || program->statusText() == "7 words checked";
  });
  if (program->shownWord() == "caf\xE9") {
    ASSERT_TRUE(program->answerDialog(nullptr, "I&gnore"));
  }
  ASSERT_TRUE(statusIs("7 words checked")) << program->statusText();
  EXPECT_TRUE(waitUntil(
      [&] { return clipboard.unicodeText() == L"\xFEFFThe caf\x00E9 is open.\r\nSee you."; }));

  const std::wstring greek = L"\xFEFFThe word \x03BB\x03CC\x03B3\x03BF\x03C2 is Greek";
  clipboard.setUnicodeText(greek);
  ASSERT_TRUE(program->clickToolButton("Check..."));
  EXPECT_TRUE(statusIs(OutsideTheCodePage)) << program->statusText();
  EXPECT_TRUE(statusFits());
  EXPECT_EQ(program->editText(), "");
  EXPECT_EQ(program->checkDialog(), nullptr);
  EXPECT_TRUE(clipboard.unicodeText() == greek);

  clipboard.setText("Teh end");
  ASSERT_TRUE(program->clickToolButton("Check..."));
  ASSERT_TRUE(dialogShows("Teh"));
  EXPECT_EQ(program->statusText(), "") << "the last check's message stays";
  ASSERT_TRUE(program->answerDialog("The", "C&hange"));
  EXPECT_TRUE(clipboardHolds("The end"));
}

} // namespace

namespace {

// The rows of a screen rectangle that hold ink (pixels much darker than
// the background), counted from the first such row to the last.
int inkHeight(const RECT &area) {
  HDC screen = GetDC(nullptr);
  int first = -1, last = -1;
  for (int y = area.top; y < area.bottom; ++y)
    for (int x = area.left; x < area.right; ++x) {
      COLORREF pixel = GetPixel(screen, x, y);
      if (GetRValue(pixel) + GetGValue(pixel) + GetBValue(pixel) < 3 * 96) {
        if (first < 0)
          first = y;
        last = y;
        break;
      }
    }
  ReleaseDC(nullptr, screen);
  return first < 0 ? 0 : last - first + 1;
}

// The tool bar as designed: "Check..." at 0, the drop-down buttons
// "Preferences..." at 73 and "Help" at 161, whatever the captions' widths
// in the display's font.
TEST_F(LexitrayTest, TheToolBarHasItsDesignedButtons) {
  clipboard.clear();
  start();
  ASSERT_TRUE(formUp());
  ASSERT_TRUE(statusIs("There's no text on the clipboard"));
  // Designed widths (a drop-down button's includes its 15-pixel arrow); a
  // caption wider than that in the font at hand widens its button, and
  // the buttons after it follow. Each caption, measured here in the form's
  // font ("MS Sans Serif", height -11) with the bar's padding, fits its
  // button beside the arrow.
  struct Designed {
    const char *caption;
    int width, arrow;
  };
  const Designed designed[] = {{"Check...", 73, 0}, {"Preferences...", 88, 15}, {"Help", 88, 15}};
  base::WindowDC screen(nullptr);
  base::CreatedDC dc(CreateCompatibleDC(screen.get()));
  base::GdiObject<HFONT> font(
      CreateFontA(-11, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "MS Sans Serif"));
  base::SelectedObject selected(dc.get(), font.get());
  int padding =
      LOWORD(SendMessageA(findChild(program->form(), TOOLBARCLASSNAMEA), TB_GETPADDING, 0, 0));
  int left = 0;
  for (const Designed &button : designed) {
    RECT rect{};
    ASSERT_TRUE(program->toolButtonRect(button.caption, rect)) << button.caption;
    SIZE text{};
    GetTextExtentPoint32A(dc.get(), button.caption, static_cast<int>(std::strlen(button.caption)),
                          &text);
    int width = rect.right - rect.left;
    EXPECT_EQ(rect.left, left) << button.caption;
    EXPECT_GE(width, button.width) << button.caption;
    EXPECT_LE(text.cx + padding, width - button.arrow) << button.caption;
    if (text.cx + padding < 60) { // a short caption keeps the designed width
      EXPECT_EQ(width, button.width) << button.caption;
    }
    EXPECT_EQ(rect.bottom - rect.top, 21) << button.caption;
    left = rect.right;
  }
  EXPECT_TRUE(test_windows::saveScreenArea(
      rectOf(program->form()), testing_support::hostPath(artefact("lexitray-tool-bar.bmp"))));
}

// Where the "Suggestions:" label and the "Suggest" button overlap, the
// button is on top: labels are drawn beneath every windowed control.
TEST_F(LexitrayTest, TheSuggestButtonIsWholeAboveItsLabel) {
  clipboard.setText("Teh fox");
  start();
  ASSERT_TRUE(dialogShows("Teh"));
  HWND dialog = program->checkDialog();
  HWND label = findChild(dialog, "Static", "&Suggestions:");
  HWND button = findChild(dialog, "Button", "S&uggest");
  ASSERT_NE(label, nullptr);
  ASSERT_NE(button, nullptr);
  RECT labelRect = rectOf(label), buttonRect = rectOf(button), overlap{};
  ASSERT_TRUE(IntersectRect(&overlap, &labelRect, &buttonRect)) << "the designed places overlap";
  for (POINT point : {POINT{overlap.left + 2, overlap.top + 1},
                      POINT{(overlap.left + overlap.right) / 2, overlap.bottom - 1}}) {
    ScreenToClient(dialog, &point);
    EXPECT_EQ(ChildWindowFromPointEx(dialog, point, CWP_ALL), button);
  }
  EXPECT_TRUE(test_windows::saveScreenArea(
      rectOf(dialog), testing_support::hostPath(artefact("lexitray-suggest-button.bmp"))));
  ASSERT_TRUE(program->answerDialog("The", "C&hange"));
  EXPECT_TRUE(clipboardHolds("The fox"));
}

// The menus of the tool bar: the spelling options come up through the
// spelling component; the about box is borderless, 253 by 218, with the
// program's name in the large font (ink about twice as tall as the version
// line's), and closes on a click.
TEST_F(LexitrayTest, PreferencesOpenTheSpellingOptionsAndHelpShowsTheAboutBox) {
  clipboard.clear();
  start();
  ASSERT_TRUE(formUp());
  ASSERT_TRUE(statusIs("There's no text on the clipboard"));
  ASSERT_TRUE(program->clickToolButton("Preferences..."));
  ASSERT_TRUE(program->chooseMenuItem(0));
  HWND options = nullptr;
  ASSERT_TRUE(waitUntil([&] {
    return (options = findTopLevel(program->id(), "", "Spell Check Configuration")) != nullptr;
  })) << describeWindows(program->id());
  HWND cancel = findChild(options, "Button", "&Cancel");
  ASSERT_NE(cancel, nullptr);
  PostMessageA(cancel, BM_CLICK, 0, 0);
  EXPECT_TRUE(waitUntil(
      [&] { return findTopLevel(program->id(), "", "Spell Check Configuration") == nullptr; }));

  ASSERT_TRUE(program->clickToolButton("Help"));
  ASSERT_TRUE(program->chooseMenuItem(1));
  HWND about = nullptr;
  ASSERT_TRUE(waitUntil([&] {
    return (about = findTopLevel(program->id(), "TForm", "About Lexitray")) != nullptr;
  })) << describeWindows(program->id());
  EXPECT_EQ(GetWindowLongA(about, GWL_STYLE) & (WS_CAPTION | WS_THICKFRAME | WS_SYSMENU), 0);
  HWND name = findChild(about, "Static", "Lexitray");
  HWND version = findChild(about, "Static", "version 1.0");
  ASSERT_NE(name, nullptr);
  ASSERT_NE(version, nullptr);
  pumpFor(500);
  int large = inkHeight(rectOf(name)), small = inkHeight(rectOf(version));
  std::cout << "ink: title " << large << " px, version " << small << " px\n";
  EXPECT_GE(large, 14);
  EXPECT_LE(small, 11);
  EXPECT_GT(small, 0);
  RECT box = rectOf(about);
  EXPECT_EQ(box.right - box.left, 253);
  EXPECT_EQ(box.bottom - box.top, 218);
  EXPECT_TRUE(test_windows::saveScreenArea(
      rectOf(about), testing_support::hostPath(artefact("lexitray-about.bmp"))));
  // A click anywhere closes it and leaves the main form.
  PostMessageA(about, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
  PostMessageA(about, WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
  EXPECT_TRUE(
      waitUntil([&] { return findTopLevel(program->id(), "TForm", "About Lexitray") == nullptr; }));
  EXPECT_NE(program->form(), nullptr);
}

} // namespace

namespace {

// How the program is left while a check runs.
enum class WayOut { TrayClose, MainFormClose, EndSession };
// What is open when it is left: the check dialog alone, or on top of it
// the options with a change cancelled, asking whether to discard it.
enum class OpenWindows { CheckDialog, DiscardQuestion };

struct Leaving {
  WayOut way;
  OpenWindows open;
};

const char *nameOf(WayOut way) {
  switch (way) {
  case WayOut::TrayClose:
    return "the tray menu's Close";
  case WayOut::MainFormClose:
    return "closing the main form";
  case WayOut::EndSession:
    return "the end of the session";
  }
  return "";
}

// Clicks a button of a window of that caption once it is shown and enabled.
bool clickButton(LexitrayProcess &program, const char *windowCaption, const char *caption) {
  HWND button = nullptr;
  bool ready = waitUntil([&] {
    HWND window = findTopLevel(program.id(), "", windowCaption);
    button = window ? findChild(window, "Button", caption) : nullptr;
    return button && IsWindowVisible(button) && IsWindowEnabled(button);
  });
  bool clicked = ready && program.click(button);
  if (!clicked)
    std::cout << caption << ": " << (button ? "found" : "not found") << ", "
              << (ready ? "shown and enabled" : "not ready") << "\n"
              << describeWindows(program.id());
  return clicked;
}

// Every way out, whatever is open, ends the program within seconds, and
// the word added in the check is in the user dictionary file afterwards
// (the dictionary is written when it is unloaded).
TEST_F(LexitrayTest, EveryWayOutDuringACheckEndsTheProgramAndKeepsTheAddedWord) {
  const Leaving cases[] = {
      {WayOut::TrayClose, OpenWindows::DiscardQuestion},
      {WayOut::MainFormClose, OpenWindows::DiscardQuestion},
      {WayOut::EndSession, OpenWindows::DiscardQuestion},
      {WayOut::TrayClose, OpenWindows::CheckDialog},
      {WayOut::MainFormClose, OpenWindows::CheckDialog},
      {WayOut::EndSession, OpenWindows::CheckDialog},
  };
  for (const Leaving &c : cases) {
    bool question = c.open == OpenWindows::DiscardQuestion;
    SCOPED_TRACE(std::string(nameOf(c.way)) + (question ? " with the question open" : ""));
    fs::remove(folder / "default.udt");
    fs::remove(folder / "VERBA.CFG");
    clipboard.setText("Teh quik brown fox");
    start();
    ASSERT_TRUE(formUp());
    ASSERT_TRUE(dialogShows("Teh")) << describeWindows(program->id());
    ASSERT_TRUE(clickButton(*program, "Spell Check", "&Add"));
    ASSERT_TRUE(dialogShows("quik")) << describeWindows(program->id());
    if (question) {
      ASSERT_TRUE(clickButton(*program, "Spell Check", "&Options"));
      HWND options = nullptr;
      ASSERT_TRUE(waitUntil([&] {
        return (options = findTopLevel(program->id(), "", "Spell Check Configuration")) != nullptr;
      })) << describeWindows(program->id());
      ASSERT_TRUE(program->clickTab(findChild(options, WC_TABCONTROLA), 1));
      HWND upperCase = nullptr;
      ASSERT_TRUE(waitUntil([&] {
        upperCase = findChild(options, "Button", "Words in &UPPERCASE");
        return upperCase && IsWindowVisible(upperCase);
      }));
      ASSERT_TRUE(program->click(upperCase));
      ASSERT_TRUE(waitUntil(
          [&] { return SendMessageA(upperCase, BM_GETCHECK, 0, 0) == BST_CHECKED; }, 5000));
      ASSERT_TRUE(clickButton(*program, "Spell Check Configuration", "&Cancel"));
      ASSERT_TRUE(waitUntil([&] {
        HWND box = findTopLevel(program->id(), "TForm", "Confirmation");
        return box && findChild(box, "Static", "Exit without saving configuration?");
      })) << describeWindows(program->id());
    }
    switch (c.way) {
    case WayOut::TrayClose:
      program->trayMouse({WM_RBUTTONDOWN, WM_RBUTTONUP});
      ASSERT_TRUE(program->chooseMenuItem(0)) << describeWindows(program->id());
      break;
    case WayOut::MainFormClose:
      program->close();
      break;
    case WayOut::EndSession:
      ASSERT_TRUE(program->endSession());
      break;
    }
    // The end takes a few seconds under Wine when the program's windows
    // go (more on a busy machine); a program that hangs never ends.
    DWORD start = GetTickCount();
    EXPECT_TRUE(program->waitForExit(30000)) << "still running:\n"
                                             << describeWindows(program->id());
    std::cout << nameOf(c.way) << (question ? " with the question open" : "") << ": ended after "
              << GetTickCount() - start << " ms\n";
    program.reset();
    std::string words = readFile(folder / "default.udt");
    EXPECT_NE(words.find("IGN_0=Teh\r\n"), std::string::npos) << words;
  }
}

} // namespace
