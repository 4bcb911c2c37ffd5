// Whole checks through the scripted dialog, written once for every kind of
// checked text. A test file describes its text in a CheckedText (make a
// text holding X, create the parser the component would use on it, read
// the text back) and instantiates the suite:
//
//   #include "spelling/tests/check-loop-cases.h"
//
//   class RichEditText : public check_loop::CheckedText { ... };
//
//   INSTANTIATE_TEST_SUITE_P(RichEdit, CheckLoopCases,
//       ::testing::Values(check_loop::CheckedTextMaker{
//           "RichEdit", [] { return std::make_unique<RichEditText>(); }}),
//       check_loop::MakerName);
//
// The texts are single lines; the cases start at the first word and put
// the caret at 0 when the user edits the text.
#ifndef SPELLING_TESTS_CHECK_LOOP_CASES_H
#define SPELLING_TESTS_CHECK_LOOP_CASES_H

#include "platform/components/core/component.h"
#include "spelling/core/parser.h"
#include "spelling/core/user-dictionary.h"
#include "spelling/core/verba-spell.h"
#include "spelling/tests/check-environment.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

namespace check_loop {

class CheckedText {
public:
  virtual ~CheckedText() = default;
  // Replaces the whole text and puts the caret at its start.
  virtual void SetText(const std::string &text) = 0;
  virtual std::string Text() = 0;
  // The parser the component would use on this text.
  virtual std::unique_ptr<spelling::TParser> CreateParser() = 0;
  // The control the check reports (null for a text without one).
  virtual components::TComponent *Control() { return nullptr; }
};

struct CheckedTextMaker {
  std::string Name;
  std::function<std::unique_ptr<CheckedText>()> Make;
};

// Test names and failure messages show the text's name.
inline void PrintTo(const CheckedTextMaker &maker, std::ostream *out) { *out << maker.Name; }

inline std::string MakerName(const ::testing::TestParamInfo<CheckedTextMaker> &info) {
  return info.param.Name;
}

class CheckLoopCases : public ::testing::TestWithParam<CheckedTextMaker> {
protected:
  void SetUp() override { text = GetParam().Make(); }

  void Check(const std::string &original) {
    text->SetText(original);
    env.Spell().CheckParser(text->CreateParser(), text->Control());
    EXPECT_FALSE(env.Spell().CheckActive());
  }

  std::vector<std::string> Events(std::vector<std::string> expected) { return expected; }

