// The whole check road under Wine: a spelling component with the shipped
// English dictionary checks a rich edit through the real check dialog,
// and the options dialog edits "VERBA.CFG", both driven through their
// windows from inside the loops that show them. Screenshots of both
// dialogs are kept in the test's build folder.
#include "spelling/core/verba-spell.h"
#include "testing/test-files.h"
#include "spelling/win32/control-parsers.h"
#include "spelling/win32/dialogs/spell-windows.h"
#include "testing/dialog-driver.h"

#include "platform/components/win32/application.h"
#include "platform/components/win32/forms.h"
#include "platform/components/win32/std-controls.h"
#include "testing/test-paths.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace spelling;
using namespace dialog_test;
namespace fs = std::filesystem;

std::string readFile(const fs::path &path) { return testing_support::readFile(path.string()); }
void writeFile(const fs::path &path, const std::string &text) {
  testing_support::writeFile(path.string(), text);
}

// The unix build folder, where the screenshots stay.
std::string artefact(const std::string &name) {
  return testing_support::envOr("TEST_BINARY_DIR", ".") + std::string("/") + name;
}

// A folder of its own with the shipped dictionary, an empty user
// dictionary and a configuration that names them.
class CheckRoadTest : public ::testing::Test {
protected:
  void SetUp() override {
    installDesignedFont();
    folder = fs::path(testing_support::scratchPath(
        ::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(folder);
    fs::create_directories(folder);
    fs::copy_file(testing_support::hostPath(ENGLISH_DCT), folder / "American.dct");
    for (const char *name : {"default.udt", "first.udt", "second.udt"})
      writeFile(folder / name, "");
    std::string at = folder.string() + "\\";
    writeFile(folder / "VERBA.CFG", "[verba]\r\nID=1\r\nU_MU_DCT_ListCount=1\r\nU_MU_DCT_0=T" + at +
                                        "American.dct\r\nM_DCT_ListCount=1\r\nM_DCT_0=English\r\n"
                                        "U_DCT_ListCount=3\r\nU_DCT_0=T" +
                                        at + "first.udt\r\nU_DCT_1=T" + at +
                                        "second.udt\r\nU_DCT_2=T" + at +
                                        "default.udt\r\nUserIndex=2\r\n");
    InstallSpellWindows(DefaultSpellPlatform());
    InstallControlParsers(DefaultSpellPlatform());
    form = std::make_unique<components::TForm>(nullptr);
    form->SetBounds(40, 40, 520, 200);
    rich = new components::TRichEdit(form.get());
    rich->SetPlainText(true);
    rich->SetBounds(8, 8, 490, 150);
    rich->SetParent(form.get());
    form->Show();
    spell = std::make_unique<TVerbaSpell>(nullptr);
    spell->SetConfigInAppDir(false);
    spell->SetConfigFileName((folder / "VERBA.CFG").string());
    spell->OnCheckCanceled = [this](components::TObject *) { events.push_back("canceled"); };
    spell->OnCheckComplete = [this](components::TObject *) { events.push_back("complete"); };
  }
  void TearDown() override {
    spell.reset();
    form.reset();
  }

  HWND checkDialog() const { return findTopLevel("Spell Check"); }
  // The word the dialog shows, or "" when it is not up.
  // While a command runs the word field is disabled: nothing is shown.
  std::string shownWord() const {
    HWND dialog = checkDialog();
    if (!dialog || !IsWindowEnabled(dialog))
      return "";
    std::vector<HWND> edits = findChildren(dialog, "Edit");
    return edits.empty() || !IsWindowEnabled(edits[0]) ? "" : windowText(edits[0]);
  }
  // A step: when the dialog shows word, type the replacement (unless
  // null) and press the button.
  DialogDriver::Step on(std::string word, const char *replacement, std::string button) {
    return [this, word, replacement, button] {
      HWND dialog = checkDialog();
      if (shownWord() != word || !dialog)
        return false;
      if (replacement)
        SetWindowTextA(findChildren(dialog, "Edit")[1], replacement);
      steps.push_back(word + ":" + button);
      return pressIfEnabled(dialog, button);
    };
  }
  static DialogDriver::Step answer(std::string message, std::string button) {
    return [message, button] { return pressIfEnabled(findMessage(message), button); };
  }
  // Past the deadline: cancel whatever is up.
  std::function<void()> giveUp() {
    return [this] {
      if (gaveUpAt.empty())
        gaveUpAt = "gave up at \"" + shownWord() + "\"";
      pressIfEnabled(findMessage(""), "OK");
      pressIfEnabled(findMessage(""), "&Yes");
      if (HWND dialog = checkDialog())
        SendMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
      if (HWND options = findTopLevel("Spell Check Configuration"))
        pressIfEnabled(options, "&Cancel");
    };
  }

  fs::path folder;
  std::unique_ptr<components::TForm> form;
  components::TRichEdit *rich = nullptr;
  std::unique_ptr<TVerbaSpell> spell;
  std::vector<std::string> events;
  std::vector<std::string> steps;
  std::string gaveUpAt;
};

TEST_F(CheckRoadTest, ARichEditIsCheckedThroughEveryKindOfDecision) {
  rich->SetText("Teh quick brown fox jumpd over the the lazy dog. Teh end of the storry is "
                "qwzxv and blorf, qwzxv and blorf.");
  bool shot = false;
  DialogDriver driver(
      {
          on("Teh", "The", "&Change All"),
          [&] { // keep a picture of the dialog with a word and its suggestions
            if (shownWord() != "jumpd")
              return false;
            shot = saveWindowShot(checkDialog(),
                                  testing_support::hostPath(artefact("check-dialog.bmp")));
            return true;
          },
          on("jumpd", "jumped", "C&hange"),
          on("the", nullptr, "&Delete"), // the repeated word
          on("storry", "stori", "C&hange"),
          // The replacement is read again and is unknown itself: taken back.
          on("stori", nullptr, "Undo &Last"),
          on("storry", "story", "C&hange"),
          on("qwzxv", nullptr, "&Ignore All"),
          on("blorf", nullptr, "&Add"),
          answer("Spell Check Complete", "OK"),
      },
      giveUp());
  spell->CheckWinControl(rich);
  EXPECT_TRUE(driver.Finished()) << "stalled after " << driver.StepsDone() << " steps";
  EXPECT_FALSE(spell->CheckActive());
  EXPECT_EQ(rich->Text(), "The quick brown fox jumped over the lazy dog. The end of the story is "
                          "qwzxv and blorf, qwzxv and blorf.");
  EXPECT_EQ(events, std::vector<std::string>{"complete"});
  EXPECT_EQ(checkDialog(), nullptr);
  // The added word went to the chosen user dictionary, and only there.
  EXPECT_NE(readFile(folder / "default.udt").find("blorf"), std::string::npos);
  EXPECT_EQ(readFile(folder / "first.udt").find("blorf"), std::string::npos);
  EXPECT_TRUE(shot);
  std::cout << "screenshot: " << artefact("check-dialog.bmp") << "\n";
}

TEST_F(CheckRoadTest, TheCloseBoxCancelsTheCheckCleanly) {
  rich->SetText("A wrnog word and anothr one.");
  DialogDriver driver({[&] {
                        if (shownWord() != "wrnog")
                          return false;
                        SendMessageA(checkDialog(), WM_SYSCOMMAND, SC_CLOSE, 0);
                        return true;
                      }},
                      giveUp());
  spell->CheckWinControl(rich);
  EXPECT_TRUE(driver.Finished());
  EXPECT_FALSE(spell->CheckActive());
  EXPECT_EQ(events, (std::vector<std::string>{"canceled", "complete"}));
  EXPECT_EQ(rich->Text(), "A wrnog word and anothr one.");
  // No end message after a cancel, and the dialog is gone once released.
  EXPECT_EQ(findMessage("Spell Check Complete"), nullptr);
  components::Application->ProcessMessages();
  EXPECT_EQ(checkDialog(), nullptr);
}

// Going back to the checked control deactivates the dialog: only Start,
// Options, Help and Cancel stay usable, and Start resumes from the caret.
TEST_F(CheckRoadTest, LeavingTheDialogPausesAndStartResumesFromTheCaret) {
  rich->SetText("Fine words, then wrnog and anothr.");
  std::vector<std::string> enabled;
  DialogDriver driver({[&] {
                         if (shownWord() != "wrnog")
                           return false;
                         SetActiveWindow(form->Handle()); // a click into the checked control's form
                         return true;
                       },
                       [&] {
                         HWND dialog = checkDialog();
                         HWND start = dialog ? findChild(dialog, "Button", "Start") : nullptr;
                         if (!start || !IsWindowEnabled(start))
                           return false;
                         for (HWND button : findChildren(dialog, "Button"))
                           if (IsWindowEnabled(button))
                             enabled.push_back(windowText(button));
                         // The user edits the text and puts the caret before "anothr".
                         SendMessageA(rich->Handle(), EM_SETSEL, 0, -1);
                         SendMessageA(
                             rich->Handle(), EM_REPLACESEL, TRUE,
                             reinterpret_cast<LPARAM>("Fine words, then wrong and anothr."));
                         SendMessageA(rich->Handle(), EM_SETSEL, 27, 27);
                         return pressIfEnabled(dialog, "Start");
                       },
                       on("anothr", "another", "C&hange"), answer("Spell Check Complete", "OK")},
                      giveUp());
  spell->CheckWinControl(rich);
  EXPECT_TRUE(driver.Finished()) << gaveUpAt << " after " << driver.StepsDone() << " steps";
  std::sort(enabled.begin(), enabled.end());
  EXPECT_EQ(enabled, (std::vector<std::string>{"&Options", "Cancel", "Hel&p", "Start"}));
  EXPECT_EQ(rich->Text(), "Fine words, then wrong and another.");
}

RECT screenRect(HWND window, bool client) {
  RECT rect{};
  if (!client) {
    GetWindowRect(window, &rect);
    return rect;
  }
  GetClientRect(window, &rect);
  MapWindowPoints(window, HWND_DESKTOP, reinterpret_cast<POINT *>(&rect), 2);
  return rect;
}

// The dialog beside the checked control on a 1024 x 768 screen: below it,
// else right of it, else above it, else left of it, 2 pixels apart.
TEST_F(CheckRoadTest, TheDialogStandsBesideTheControlNearEachScreenEdge) {
  struct Case {
    const char *where;
    RECT form; // left, top, width, height of the host form
    SIZE rich;
  };
  const Case cases[] = {
      {"top left: below", {40, 40, 520, 200}, {490, 150}},
      {"bottom left: right of it", {40, 500, 520, 200}, {490, 150}},
      {"bottom right: above", {560, 500, 520, 200}, {440, 150}},
      {"right, full height: left of it", {600, 0, 200, 768}, {150, 700}},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.where);
    form->SetBounds(c.form.left, c.form.top, c.form.right, c.form.bottom);
    rich->SetBounds(8, 8, c.rich.cx, c.rich.cy);
    rich->SetText("One wrnog word.");
    RECT control{}, dialog{};
    DialogDriver driver({[&] {
                          if (shownWord() != "wrnog")
                            return false;
                          control = screenRect(rich->Handle(), true);
                          dialog = screenRect(checkDialog(), false);
                          return pressIfEnabled(checkDialog(), "Cancel");
                        }},
                        giveUp());
    spell->CheckWinControl(rich);
    ASSERT_TRUE(driver.Finished());
    int width = dialog.right - dialog.left, height = dialog.bottom - dialog.top;
    switch (&c - cases) {
    case 0:
      ASSERT_LT(height + control.bottom, 768);
      EXPECT_EQ(dialog.left, control.left);
      EXPECT_EQ(dialog.top, control.bottom + 2);
      break;
    case 1:
      ASSERT_GE(height + control.bottom, 768);
      EXPECT_EQ(dialog.left, control.right + 2);
      EXPECT_EQ(dialog.top, control.top);
      break;
    case 2:
      ASSERT_GE(width + control.right, 1024);
      EXPECT_EQ(dialog.left, control.left);
      EXPECT_EQ(dialog.top, control.top - height - 2);
      break;
    default:
      ASSERT_LE(control.top - height, 0);
      EXPECT_EQ(dialog.left, control.left - width - 2);
      EXPECT_EQ(dialog.top, control.top);
      break;
    }
  }
}

TEST_F(CheckRoadTest, WithoutHelpTheDialogHasNoHelpButtonOrIcon) {
  spell->HelpEnabled = false;
  rich->SetText("One wrnog word.");
  bool looked = false;
  DialogDriver driver({[&] {
                        if (shownWord() != "wrnog")
                          return false;
                        HWND dialog = checkDialog();
                        EXPECT_FALSE(GetWindowLongPtrA(dialog, GWL_EXSTYLE) & WS_EX_CONTEXTHELP);
                        EXPECT_FALSE(IsWindowEnabled(findChild(dialog, "Button", "Hel&p")));
                        looked = true;
                        return pressIfEnabled(dialog, "Cancel");
                      }},
                      giveUp());
  spell->CheckWinControl(rich);
  EXPECT_TRUE(looked);
  EXPECT_FALSE(spell->CheckActive());
}

// The options dialog: the chosen user dictionary moves up and an entry
// before it is removed; OK writes the configuration, and the next added
// word goes to the dictionary the user chose.
TEST_F(CheckRoadTest, OptionsOkWritesTheConfigurationAndNewWordsFollowTheChoice) {
  bool shot = false;
  auto userGroup = [] {
    HWND dialog = findTopLevel("Spell Check Configuration");
    return dialog ? findChild(dialog, "Button", " User Dictionaries: ") : nullptr;
  };
  DialogDriver driver(
      {[&] {
         HWND group = userGroup();
         if (!group)
           return false;
         shot = saveWindowShot(findTopLevel("Spell Check Configuration"),
                               testing_support::hostPath(artefact("options-dialog.bmp")));
         HWND list = findChildren(group, "ListBox")[0];
         SendMessageA(list, LB_SETCURSEL, 2, 0); // default.udt, the chosen one
         click(findChild(group, "Button", ""));  // the up arrow comes first
         EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), 1);
         SendMessageA(list, LB_SETCURSEL, 0, 0); // first.udt
         click(findChild(group, "Button", "R&emove"));
         HWND combo = findChildren(group, "ComboBox")[0];
         char chosen[64] = {};
         SendMessageA(combo, CB_GETLBTEXT,
                      static_cast<WPARAM>(SendMessageA(combo, CB_GETCURSEL, 0, 0)),
                      reinterpret_cast<LPARAM>(chosen));
         EXPECT_STREQ(chosen, "default.udt");
         return true;
       },
       [] { return pressIfEnabled(findTopLevel("Spell Check Configuration"), "&OK"); }},
      giveUp());
  std::string before = readFile(folder / "VERBA.CFG");
  spell->Setup();
  EXPECT_TRUE(driver.Finished());
  EXPECT_EQ(findMessage("Exit without"), nullptr); // OK never asks
  std::string after = readFile(folder / "VERBA.CFG");
  EXPECT_NE(after, before);
  std::string at = folder.string() + "\\";
  EXPECT_NE(after.find("U_DCT_ListCount=2\r\nU_DCT_0=T" + at + "default.udt\r\nU_DCT_1=T" + at +
                       "second.udt"),
            std::string::npos)
      << after;
  EXPECT_NE(after.find("UserIndex=0"), std::string::npos) << after;
  EXPECT_TRUE(shot);
  std::cout << "screenshot: " << artefact("options-dialog.bmp") << "\n";

  rich->SetText("Zorblax.");
  DialogDriver adding({on("Zorblax", nullptr, "&Add"), answer("Spell Check Complete", "OK")},
                      giveUp());
  spell->CheckWinControl(rich);
  EXPECT_TRUE(adding.Finished()) << gaveUpAt << "stalled after " << adding.StepsDone()
                                 << " steps: " << steps.size();
  EXPECT_NE(readFile(folder / "default.udt").find("Zorblax"), std::string::npos);
  EXPECT_EQ(readFile(folder / "second.udt").find("Zorblax"), std::string::npos);
}

