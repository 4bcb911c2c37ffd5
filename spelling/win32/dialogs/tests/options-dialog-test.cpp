// The options dialog's frame and pages under Wine: sizes from the measured
// texts, groups that appear only with a visible option, the dictionary
// lists' edits, and the texts of the language.
#include "spelling/win32/dialogs/config-dialog.h"

#include "spelling/core/configuration.h"
#include "spelling/win32/dialogs/dict-sheet.h"
#include "spelling/win32/dialogs/options-sheet.h"
#include "testing/dialog-driver.h"
#include "testing/dialog-test-support.h"

#include "platform/components/win32/application.h"
#include "testing/test-files.h"
#include "testing/test-paths.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace spelling;
using namespace dialog_test;

const TSpellOptions Visible143{soUpcase, soNumbers, soHTML, soInternet, soRecheck};

std::unique_ptr<TConfiguration> configWith(std::vector<TUser> users, int userIndex) {
  auto config =
      std::make_unique<TConfiguration>("", TSpellOptions{}, "default.udt", "english.dct", "verba");
  config->UserEntries() = std::move(users);
  config->SetUserIndex(userIndex);
  return config;
}

struct Built {
  std::unique_ptr<TConfiguration> config;
  std::unique_ptr<TConfigDialog> dialog;
};

Built build(TSpellOptions visible, const TLanguageModule &language = EnglishLanguage(),
            std::vector<TUser> users = {}, int userIndex = -1) {
  installDesignedFont();
  Built built;
  built.config = configWith(std::move(users), userIndex);
  built.dialog = std::make_unique<TConfigDialog>(nullptr, *built.config);
  built.dialog->BuildPages(visible, nullptr, nullptr, nullptr);
  built.dialog->ApplyLanguage(language);
  // The pages go onto the page control when the dialog runs; here at once.
  built.dialog->DictSheet->AttachToPageControl();
  built.dialog->OptionsSheet->AttachToPageControl();
  built.dialog->Handle();
  return built;
}

TEST(OptionsDialog, EnglishFrameKeepsItsDesignedSizes) {
  Built built = build(Visible143);
  TConfigDialog &dialog = *built.dialog;
  HWND form = dialog.Handle();
  EXPECT_EQ(windowText(form), "Spell Check Configuration");
  EXPECT_EQ(dialog.Width(), 432);
  EXPECT_EQ(dialog.Height(), 300); // the options page needs less than 245
  EXPECT_EQ(boxOf(findChild(form, "Button", "&OK")), (Box{344, 8, 75, 25}));
  EXPECT_EQ(boxOf(findChild(form, "Button", "&Cancel")), (Box{344, 36, 75, 25}));
  EXPECT_EQ(boxOf(findChild(form, "Button", "Hel&p")), (Box{344, 64, 75, 25}));
  EXPECT_EQ(dialog.Pages->Width(), 329);
  // The tab texts come from the language.
  EXPECT_EQ(dialog.DictSheet->Caption(), "Dictionaries");
  EXPECT_EQ(dialog.OptionsSheet->Caption(), "Options");
}

