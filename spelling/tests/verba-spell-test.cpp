// The spelling component beyond the shared whole-check cases: its defaults,
// its configuration, which words it accepts, how it talks to the dialog,
// and the commands' finer points.
#include "spelling/core/buffer-parser.h"
#include "spelling/core/configuration.h"
#include "spelling/core/string-parser.h"
#include "spelling/core/verba-spell.h"
#include "spelling/tests/check-environment.h"

#include <gtest/gtest.h>

using check_loop::CheckEnvironment;
using check_loop::ConfiguredEnvironment;
using check_loop::ScriptedDialog;
using namespace spelling;

namespace {

// The words a check of text shows, each answered with Ignore.
std::vector<std::string> ShownWords(CheckEnvironment &env, std::string text) {
  std::vector<std::string> shown;
  TVerbaSpell &spell = env.Spell();
  spell.Platform.HandleMessage = [&] {
    shown.push_back(spell.CurrentWord());
    env.Dialog().PressNow(dcIgnore);
  };
  spell.CheckString(text);
  return shown;
}

using Words = std::vector<std::string>;

} // namespace

TEST(VerbaSpellProperties, DefaultsAreThePublishedOnes) {
  TVerbaSpell spell(nullptr);
  EXPECT_TRUE(spell.ConfigInAppDir());
  EXPECT_EQ(spell.ConfigFileName(), "VERBA.CFG");
  EXPECT_EQ(spell.ConfigKey(), "verba");
  EXPECT_TRUE(spell.ConfigAvailable());
  EXPECT_FALSE(spell.AlwaysActive());
  EXPECT_EQ(spell.MaxSuggestions(), 50);
  EXPECT_EQ(spell.MaxUndo(), 20);
  EXPECT_FALSE(spell.AutoSelectFirst);
  EXPECT_EQ(spell.SelectionBehavior, sbAvoid);
  EXPECT_EQ(spell.InitialPosition, ipAvoidControl);
  EXPECT_TRUE(spell.WaitForCompletion);
  EXPECT_EQ(spell.IgnorePrefix, "'");
  EXPECT_EQ(spell.IgnoreSuffix, "';'s");
  EXPECT_TRUE(spell.HelpEnabled);
  EXPECT_TRUE(spell.HelpSeparate);
  EXPECT_EQ(spell.HelpFile, "vqspell.hlp");
  EXPECT_EQ(spell.HelpContextDialog, 100);
  EXPECT_EQ(spell.HelpContextConfig1, 101);
  EXPECT_EQ(spell.HelpContextConfig2, 102);
  EXPECT_TRUE(spell.BackgroundSuggestions);
  EXPECT_FALSE(spell.DialogHourGlass);
  EXPECT_EQ(spell.DefaultMain(), "english.dct");
  EXPECT_EQ(spell.DefaultUser(), "default.udt");
  EXPECT_EQ(spell.DefaultOptions().value(), 488);
  EXPECT_EQ(spell.VisibleOptions.value(), 143);
  EXPECT_TRUE(spell.WordCountVisible);
  EXPECT_EQ(spell.QuoteCharacters, "");
  ASSERT_EQ(spell.Languages().Count(), 1);
  EXPECT_EQ(spell.Languages().Modules(0).Name, "English (US)");
  EXPECT_EQ(spell.LanguageIndex(), 0);
  EXPECT_EQ(spell.EndShowMessage, emExceptCancel);
  EXPECT_FALSE(spell.CheckActive());
  EXPECT_FALSE(spell.Active());
}

TEST(VerbaSpellProperties, LanguageIndexBeyondTheLanguagesIsIgnored) {
  TVerbaSpell spell(nullptr);
  spell.SetLanguageIndex(5);
  EXPECT_EQ(spell.LanguageIndex(), 0);
  spell.SetLanguageIndex(-1);
  EXPECT_EQ(spell.LanguageIndex(), 0);
  TLanguageModule second = EnglishLanguage();
  second.Name = "Second";
  second.Strings[0] = "Done";
  spell.Languages().Add(second);
  spell.SetLanguageIndex(1);
  EXPECT_EQ(spell.GetString(0), "Done");
}

TEST(VerbaSpellConfiguration, ReadsTheOptionsOfVerbaCfg) {
  CheckEnvironment env;
  env.WriteConfiguration({soUpcase, soInternet});
  EXPECT_EQ(ShownWords(env, "NASAX is xyzzy"), Words({"xyzzy"}));
  ASSERT_NE(env.Spell().Configuration(), nullptr);
  EXPECT_EQ(env.Spell().Configuration()->Path(), env.Folder + "VERBA.CFG");
  EXPECT_NE(env.Spell().CurrentUserDictionary(), nullptr);
}

