// Lexitray.exe end to end under Wine: each test copies the program and the
// shipped English dictionary into a folder of its own, starts it as a user
// would and drives it from this process through its windows, with the text
// put on and read from the clipboard through the Win32 API.
#include "clipboard-checker/tests/lexitray-driver.h"

#include "testing/test-paths.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
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
  void TearDown() override { program.reset(); }

  void start() { program = std::make_unique<LexitrayProcess>(folder.string()); }
  bool formUp() {
    return pumpUntil([this] { return program->form() != nullptr; });
  }
  bool statusIs(const std::string &text) {
    return pumpUntil([&] { return program->statusText() == text; });
  }
  bool dialogShows(const std::string &word) {
    return pumpUntil([&] { return program->shownWord() == word; });
  }
  bool clipboardHolds(const std::string &text) {
    return pumpUntil([&] { return clipboard.text() == text; });
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
  EXPECT_TRUE(saveScreenShot(unionOf(form, program->checkDialog()),
                             testing_support::hostPath(artefact("lexitray-check-dialog.bmp"))));
  ASSERT_TRUE(program->answerDialog("The", "C&hange"));
  EXPECT_TRUE(clipboardHolds("The quick brown fox")) << clipboard.text();
  // Four words, and the replacement read again: "Re-check Replaced Words"
  // is on by default, and every word read is counted.
  EXPECT_TRUE(statusIs("5 words checked")) << program->statusText();
  EXPECT_TRUE(pumpUntil([&] { return program->checkDialog() == nullptr; }));
  EXPECT_EQ(program->editText(), "The quick brown fox");
  EXPECT_TRUE(
      saveScreenShot(rectOf(form), testing_support::hostPath(artefact("lexitray-main.bmp"))));
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
  ASSERT_TRUE(pumpUntil([&] { return IsIconic(application) != FALSE; }))
      << describeWindows(program->id());

  LexitrayProcess second(folder.string());
  DWORD start = GetTickCount();
  DWORD exitCode = 1;
  ASSERT_TRUE(second.waitForExit(5000, &exitCode)) << "the second start is still running";
  std::cout << "second start ended after " << GetTickCount() - start << " ms\n";
  EXPECT_EQ(exitCode, 0u);
  EXPECT_TRUE(topLevelWindows(second.id(), true).empty());
  // The first instance is back: not minimised, its form shown again.
  EXPECT_TRUE(pumpUntil([&] { return !IsIconic(application) && program->form() != nullptr; }));
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
  ASSERT_TRUE(pumpUntil([&] { return rectOf(form).left == 140; }));
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
  ASSERT_TRUE(pumpUntil([&] { return program->form() == nullptr; }));
  int followingSeen = following.notifications(), precedingSeen = preceding.notifications();

  clipboard.setText("Teh blorf"); // copied in another program
  ASSERT_TRUE(dialogShows("Teh")) << describeWindows(program->id());
  EXPECT_NE(program->form(), nullptr);
  EXPECT_TRUE(pumpUntil([&] {
    return following.notifications() > followingSeen && preceding.notifications() > precedingSeen;
  }));
  ASSERT_TRUE(program->answerDialog("The", "C&hange"));
  ASSERT_TRUE(dialogShows("blorf"));
  ASSERT_TRUE(program->answerDialog(nullptr, "I&gnore"));
  EXPECT_TRUE(clipboardHolds("The blorf")) << clipboard.text();
  EXPECT_TRUE(statusIs("3 words checked")) << program->statusText();
  // The program's own write-back is no new text: "blorf" is not asked
  // about again.
  pumpFor(3000);
  EXPECT_EQ(program->checkDialog(), nullptr);
  EXPECT_EQ(clipboard.text(), "The blorf");
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
  EXPECT_TRUE(pumpUntil([&] {
    std::vector<int> now = seen();
    return now[0] > before[0] && now[1] > before[1] && now[2] > before[2];
  }));
  // The program's successor leaves: the program passes notices to the
  // viewer after it.
  following.leave();
  before = seen();
  clipboard.setText("two");
  EXPECT_TRUE(pumpUntil([&] { return seen()[0] > before[0] && seen()[2] > before[2]; }));
  // The head leaves; the program is the head now.
  first.leave();
  before = seen();
  clipboard.setText("three");
  EXPECT_TRUE(pumpUntil([&] { return seen()[2] > before[2]; }));
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

// 100 KB of known words in lines: the text comes back whole, however
// long; the rich edit's default limit would cut it at 32 KB.
TEST_F(LexitrayTest, LongTextComesBackWhole) {
  std::string text;
  int words = 0;
  while (text.size() < 100 * 1024) {
    text += "the quick brown fox jumps over the lazy dog\r\n";
    words += 9;
  }
  clipboard.setText(text);
  start();
  ASSERT_TRUE(formUp());
  ASSERT_TRUE(pumpUntil(
      [&] { return program->statusText() == std::to_string(words) + " words checked"; }, 120000))
      << program->statusText();
  std::string back = clipboard.text();
  EXPECT_EQ(back.size(), text.size());
  auto differ = std::mismatch(text.begin(), text.end(), back.begin(), back.end());
  EXPECT_TRUE(back == text) << "first difference at " << differ.first - text.begin() << ": \""
                            << back.substr(static_cast<std::size_t>(differ.second - back.begin()),
                                           20)
                            << "\"";
}

// Text the program's 8-bit code page cannot hold is left on the clipboard
// as it is, and the status bar says why.
TEST_F(LexitrayTest, TextOutsideTheCodePageIsLeftUnchangedWithAMessage) {
  const std::wstring text = L"Teh \x65E5\x672C and \x0142\x00F3d\x017A";
  clipboard.setUnicodeText(text);
  start();
  ASSERT_TRUE(formUp());
  EXPECT_TRUE(
      statusIs("The clipboard text has characters outside the code page; it was left unchanged"))
      << program->statusText();
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
  pumpUntil([&] {
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

// The menus of the tool bar: the spelling options come up through the
// spelling component, the about box closes on a click.
TEST_F(LexitrayTest, PreferencesOpenTheSpellingOptionsAndHelpShowsTheAboutBox) {
  clipboard.clear();
  start();
  ASSERT_TRUE(formUp());
  ASSERT_TRUE(statusIs("There's no text on the clipboard"));
  ASSERT_TRUE(program->clickToolButton("Preferences..."));
  ASSERT_TRUE(program->chooseMenuItem(0));
  HWND options = nullptr;
  ASSERT_TRUE(pumpUntil([&] {
    return (options = findTopLevel(program->id(), "", "Spell Check Configuration")) != nullptr;
  })) << describeWindows(program->id());
  HWND cancel = findChild(options, "Button", "&Cancel");
  ASSERT_NE(cancel, nullptr);
  PostMessageA(cancel, BM_CLICK, 0, 0);
  EXPECT_TRUE(pumpUntil(
      [&] { return findTopLevel(program->id(), "", "Spell Check Configuration") == nullptr; }));

  ASSERT_TRUE(program->clickToolButton("Help"));
  ASSERT_TRUE(program->chooseMenuItem(1));
  HWND about = nullptr;
  ASSERT_TRUE(pumpUntil([&] {
    return (about = findTopLevel(program->id(), "TForm", "About Lexitray")) != nullptr;
  })) << describeWindows(program->id());
  EXPECT_NE(findChild(about, "Static", "Lexitray"), nullptr);
  EXPECT_NE(findChild(about, "Static", "version 1.0"), nullptr);
  RECT box = rectOf(about);
  EXPECT_EQ(box.right - box.left, 253);
  EXPECT_EQ(box.bottom - box.top, 218);
  PostMessageA(about, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
  PostMessageA(about, WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
  EXPECT_TRUE(
      pumpUntil([&] { return findTopLevel(program->id(), "TForm", "About Lexitray") == nullptr; }));
  EXPECT_NE(program->form(), nullptr);
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
    return pumpUntil([&] { return program->form() == nullptr; });
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