TEST_F(CheckRoadTest, OptionsCancelAfterAChangeAsksFirst) {
  bool stayedOpen = false;
  DialogDriver driver(
      {[] {
         HWND dialog = findTopLevel("Spell Check Configuration");
         HWND group = dialog ? findChild(dialog, "Button", " User Dictionaries: ") : nullptr;
         if (!group)
           return false;
         SendMessageA(findChildren(group, "ListBox")[0], LB_SETCURSEL, 0, 0);
         std::vector<HWND> arrows;
         for (HWND button : findChildren(group, "Button"))
           if (windowText(button).empty())
             arrows.push_back(button);
         click(arrows.at(1)); // down
         return true;
       },
       [] { return pressIfEnabled(findTopLevel("Spell Check Configuration"), "&Cancel"); },
       answer("Exit without saving configuration?", "&No"),
       [&] {
         HWND dialog = findTopLevel("Spell Check Configuration");
         if (!dialog || findMessage("Exit without"))
           return false;
         stayedOpen = true;
         return pressIfEnabled(dialog, "&Cancel");
       },
       answer("Exit without saving configuration?", "&Yes")},
      giveUp());
  std::string before = readFile(folder / "VERBA.CFG");
  spell->Setup();
  EXPECT_TRUE(driver.Finished()) << "stalled after " << driver.StepsDone() << " steps";
  EXPECT_TRUE(stayedOpen);
  EXPECT_EQ(findTopLevel("Spell Check Configuration"), nullptr);
  spell.reset(); // a configuration written on the way out would show now
  EXPECT_EQ(readFile(folder / "VERBA.CFG"), before);
}

} // namespace
