// Re-entry into the spelling component: commands that arrive while the
// check loop yields or the background search runs, a check requested
// during a check, and replacements made without asking next to the undo
// records of the words shown. Under the sanitizers these prove that
// nothing in use is freed and that the stack does not grow per word.
#include "spelling/core/configuration.h"
#include "spelling/core/string-parser.h"
#include "spelling/core/verba-spell.h"
#include "spelling/tests/check-environment.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>

using check_loop::CheckEnvironment;
using check_loop::ConfiguredEnvironment;
using check_loop::ScriptedDialog;
using namespace spelling;

namespace {

using Words = std::vector<std::string>;

// Presses a button once, on the nth yield that finds the condition true.
struct PressOnYield {
  int code;
  int atYield;
  std::function<bool()> when;
  int seen = 0;
  bool done = false;

  void operator()(CheckEnvironment &env) {
    if (done || env.Dialogs.empty() || (when && !when()))
      return;
    if (++seen < atYield)
      return;
    done = true;
    env.Dialog().PressNow(code);
  }
};

std::uintptr_t stackPosition() {
  return reinterpret_cast<std::uintptr_t>(__builtin_frame_address(0));
}

} // namespace

TEST(CheckReentry, CancelDuringALoopYieldEndsTheCheckAfterTheLoop) {
  ConfiguredEnvironment env;
  env.RandomValue = 0.0; // yield after every word
  PressOnYield press{dcCancel, 2, nullptr};
  env.OnYield = [&] { press(env); };
  env.Next().Press(dcIgnore);
  std::string text = "xyzzy the cat sat on the mat";
  env.Spell().CheckString(text);
  EXPECT_TRUE(press.done);
  EXPECT_EQ(env.Events, Words({"dialog", "word:xyzzy", "canceled", "complete"}));
  EXPECT_EQ(env.Spell().WordsChecked(), 3); // the loop stopped at the yield
  EXPECT_EQ(env.Spell().Parser(), nullptr);
  EXPECT_FALSE(env.Spell().CheckActive());
}

TEST(CheckReentry, OptionsDuringALoopYieldRunAfterTheLoopWhichThenGoesOn) {
  ConfiguredEnvironment env;
  env.RandomValue = 0.0;
  PressOnYield press{dcOptions, 2, nullptr};
  env.OnYield = [&] { press(env); };
  // The options dialog drops the main dictionary: the loop must not be
  // using it when that happens.
  env.OnSetup = [&](TSetupRequest &request) {
    request.Configuration->MainEntries().clear();
    return true;
  };
  env.Next().Press(dcIgnore).Press(dcIgnore);
  std::string text = "xyzzy the cat sat";
  env.Spell().CheckString(text);
  EXPECT_TRUE(press.done);
  // The options came after "cat" was tested and "sat" read: "sat" is the
  // first word tested without the dictionary.
  EXPECT_EQ(env.Events, Words({"dialog", "word:xyzzy", "setup:Spell Check Configuration",
                               "word:sat", "complete", check_loop::EndMessage(4)}));
}

TEST(CheckReentry, CancelDuringTheBackgroundSearchWaitsForTheSearch) {
  ConfiguredEnvironment env;
  env.Spell().BackgroundSuggestions = true;
  PressOnYield press{dcCancel, 5, [&] { return env.Spell().BackgroundBusy(); }};
  env.OnYield = [&] { press(env); };
  std::string text = "xyzzy the cat";
  env.Spell().CheckString(text);
  EXPECT_TRUE(press.done);
  EXPECT_EQ(env.Events, Words({"dialog", "word:xyzzy", "canceled", "complete"}));
  EXPECT_EQ(env.Dialogs[0]->backgroundStarts, 1);
  EXPECT_EQ(env.Dialogs[0]->backgroundEnds, 1);
  EXPECT_FALSE(env.Spell().CheckActive());
}

TEST(CheckReentry, OptionsDuringTheBackgroundSearchWaitForTheSearch) {
  ConfiguredEnvironment env;
  env.Spell().BackgroundSuggestions = true;
  PressOnYield press{dcOptions, 5, [&] { return env.Spell().BackgroundBusy(); }};
  env.OnYield = [&] { press(env); };
  env.OnSetup = [&](TSetupRequest &request) {
    EXPECT_FALSE(env.Spell().BackgroundBusy());
    request.Configuration->MainEntries().clear();
    request.Configuration->UserEntries().clear();
    return true;
  };
  env.Next().Press(dcIgnore).Press(dcIgnore);
  std::string text = "xyzzy the";
  env.Spell().CheckString(text);
  EXPECT_TRUE(press.done);
  EXPECT_EQ(env.Events, Words({"dialog", "word:xyzzy", "setup:Spell Check Configuration",
                               "word:the", "complete", check_loop::EndMessage(2)}));
}