TEST(VerbaSpellConfiguration, MadeUpFromTheFolderWhenTheFileIsMissing) {
  CheckEnvironment env;
  EXPECT_EQ(ShownWords(env, "the cat xyzzy"), Words({"xyzzy"}));
  // The made-up configuration is written back when it is replaced.
  env.Spell().ReadConfiguration();
  EXPECT_NE(check_loop::readFile(env.Folder + "VERBA.CFG").find("english.dct"), std::string::npos);
}

TEST(VerbaSpellConfiguration, AMissingMainDictionaryIsReportedAndTheCheckGoesOn) {
  CheckEnvironment env;
  // A file missing when the configuration is read is not selected at all;
  // this one goes after that.
  std::filesystem::copy_file(env.Folder + "english.dct", env.Folder + "gone.dct");
  env.WriteConfiguration(DefaultSpellOptions, env.Folder + "gone.dct");
  env.Spell();
  std::filesystem::remove(env.Folder + "gone.dct");
  EXPECT_EQ(ShownWords(env, "the"), Words({"the"}));
  ASSERT_FALSE(env.Events.empty());
  EXPECT_EQ(env.Events[0], "message:Unable to find dictionary file:\r\n" + env.Folder + "gone.dct");
}

// A main dictionary that is there but damaged gets the same box, with the
// reason the reader found in place of a bare path.
TEST(VerbaSpellConfiguration, ADamagedMainDictionaryIsReportedWithItsReason) {
  CheckEnvironment env;
  std::string bytes = check_loop::readFile(env.Folder + "english.dct");
  bytes[278] = 0; // no sub-dictionary
  check_loop::writeFile(env.Folder + "damaged.dct", bytes);
  env.WriteConfiguration(DefaultSpellOptions, env.Folder + "damaged.dct");
  EXPECT_EQ(ShownWords(env, "the"), Words({"the"}));
  ASSERT_FALSE(env.Events.empty());
  EXPECT_EQ(env.Events[0], "message:Unable to find dictionary file:\r\n" + env.Folder +
                               "damaged.dct: damaged dictionary at offset 278: the "
                               "sub-dictionary count is 0");
}

TEST(VerbaSpellConfiguration, NoMainDictionaryAsksAndDecliningLeavesEveryWordUnknown) {
  CheckEnvironment env;
  std::filesystem::remove(env.Folder + "english.dct");
  env.MessageAnswer = TMessageResult::No;
  EXPECT_EQ(ShownWords(env, "the cat"), Words({"the", "cat"}));
  EXPECT_EQ(env.Events[0], "message:A main dictionary has yet to be\r\nset for this "
                           "configuration.\r\n\r\nEdit configuration?");
  EXPECT_FALSE(env.Spell().Active());
}

// Digits are word characters only when the language adds them.
void AddDigitsToTheWordCharacters(TVerbaSpell &spell) {
  TLanguageModule english = EnglishLanguage();
  english.Strings[2] = "0123456789";
  spell.Languages().Clear();
  spell.Languages().Add(english);
}

// Which words a check shows, by the options that accept them.
TEST(VerbaSpellWords, EachKindIsAcceptedOnlyWithItsOption) {
  struct Case {
    TSpellOptions options;
    const char *text;
    Words shown;
  } cases[] = {
      // Cat: lower-case retry; cats', 'tis, John's: ignored affixes; 12345:
      // digits only; NASA is stored as it is.
      {DefaultSpellOptions, "Cat cats' 'tis John's 12345 NASA XYZZY abc123", {"XYZZY", "abc123"}},
      {{soUpcase, soNumbers}, "XYZZY abc123 xyzzy", {"xyzzy"}},
      {{}, "XYZZY abc123 xyzzy", {"XYZZY", "abc123", "xyzzy"}},
      {{soRepeated, soHTML}, "the the cat", {"the"}},
      {{soRepeated, soHTML}, "the <b>the</b> cat", {}},
      {{}, "the the cat", {}},
      {{soInternet}, "mail xyzzy@plugh.org or http://plugh.org/xyzzy now", {"mail", "or", "now"}},
  };
  for (const Case &c : cases) {
    CheckEnvironment env;
    env.WriteConfiguration(c.options);
    AddDigitsToTheWordCharacters(env.Spell());
    EXPECT_EQ(ShownWords(env, c.text), c.shown) << c.text << ", options " << c.options.value();
  }
}