  ConfiguredEnvironment env;
  std::unique_ptr<CheckedText> text;
};

TEST_P(CheckLoopCases, KnownTextEndsWithoutDialogAndWithTheEndMessage) {
  Check("the cat sat on the mat");
  EXPECT_EQ(env.Events, Events({"complete", EndMessage(6)}));
  EXPECT_TRUE(env.Dialogs.empty());
}

TEST_P(CheckLoopCases, ChangeReplacesTheWordWithTheChosenSuggestion) {
  env.Next().ClickSuggestion("This").Press(spelling::dcChange);
  Check("Ths is a test");
  EXPECT_EQ(text->Text(), "This is a test");
  // The replacement is read again (re-check is on) and counted.
  EXPECT_EQ(env.Events, Events({"dialog", "word:Ths", "complete", EndMessage(5)}));
  EXPECT_EQ(env.Dialog().Caption(spelling::ciNotFound), "Ths");
  EXPECT_EQ(env.Dialog().Caption(spelling::ciErrorLabel), "Not Found:");
  EXPECT_FALSE(env.Dialog().shown);
  EXPECT_TRUE(env.Dialog().released);
}

TEST_P(CheckLoopCases, ChangeAllReplacesLaterOccurrencesSilently) {
  env.Next().TypeAndPress("the", spelling::dcChangeAll);
  Check("teh cat and teh dog");
  EXPECT_EQ(text->Text(), "the cat and the dog");
  EXPECT_EQ(env.Events, Events({"dialog", "word:teh", "complete", EndMessage(6)}));
  ASSERT_EQ(env.Spell().ChangeAllWords().Count(), 1);
  EXPECT_EQ(env.Spell().ChangeAllWords()[0], "teh");
  EXPECT_EQ(env.Spell().ChangeAllReplacements()[0], "the");
}

TEST_P(CheckLoopCases, DeleteRemovesARepeatedWord) {
  env.Next().Press(spelling::dcChange);
  Check("the the cat");
  EXPECT_EQ(text->Text(), "the cat");
  EXPECT_EQ(env.Events, Events({"dialog", "word:the", "complete", EndMessage(3)}));
  EXPECT_EQ(env.Dialog().Caption(spelling::ciErrorLabel), "Repeated Word:");
  // Delete puts the Change button's own caption back.
  EXPECT_EQ(env.Dialog().Caption(spelling::ciChange), "C&hange");
}

TEST_P(CheckLoopCases, UndoLastBringsADeletedRepeatedWordBack) {
  env.Next().Press(spelling::dcChange).Press(spelling::dcUndoLast).Press(spelling::dcCancel);
  Check("the the cat xyzzy");
  EXPECT_EQ(text->Text(), "the the cat xyzzy");
  EXPECT_EQ(env.Events,
            Events({"dialog", "word:the", "word:xyzzy", "word:the", "canceled", "complete"}));
}

TEST_P(CheckLoopCases, IgnoreAllAcceptsTheWordForTheRestOfTheCheck) {
  env.Next().Press(spelling::dcIgnoreAll);
  Check("xyzzy is xyzzy");
  EXPECT_EQ(text->Text(), "xyzzy is xyzzy");
  EXPECT_EQ(env.Events, Events({"dialog", "word:xyzzy", "complete", EndMessage(3)}));
  EXPECT_EQ(env.Spell().IgnoreAllList().IndexOf("xyzzy"), 0);
}

TEST_P(CheckLoopCases, IgnoreSkipsOnlyThisOccurrence) {
  env.Next().Press(spelling::dcIgnore).Press(spelling::dcIgnore);
  Check("xyzzy is xyzzy");
  EXPECT_EQ(env.Events, Events({"dialog", "word:xyzzy", "word:xyzzy", "complete", EndMessage(3)}));
}

TEST_P(CheckLoopCases, AddPutsTheWordIntoTheUserDictionaryFile) {
  env.Next().Press(spelling::dcAdd);
  Check("blorf is a blorf");
  EXPECT_EQ(env.Events, Events({"dialog", "word:blorf", "complete", EndMessage(4)}));
  // The check ends by unloading the user dictionaries, which saves them.
  std::string file = readFile(env.Folder + "default.udt");
  EXPECT_NE(file.find("blorf"), std::string::npos) << file;
  // A later check knows the word.
  env.Events.clear();
  Check("blorf");
  EXPECT_EQ(env.Events, Events({"complete", EndMessage(1)}));
}

TEST_P(CheckLoopCases, AutoCorrectReplacesAndRemembersThePair) {
  env.Next().TypeAndPress("the", spelling::dcAutoCorrect);
  Check("teh cat and teh dog");
  EXPECT_EQ(text->Text(), "the cat and the dog");
  EXPECT_EQ(env.Events, Events({"dialog", "word:teh", "complete", EndMessage(6)}));
  std::string file = readFile(env.Folder + "default.udt");
  EXPECT_NE(file.find("teh"), std::string::npos) << file;
  // The pair outlives the check: the next one corrects without asking.
  env.Events.clear();
  Check("teh fox");
  EXPECT_EQ(text->Text(), "the fox");
  EXPECT_EQ(env.Events, Events({"complete", EndMessage(2)}));
}

TEST_P(CheckLoopCases, UndoLastGoesBackToTheOriginalText) {
  env.Next()
      .TypeAndPress("This", spelling::dcChange)
      .TypeAndPress("the", spelling::dcChangeAll)
      .Press(spelling::dcUndoLast) // at "tst": back to "teh"
      .Press(spelling::dcUndoLast) // at "teh": back to "Ths"
      .Press(spelling::dcCancel);
  Check("Ths is teh tst teh");
  EXPECT_EQ(text->Text(), "Ths is teh tst teh");
  EXPECT_EQ(env.Events, Events({"dialog", "word:Ths", "word:teh", "word:tst", "word:teh",
                                "word:Ths", "canceled", "complete"}));
  // Undoing Change All also forgets the pair.
  EXPECT_EQ(env.Spell().ChangeAllWords().Count(), 0);
}

TEST_P(CheckLoopCases, UndoLastBringsBackAWordChangedToNothing) {
  // The user clears the word edit and presses Change: the word goes, and
  // Undo Last must put it back although nothing replaced it.
  env.Next()
      .TypeAndPress("", spelling::dcChange)
      .Press(spelling::dcUndoLast)
      .Press(spelling::dcCancel);
  Check("Ths is teh");
  EXPECT_EQ(text->Text(), "Ths is teh");
  EXPECT_EQ(env.Events,
            Events({"dialog", "word:Ths", "word:teh", "word:Ths", "canceled", "complete"}));
}

TEST_P(CheckLoopCases, UndoLastAfterAddMakesTheWordUnknownAgain) {
  env.Next().Press(spelling::dcAdd).Press(spelling::dcUndoLast).Press(spelling::dcCancel);
  Check("blorf xyzzy");
  EXPECT_EQ(env.Events,
            Events({"dialog", "word:blorf", "word:xyzzy", "word:blorf", "canceled", "complete"}));
  std::string file = readFile(env.Folder + "default.udt");
  EXPECT_EQ(file.find("blorf"), std::string::npos) << file;
}

TEST_P(CheckLoopCases, StartResumesAfterTheUserEditedTheText) {
  env.Next()
      .Then([this](ScriptedDialog &dialog) {
        // The user clicks into the text and mends the word there (a
        // buffer keeps its length, so the edit does too).
        dialog.Control().DialogDeactivated();
        EXPECT_TRUE(dialog.Enabled(spelling::ciStart));
        EXPECT_FALSE(dialog.Enabled(spelling::ciChange));
        text->SetText("The is a test");
      })
      .Press(spelling::dcStart);
  Check("Ths is a test");
  EXPECT_EQ(text->Text(), "The is a test");
  EXPECT_EQ(env.Events, Events({"dialog", "word:Ths", "complete", EndMessage(5)}));
}

TEST_P(CheckLoopCases, CancelEndsTheCheckWithoutTheEndMessage) {
  env.Next().Press(spelling::dcCancel);
  Check("Ths is a tst");
  EXPECT_EQ(text->Text(), "Ths is a tst");
  EXPECT_EQ(env.Events, Events({"dialog", "word:Ths", "canceled", "complete"}));
  EXPECT_FALSE(env.Dialog().shown);
  EXPECT_TRUE(env.Dialog().released);
  EXPECT_EQ(env.Spell().Parser(), nullptr);
}

TEST_P(CheckLoopCases, EndMessageFollowsTheSetting) {
  env.Spell().EndShowMessage = spelling::emNever;
  Check("the cat");
  env.Spell().EndShowMessage = spelling::emNoDialog;
  Check("the dog");
  env.Next().Press(spelling::dcIgnore);
  Check("xyzzy");
  env.Spell().EndShowMessage = spelling::emAlways;
  env.Next().Press(spelling::dcCancel);
  Check("xyzzy");
  EXPECT_EQ(env.Events, Events({"complete",                                     // never
                                "complete", EndMessage(2),                      // no dialog
                                "dialog", "word:xyzzy", "complete",             // had a dialog
                                "dialog", "word:xyzzy", "canceled", "complete", // always
                                EndMessage(1)}));
}

TEST_P(CheckLoopCases, DoubleClickOnASuggestionIsChangeAll) {
  env.Next().ClickSuggestion("the", true);
  Check("teh cat teh");
  EXPECT_EQ(text->Text(), "the cat the");
  EXPECT_EQ(env.Events, Events({"dialog", "word:teh", "complete", EndMessage(4)}));
}

TEST_P(CheckLoopCases, ClosingTheDialogIsRefusedAndCancels) {
  env.Next().Then(
      [](ScriptedDialog &dialog) { EXPECT_FALSE(dialog.Control().DialogCloseQuery()); });
  Check("xyzzy");
  EXPECT_EQ(env.Events, Events({"dialog", "word:xyzzy", "canceled", "complete"}));
}

} // namespace check_loop

// Instantiated at global scope by each test file.
using check_loop::CheckLoopCases;

#endif