TEST(OptionsDialog, GroupsWithoutAVisibleOptionAreAbsent) {
  Built some = build(Visible143);
  TSpellOptionsSheet &sheet = *some.dialog->OptionsSheet;
  EXPECT_EQ(sheet.SuggestGroup, nullptr);
  ASSERT_NE(sheet.GeneralGroup, nullptr);
  // Ignore: 4 boxes, 16 * 4 + 24 = 88 high; General moves up below it.
  EXPECT_EQ(sheet.IgnoreGroup->Top(), 8);
  EXPECT_EQ(sheet.IgnoreGroup->Height(), 88);
  EXPECT_EQ(sheet.GeneralGroup->Top(), 104);
  EXPECT_EQ(sheet.GeneralGroup->Height(), 40);
  EXPECT_EQ(sheet.ContentHeight(), 152);
  ASSERT_EQ(sheet.Boxes.size(), 5u);
  EXPECT_EQ(sheet.Boxes[3]->Caption(), "UR&Ls and E-mail Addresses");
  EXPECT_EQ(sheet.Boxes[3]->Tag(), 4);
  EXPECT_EQ(sheet.Boxes[4]->Caption(), "Re-check Replaced Words"); // the language's text
  EXPECT_EQ(sheet.Boxes[4]->Top(), 16);

  // Every option: groups of 5, 2 and 7 boxes; the dialog grows with them.
  Built all = build(TSpellOptions::fromValue(0x3FFF));
  TSpellOptionsSheet &full = *all.dialog->OptionsSheet;
  ASSERT_NE(full.SuggestGroup, nullptr);
  EXPECT_EQ(full.IgnoreGroup->Height(), 104);
  EXPECT_EQ(full.SuggestGroup->Top(), 120);
  EXPECT_EQ(full.SuggestGroup->Height(), 56);
  EXPECT_EQ(full.GeneralGroup->Top(), 184);
  EXPECT_EQ(full.GeneralGroup->Height(), 136);
  EXPECT_EQ(full.ContentHeight(), 328);
  EXPECT_EQ(all.dialog->Height(), 328 + 55);

  // Only the ignore group: it still holds the reset buttons.
  Built none = build(TSpellOptions{});
  EXPECT_EQ(none.dialog->OptionsSheet->Boxes.size(), 0u);
  EXPECT_EQ(none.dialog->OptionsSheet->IgnoreGroup->Height(), 80);
  EXPECT_FALSE(none.dialog->OptionsSheet->ResetIgnoreAll->Enabled());
}

TEST(OptionsDialog, ResetButtonsShowWhetherTheCheckHoldsWords) {
  installDesignedFont();
  auto config = configWith({}, -1);
  components::TStringList ignored, words, replacements;
  ignored.Add("qwzxv");
  for (bool withChangeAll : {false, true}) {
    if (withChangeAll) {
      words.Add("teh");
      replacements.Add("the");
    }
    TConfigDialog dialog(nullptr, *config);
    dialog.BuildPages(Visible143, &ignored, &replacements, &words);
    EXPECT_TRUE(dialog.OptionsSheet->ResetIgnoreAll->Enabled());
    EXPECT_EQ(dialog.OptionsSheet->ResetChangeAll->Enabled(), withChangeAll);
  }
}

TEST(OptionsDialog, OptionBoxesEditTheWorkingCopyOnly) {
  Built built = build(Visible143);
  TSpellOptionsSheet &sheet = *built.dialog->OptionsSheet;
  click(sheet.Boxes[0]->Handle()); // Words in UPPERCASE
  EXPECT_TRUE(built.dialog->Working().Options().contains(soUpcase));
  EXPECT_FALSE(built.config->Options().contains(soUpcase));
  EXPECT_TRUE(built.dialog->Changed());
}

TEST(OptionsDialog, LongerTextsWidenThePagesAndButtonsByMeasuredAmounts) {
  TLanguageModule language = EnglishLanguage();
  language.Strings[25] = "&Accept These Settings";
  language.Strings[43] = "Internet &Addresses, E-mail Addresses and Web Links";
  language.Strings[34] = "Put Every New Word Into:";
  Built built = build(Visible143, language);
  TConfigDialog &dialog = *built.dialog;
  HWND form = dialog.Handle();
  HWND ok = findChild(form, "Button", "&Accept These Settings");
  ASSERT_NE(ok, nullptr);
  int b = std::max({71, textWidthIn(ok, "&Accept These Settings") + 22,
                    textWidthIn(ok, "&Cancel") + 22, textWidthIn(ok, "Hel&p")}) +
          4;
  int i = 0;
  for (const char *text : {"Words in &UPPERCASE", "Words Containing &Numbers", "&HTML Tags",
                           "Internet &Addresses, E-mail Addresses and Web Links"})
    i = std::max(i, textWidthIn(ok, text));
  int r =
      std::max({109, textWidthIn(ok, "Reset Ignore &All"), textWidthIn(ok, "R&eset Change All")}) +
      4;
  int pages = std::max(329, r + i + 64);
  ASSERT_GT(pages, 329);
  EXPECT_EQ(dialog.Pages->Width(), pages);
  EXPECT_EQ(boxOf(ok), (Box{pages + 15, 8, b, 25}));
  EXPECT_EQ(dialog.Width(), pages + b + 28);
  // The add-words box starts after its label's text.
  TDictSheet &dict = *dialog.DictSheet;
  int m = std::max(96, 8 + textWidthIn(ok, "Put Every New Word Into:") + 3);
  EXPECT_EQ(dict.AddWordsTo->Left(), m);
  EXPECT_EQ(dict.AddWordsLabel->Caption(), "Put Every New Word Into:");
}