TEST(VerbaSpellDialog, FirstWordSetsTheTextsAndStates) {
  ConfiguredEnvironment env;
  env.Next().Then([&](ScriptedDialog &dialog) {
    EXPECT_EQ(dialog.formCaption, "Spell Check");
    EXPECT_EQ(dialog.fontSize, 8);
    EXPECT_EQ(dialog.resizes, 1);
    EXPECT_TRUE(dialog.shown);
    const char *buttons[] = {"&Change All", "C&hange",       "&Ignore All", "I&gnore",
                             "&Add",        "Au&to-Correct", "S&uggest",    "Start",
                             "Undo &Last",  "&Options",      "Hel&p",       "Cancel"};
    for (int i = 0; i < 12; ++i)
      EXPECT_EQ(dialog.Caption(i), buttons[i]) << i;
    EXPECT_EQ(dialog.Caption(ciNotFound), "xyzzy");
    EXPECT_EQ(dialog.Caption(ciErrorLabel), "Not Found:");
    EXPECT_EQ(dialog.Caption(ciActionLabel), "Replace With:");
    EXPECT_EQ(dialog.Caption(ciSuggestLabel), "Suggestions:");
    EXPECT_TRUE(dialog.Enabled(ciIgnore));
    EXPECT_TRUE(dialog.Enabled(ciIgnoreAll));
    EXPECT_TRUE(dialog.Enabled(ciAdd));
    EXPECT_TRUE(dialog.Enabled(ciOptions));
    EXPECT_FALSE(dialog.Enabled(ciChange));
    EXPECT_FALSE(dialog.Enabled(ciAutoCorrect));
    EXPECT_FALSE(dialog.Enabled(ciSuggest)); // suggestions come by themselves
    EXPECT_FALSE(dialog.Enabled(ciUndoLast));
    EXPECT_FALSE(dialog.Enabled(ciStart));
    // The string has no window: the dialog stands in the screen's centre.
    EXPECT_EQ(dialog.bounds.Left, 1024 / 2 - 386 / 2);
    EXPECT_EQ(dialog.bounds.Top, 768 / 2 - 184 / 2);
    EXPECT_EQ(env.HelpFile, "vqspell.hlp");
    dialog.PressNow(dcHelp);
    dialog.PressNow(dcCancel);
  });
  std::string text = "xyzzy";
  env.Spell().CheckString(text);
  EXPECT_EQ(env.HelpFile, "lexitray.hlp");
  EXPECT_EQ(env.Events, Words({"dialog", "word:xyzzy", "help:100", "canceled", "complete"}));
}

TEST(VerbaSpellDialog, AutoSelectFirstPutsTheFirstSuggestionIntoTheEdit) {
  ConfiguredEnvironment env;
  env.Spell().AutoSelectFirst = true;
  env.Next().Then([](ScriptedDialog &dialog) {
    ASSERT_FALSE(dialog.Items().empty());
    EXPECT_EQ(dialog.Items()[0], "the");
    EXPECT_EQ(dialog.ItemIndex(), 0);
    EXPECT_EQ(dialog.wordEdit, "the");
    EXPECT_EQ(dialog.selectionStart, 0);
    EXPECT_EQ(dialog.selectionLength, 2);
    dialog.PressNow(dcChange);
  });
  std::string text = "teh";
  env.Spell().CheckString(text);
  EXPECT_EQ(text, "the");
}

TEST(VerbaSpellDialog, SuggestFillsTheListWhenSuggestionsAreNotAutomatic) {
  CheckEnvironment env;
  env.WriteConfiguration({soRecheck});
  env.Next().Then([](ScriptedDialog &dialog) {
    EXPECT_TRUE(dialog.Items().empty());
    dialog.PressNow(dcSuggest);
    EXPECT_EQ(dialog.Items(), Words({"the"}));
    dialog.PressNow(dcCancel);
  });
  std::string text = "teh";
  env.Spell().CheckString(text);
}