TEST(CheckReentry, ALaterDeferredCommandReplacesAnEarlierOne) {
  ConfiguredEnvironment env;
  env.Spell().BackgroundSuggestions = true;
  bool pressed = false;
  env.OnYield = [&] {
    if (pressed || !env.Spell().BackgroundBusy())
      return;
    pressed = true;
    env.Dialog().PressNow(dcAdd);
    env.Dialog().PressNow(dcIgnore);
  };
  std::string text = "blorf blorf";
  env.Next().Press(dcCancel);
  env.Spell().CheckString(text);
  // Ignore, not Add: the second blorf is still unknown.
  EXPECT_EQ(env.Events, Words({"dialog", "word:blorf", "word:blorf", "canceled", "complete"}));
}

TEST(CheckReentry, TwoThousandCommandsDeferredDuringTheSearchKeepTheStackFlat) {
  ConfiguredEnvironment env;
  env.Spell().BackgroundSuggestions = true;
  const int wordCount = 2000;
  std::string text;
  for (int i = 0; i < wordCount; ++i) {
    // Distinct unknown words of the dictionary's letters.
    std::string word = "zq";
    for (int n = i; n > 0 || word.size() == 2; n /= 26)
      word += static_cast<char>('a' + n % 26);
    text += word + " ";
  }
  std::vector<std::uintptr_t> depths;
  int lastWord = -1;
  env.OnYield = [&] {
    if (!env.Spell().BackgroundBusy() || env.Spell().WordsChecked() == lastWord)
      return;
    lastWord = env.Spell().WordsChecked();
    depths.push_back(stackPosition());
    env.Dialog().PressNow(dcIgnoreAll);
  };
  env.Spell().CheckString(text);
  ASSERT_EQ(static_cast<int>(depths.size()), wordCount);
  EXPECT_EQ(env.Dialogs.size(), 1u);
  EXPECT_EQ(env.Events.back(), check_loop::EndMessage(wordCount));
  // One stack level per word would take tens of bytes a word at least;
  // the deepest call may differ from the first by a few frames only.
  const auto [lowest, highest] = std::minmax_element(depths.begin(), depths.end());
  EXPECT_LT(*highest - *lowest, 4096u);
}

TEST(CheckReentry, ACheckRequestDuringACheckIsRefusedAndLeavesItsTextAlone) {
  ConfiguredEnvironment env;
  std::string other = "plugh";
  env.Next()
      .Then([&](ScriptedDialog &) {
        env.Spell().CheckString(other);
        std::string moreText = "xyzzy";
        env.Spell().CheckParser(std::make_unique<TStringParser>(moreText), nullptr);
        EXPECT_TRUE(env.Spell().CheckActive());
      })
      .TypeAndPress("the", dcChange);
  std::string text = "teh cat";
  env.Spell().CheckString(text);
  EXPECT_EQ(other, "plugh");
  EXPECT_EQ(text, "the cat");
  EXPECT_EQ(env.Events, Words({"dialog", "word:teh", "complete", check_loop::EndMessage(3)}));
}

TEST(CheckReentry, SilentReplacementsLeaveTheUndoRecordsOfShownWordsAlone) {
  ConfiguredEnvironment env;
  env.Next()
      .TypeAndPress("the", dcChangeAll) // teh
      .Press(dcIgnore)                  // blorf; the second teh goes silently
      .Press(dcUndoLast)                // at qux: back to blorf, as it was
      .Press(dcUndoLast)                // at blorf: back to the first teh
      .Press(dcCancel);
  std::string text = "teh blorf teh qux";
  env.Spell().CheckString(text);
  EXPECT_EQ(text, "teh blorf the qux");
  EXPECT_EQ(env.Events, Words({"dialog", "word:teh", "word:blorf", "word:qux", "word:blorf",
                               "word:teh", "canceled", "complete"}));
}

TEST(CheckReentry, ASilentReplacementBeforeAnyWordIsShownNeedsNoRecord) {
  ConfiguredEnvironment env;
  env.Next().TypeAndPress("the", dcChangeAll);
  std::string first = "teh";
  env.Spell().CheckString(first);
  // The change-all pair lasts until the configuration is read again.
  env.Next()
      .Then([](ScriptedDialog &dialog) { EXPECT_FALSE(dialog.Enabled(ciUndoLast)); })
      .Press(dcCancel);
  std::string second = "teh teh blorf";
  env.Spell().CheckString(second);
  EXPECT_EQ(second, "the the blorf");
  EXPECT_EQ(env.Events, Words({"dialog", "word:teh", "complete", check_loop::EndMessage(2),
                               "dialog", "word:blorf", "canceled", "complete"}));
}