TEST(OptionsDialog, DictionaryListsFollowTheirEdits) {
  Built built =
      build(Visible143, EnglishLanguage(),
            {{"C:\\D\\one.udt", true}, {"C:\\D\\two.udt", true}, {"C:\\D\\words.dic", true}}, 1);
  TDictSheet &dict = *built.dialog->DictSheet;
  TConfiguration &working = built.dialog->Working();
  EXPECT_EQ(dict.UserList->Items().Count(), 3);
  EXPECT_EQ(dict.AddWordsTo->Items().Count(), 2); // ".dic" files take no words
  EXPECT_EQ(dict.AddWordsTo->ItemIndex(), 1);

  // Deselecting the chosen dictionary moves the choice to the first left.
  dict.ToggleSelection(true, 1);
  EXPECT_EQ(dict.AddWordsTo->Items().Count(), 1);
  EXPECT_EQ(working.UserIndex(), 0);
  dict.ToggleSelection(true, 1);

  // Removing the last entry makes the new last one current.
  dict.UserList->SetItemIndex(2);
  dict.RemoveEntry(true);
  EXPECT_EQ(dict.UserList->ItemIndex(), 1);
  EXPECT_EQ(dict.UserList->Items().Count(), 2);

  // A new user dictionary is listed, unselected, in lower case.
  dict.AddNewUserEntry("C:\\D\\Fresh.UDT");
  EXPECT_EQ(dict.UserList->Items().Strings(2), "fresh.udt");
  EXPECT_FALSE(working.UserEntries()[2].Selected);
  EXPECT_EQ(dict.UserList->ItemIndex(), 2);
  EXPECT_EQ(built.config->UserEntries().size(), 3u); // the component's copy is untouched
}

TEST(OptionsDialog, AMissingMainDictionaryCannotBeSelected) {
  Built built = build(Visible143);
  TConfiguration &working = built.dialog->Working();
  TMain missing;
  missing.FileName = "C:\\nowhere\\gone.dct";
  missing.Title = "Gone";
  working.MainEntries().push_back(missing);
  std::string shown;
  DialogDriver driver(
      {[&] {
        HWND message = findMessage("C:\\nowhere\\gone.dct");
        if (!message)
          return false;
        for (HWND label : findChildren(message, "Static"))
          shown += windowText(label);
        return pressIfEnabled(message, "OK");
      }},
      [] { pressIfEnabled(findMessage(""), "OK"); }, 20000);
  built.dialog->DictSheet->ToggleSelection(false, 0);
  EXPECT_TRUE(driver.Finished());
  EXPECT_FALSE(working.MainEntries()[0].Selected);
  EXPECT_EQ(
      shown,
      "C:\\nowhere\\gone.dct\r\n\r\nThis dictionary file could not be\r\nlocated.  It needs to be "
      "moved\r\nto the specified directory or\r\nthis entry should be removed.");
}

// A main dictionary file with just a title at its place.
std::string dictionaryFile(const std::string &name, const std::string &title) {
  std::string path = testing_support::scratchPath(name);
  std::string bytes(88 + 25, '\0');
  EXPECT_TRUE(testing_support::writeFile(path, bytes.replace(88, title.size(), title)));
  return path;
}