TEST(VerbaSpellDialog, WithoutADialogControlTheCheckEndsAtTheFirstUnknownWord) {
  ConfiguredEnvironment env;
  components::TComponent bareForm(nullptr);
  struct BareDialog : ScriptedDialog {
    explicit BareDialog(components::TComponent &form) : form_(form) {}
    components::TComponent *FormComponent() override { return &form_; }
    components::TComponent &form_;
  } bare(bareForm);
  env.Spell().OnCreateDialog = [&](components::TObject *, TDialogForm *&form) { form = &bare; };
  std::string text = "the xyzzy cat";
  env.Spell().CheckString(text);
  EXPECT_EQ(env.Events, Words({"message:Could not locate Dialog Control.", "complete",
                               check_loop::EndMessage(2)}));
  EXPECT_FALSE(env.Spell().CheckActive());
  EXPECT_FALSE(bare.released); // supplied by the caller: not the component's to free
}

TEST(VerbaSpellDialog, OptionsDuringACheckApplyToTheRestOfIt) {
  ConfiguredEnvironment env;
  env.OnSetup = [](TSetupRequest &request) {
    EXPECT_EQ(request.Caption, "Spell Check Configuration");
    EXPECT_EQ(request.VisibleOptions.value(), 143);
    TSpellOptions options = request.Configuration->Options();
    options.include(soUpcase);
    request.Configuration->SetOptions(options);
    return true;
  };
  env.Next().Press(dcOptions).Press(dcIgnore);
  std::string text = "xyzzy NASAX";
  env.Spell().CheckString(text);
  EXPECT_EQ(env.Events, Words({"dialog", "word:xyzzy", "setup:Spell Check Configuration",
                               "complete", check_loop::EndMessage(2)}));
}

TEST(VerbaSpellDialog, AddWithoutAUserDictionaryStoresNothing) {
  ConfiguredEnvironment env;
  env.Spell().Configuration()->SetUserIndex(-1);
  env.Spell().Setup(); // re-applies the configuration
  EXPECT_EQ(env.Spell().CurrentUserDictionary(), nullptr);
  env.Next()
      .Then([](ScriptedDialog &dialog) {
        EXPECT_FALSE(dialog.Enabled(ciAdd));
        dialog.Control().Add(); // a dialog may still report it
      })
      .Press(dcCancel);
  std::string text = "blorf blorf";
  env.Spell().CheckString(text);
  EXPECT_EQ(env.Events, Words({"setup:Spell Check Configuration", "dialog", "word:blorf",
                               "word:blorf", "canceled", "complete"}));
}

TEST(VerbaSpellDialog, WithoutWaitingTheCallReturnsWhileTheDialogWaits) {
  ConfiguredEnvironment env;
  env.Spell().WaitForCompletion = false;
  std::string text = "xyzzy cat";
  env.Spell().CheckString(text);
  EXPECT_TRUE(env.Spell().CheckActive());
  EXPECT_EQ(env.Events, Words({"dialog", "word:xyzzy"}));
  env.Dialog().TypeNow("dog");
  env.Dialog().PressNow(dcChange);
  EXPECT_FALSE(env.Spell().CheckActive());
  EXPECT_EQ(text, "dog cat");
}

TEST(VerbaSpellLoop, YieldsWithProbabilityThreePercentPerWord) {
  ConfiguredEnvironment env;
  std::string text = "the cat sat on the mat";
  env.RandomValue = 0.0299;
  env.Spell().CheckString(text);
  EXPECT_EQ(env.Yields, 6); // after reading each next word, the end included
  env.RandomValue = 0.03;
  env.Spell().CheckString(text);
  EXPECT_EQ(env.Yields, 6);
}

TEST(VerbaSpellLoop, AContainerIsCheckedControlByControlWithTheDictionariesOpen) {
  ConfiguredEnvironment env;
  components::TComponent form(nullptr);
  auto *first = new components::TComponent(&form);
  auto *second = new components::TComponent(&form);
  std::map<components::TComponent *, std::string> texts{
      {&form, ""}, {first, "the xyzzy"}, {second, "plugh cat"}};
  std::vector<bool> activeAtStart;
  env.Spell().Platform.CreateParserForControl = [&](components::TComponent *control) {
    activeAtStart.push_back(env.Spell().Active());
    return std::make_unique<TStringParser>(texts[control]);
  };
  env.Spell().Platform.HandleMessage = [&] { env.Dialog().PressNow(dcIgnore); };
  env.Spell().CheckContainer(&form);
  EXPECT_EQ(env.Events, Words({"complete", check_loop::EndMessage(0), "dialog", "word:xyzzy",
                               "complete", check_loop::EndMessage(2), "dialog", "word:plugh",
                               "complete", check_loop::EndMessage(2)}));
  EXPECT_EQ(activeAtStart, std::vector<bool>({true, true, true}));
  EXPECT_FALSE(env.Spell().AlwaysActive());
  EXPECT_FALSE(env.Spell().Active());
}

// The application ends while the check waits for the dialog (its quit
// message was handled by a loop inside a command): the wait ends as a
// cancel, so the words added so far are written when the component goes
// inactive.
TEST(VerbaSpellLoop, AnEndingApplicationCancelsTheCheckThatWaits) {
  ConfiguredEnvironment env;
  bool ending = false;
  int waits = 0;
  env.Spell().Platform.ApplicationEnding = [&] { return ending; };
  env.Next().Then([&](ScriptedDialog &dialog) {
    dialog.PressNow(dcAdd);
    ending = true;
  });
  env.Spell().Platform.HandleMessage = [&] {
    // A wait that outlasts the ending is answered, so the test fails
    // instead of hanging.
    if (++waits > 1)
      env.Dialog().PressNow(dcCancel);
    else
      env.Dialog().RunStep();
  };
  std::string text = "xyzzy plugh";
  env.Spell().CheckString(text);
  EXPECT_EQ(waits, 1);
  EXPECT_EQ(env.Events, Words({"dialog", "word:xyzzy", "word:plugh", "canceled", "complete"}));
  EXPECT_FALSE(env.Spell().CheckActive());
  EXPECT_FALSE(env.Spell().Active());
  std::string stored = check_loop::readFile(env.Folder + "default.udt");
  EXPECT_NE(stored.find("IGN_0=xyzzy"), std::string::npos) << stored;
}

// Words added before the options are opened during a check are written
// when the check ends, whatever the options dialog did.
TEST(VerbaSpellLoop, WordsAddedBeforeTheOptionsAreWritten) {
  ConfiguredEnvironment env;
  env.OnSetup = [](TSetupRequest &) { return false; };
  env.Next().Then([](ScriptedDialog &dialog) {
    dialog.PressNow(dcAdd);
    dialog.PressNow(dcOptions);
    dialog.PressNow(dcCancel);
  });
  std::string text = "xyzzy plugh";
  env.Spell().CheckString(text);
  std::string stored = check_loop::readFile(env.Folder + "default.udt");
  EXPECT_NE(stored.find("IGN_0=xyzzy"), std::string::npos) << stored;
}

TEST(VerbaSpellLoop, AControlWithoutAParserReturnsAtOnce) {
  CheckEnvironment env;
  components::TComponent control(nullptr);
  env.Spell().CheckWinControl(&control);
  env.Spell().CheckRichEdit(&control);
  EXPECT_TRUE(env.Events.empty());
  EXPECT_FALSE(env.Spell().CheckActive());
  EXPECT_FALSE(env.Spell().Active());
}

TEST(VerbaSpellLoop, ABufferReplacementThatDoesNotFitChangesNothing) {
  ConfiguredEnvironment env;
  char buffer[10] = "teh cat";
  env.Next().Then([](ScriptedDialog &dialog) {
    dialog.TypeNow("thereafter");
    EXPECT_THROW(dialog.PressNow(dcChange), EParserError);
    // The word is still on show; the user can choose otherwise.
    dialog.TypeNow("the");
    dialog.PressNow(dcChange);
  });
  env.Spell().CheckBuffer(buffer, sizeof buffer);
  EXPECT_STREQ(buffer, "the cat");
  EXPECT_EQ(env.Events, Words({"dialog", "word:teh", "complete", check_loop::EndMessage(3)}));
}

namespace {

// A string parser that reports where its control and each word would be.
class PlacedParser : public TStringParser {
public:
  PlacedParser(std::string &text, TParserRect control, std::vector<TParserRect> words)
      : TStringParser(text), control_(control), words_(std::move(words)) {}
  void GetControlRect(TParserRect &rect) override { rect = control_; }
  // The first rectangle for the first word, the last one for any other.
  void GetWordRect(TParserRect &rect) override {
    rect = CurrentWord() == "xyzzy" ? words_.front() : words_.back();
  }

private:
  TParserRect control_;
  std::vector<TParserRect> words_;
};

struct Placement {
  int left;
  int top;
};

// Where the dialog stood for each word of "xyzzy plugh" (screen 1024 x 768,
// dialog 386 x 184, first at 100, 100).
std::vector<Placement> Placements(TInitialPos initial, TSelBehavior behaviour, TParserRect control,
                                  std::vector<TParserRect> words) {
  ConfiguredEnvironment env;
  env.Spell().InitialPosition = initial;
  env.Spell().SelectionBehavior = behaviour;
  std::vector<Placement> placements;
  env.Spell().Platform.HandleMessage = [&] {
    placements.push_back({env.Dialog().bounds.Left, env.Dialog().bounds.Top});
    env.Dialog().PressNow(dcIgnore);
  };
  std::string text = "xyzzy plugh";
  env.Spell().CheckParser(std::make_unique<PlacedParser>(text, control, std::move(words)), nullptr);
  return placements;
}

bool operator==(const Placement &a, const Placement &b) {
  return a.left == b.left && a.top == b.top;
}

std::ostream &operator<<(std::ostream &out, const Placement &p) {
  return out << '(' << p.left << ", " << p.top << ')';
}

} // namespace