TEST(OptionsDialog, TheFirstMainDictionaryAddedIsSelected) {
  Built built = build(Visible143);
  TDictSheet &dict = *built.dialog->DictSheet;
  TConfiguration &working = built.dialog->Working();
  dict.AddEntry(false, dictionaryFile("first.dct", "First Words"));
  dict.AddEntry(false, dictionaryFile("second.dct", "Second Words"));
  ASSERT_EQ(working.MainEntries().size(), 2u);
  EXPECT_TRUE(working.MainEntries()[0].Selected);
  EXPECT_FALSE(working.MainEntries()[1].Selected);
  EXPECT_EQ(dict.MainList->Items().Strings(0).substr(0, 11), "First Words");
  EXPECT_EQ(dict.MainList->ItemIndex(), 1);
  // A present file can be selected and deselected by its check square.
  dict.ToggleSelection(false, 1);
  EXPECT_TRUE(working.MainEntries()[1].Selected);
  // Moving keeps the entry current.
  dict.MainList->SetItemIndex(1);
  dict.MoveEntry(false, -1);
  EXPECT_EQ(dict.MainList->ItemIndex(), 0);
  EXPECT_EQ(dict.MainList->Items().Strings(0).substr(0, 12), "Second Words");
}

// A step that answers the platform's file dialog titled title with a file
// name, as a person types it and presses the default button.
DialogDriver::Step answerFileDialog(std::string title, std::string fileName,
                                    std::string *seenTitle) {
  return [=] {
    HWND found = test_windows::threadDialog();
    if (!found)
      return false;
    *seenTitle = windowText(found);
    if (*seenTitle != title)
      return false;
    return test_windows::chooseFile(found, fileName);
  };
}

TEST(OptionsDialog, UserDictionariesAreAddedAndMadeThroughTheFileDialogs) {
  Built built = build(Visible143);
  TDictSheet &dict = *built.dialog->DictSheet;
  TConfiguration &working = built.dialog->Working();
  auto windowsPath = [](std::string path) {
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
  };
  std::string existing = windowsPath(testing_support::scratchPath("picked.udt"));
  testing_support::writeFile(existing, "");
  std::string fresh = windowsPath(testing_support::scratchPath("fresh.udt"));
  DeleteFileA(fresh.c_str());
  auto cancelAny = [] {
    if (HWND found = test_windows::threadDialog())
      PostMessageA(found, WM_COMMAND, IDCANCEL, 0);
  };

  std::string openTitle, newTitle;
  {
    DialogDriver driver({answerFileDialog("Open User Dictionary", existing, &openTitle)}, cancelAny,
                        30000);
    dict.AddUser->Click();
    EXPECT_TRUE(driver.Finished());
  }
  EXPECT_EQ(openTitle, "Open User Dictionary");
  ASSERT_EQ(working.UserEntries().size(), 1u);
  EXPECT_TRUE(working.UserEntries()[0].Selected); // the only one
  EXPECT_EQ(dict.UserList->Items().Strings(0), "scratch-picked.udt");
  EXPECT_EQ(dict.AddWordsTo->Items().Count(), 1);
  EXPECT_EQ(working.UserIndex(), 0);
  {
    DialogDriver driver({answerFileDialog("New User Dictionary", fresh, &newTitle)}, cancelAny,
                        30000);
    dict.NewUser->Click();
    EXPECT_TRUE(driver.Finished());
  }
  EXPECT_EQ(newTitle, "New User Dictionary");
  ASSERT_EQ(working.UserEntries().size(), 2u);
  EXPECT_FALSE(working.UserEntries()[1].Selected);
  EXPECT_EQ(dict.UserList->Items().Strings(1), "scratch-fresh.udt");
  EXPECT_EQ(dict.UserList->ItemIndex(), 1);
  EXPECT_EQ(working.UserIndex(), 0); // new words still go to the chosen one
}

TEST(OptionsDialog, WithoutHelpTheHelpButtonIsHidden) {
  Built built = build(Visible143);
  built.dialog->SetHelpEnabled(true);
  EXPECT_TRUE(GetWindowLongPtrA(built.dialog->Handle(), GWL_EXSTYLE) & WS_EX_CONTEXTHELP);
  built.dialog->SetHelpEnabled(false);
  EXPECT_FALSE(GetWindowLongPtrA(built.dialog->Handle(), GWL_EXSTYLE) & WS_EX_CONTEXTHELP);
  EXPECT_FALSE(built.dialog->Help->Visible());
  EXPECT_EQ(built.dialog->OK->HelpContext(), 0);
  EXPECT_EQ(built.dialog->DictSheet->MainList->HelpContext(), 0);
}

} // namespace