TEST(VerbaSpellPlacement, BelowTheControlThenOffTheWordsItCovers) {
  // The second word lies under the dialog: it moves below that word.
  auto placements = Placements(ipAvoidControl, sbAvoid, {100, 100, 500, 300},
                               {{150, 120, 200, 135}, {150, 400, 200, 415}});
  EXPECT_EQ(placements, std::vector<Placement>({{100, 302}, {150, 417}}));
  // A word the dialog does not cover leaves it where it is.
  placements = Placements(ipAvoidControl, sbAvoid, {100, 100, 500, 300},
                          {{150, 120, 200, 135}, {600, 120, 650, 135}});
  EXPECT_EQ(placements, std::vector<Placement>({{100, 302}, {100, 302}}));
}

TEST(VerbaSpellPlacement, RightOfAControlThatFillsTheBottom) {
  auto placements = Placements(ipAvoidControl, sbNone, {100, 500, 500, 700},
                               {{150, 520, 200, 535}, {150, 600, 200, 615}});
  EXPECT_EQ(placements, std::vector<Placement>({{502, 500}, {502, 500}}));
}

TEST(VerbaSpellPlacement, MovedAboveAWordNearTheScreenEdgeAndKeptOnScreen) {
  auto placements = Placements(ipUnderSelection, sbMoveUpDown, {0, 0, 1024, 768},
                               {{900, 700, 950, 715}, {10, 20, 40, 35}});
  // Above the word (no room below), pulled left onto the screen; then
  // below the next word, keeping the column.
  EXPECT_EQ(placements, std::vector<Placement>({{638, 514}, {638, 37}}));
}

TEST(VerbaSpellPlacement, CentredWhenThePositionIsTheUsers) {
  auto placements = Placements(ipUserDefined, sbNone, {100, 100, 500, 300}, {{150, 120, 200, 135}});
  EXPECT_EQ(placements[0], (Placement{1024 / 2 - 386 / 2, 768 / 2 - 184 / 2}));
}

TEST(VerbaSpellDialog, WithoutHelpTheHelpButtonIsOffAndTheHelpFileStays) {
  ConfiguredEnvironment env;
  env.Spell().HelpEnabled = false;
  env.Next().Then([&](ScriptedDialog &dialog) {
    EXPECT_FALSE(dialog.helpEnabled);
    EXPECT_FALSE(dialog.Enabled(ciHelp));
    EXPECT_EQ(env.HelpFile, "lexitray.hlp");
    dialog.PressNow(dcCancel);
  });
  std::string text = "xyzzy";
  env.Spell().CheckString(text);
  EXPECT_EQ(env.Events, Words({"dialog", "word:xyzzy", "canceled", "complete"}));
}

TEST(VerbaSpellDialog, ARepeatedWordIsOfferedForDeletionWithoutSuggestions) {
  ConfiguredEnvironment env;
  env.Next().Then([](ScriptedDialog &dialog) {
    EXPECT_EQ(dialog.Caption(ciErrorLabel), "Repeated Word:");
    EXPECT_EQ(dialog.Caption(ciChange), "&Delete");
    EXPECT_TRUE(dialog.Enabled(ciChange));
    EXPECT_TRUE(dialog.Enabled(ciIgnore));
    EXPECT_FALSE(dialog.Enabled(ciIgnoreAll));
    EXPECT_FALSE(dialog.Enabled(ciAdd));
    EXPECT_TRUE(dialog.Items().empty());
    dialog.PressNow(dcIgnore);
    EXPECT_EQ(dialog.Caption(ciChange), "C&hange");
  });
  std::string text = "the the cat";
  env.Spell().CheckString(text);
  EXPECT_EQ(text, "the the cat");
  EXPECT_EQ(env.Events, Words({"dialog", "word:the", "complete", check_loop::EndMessage(3)}));
}
