// A spelling component set up for whole checks in a test: a scratch folder
// holding a main dictionary built from a word list (and, when asked, a
// "VERBA.CFG"), the component reading its configuration from there, and
// its platform hooks pointed at scripted dialogs. Every check makes a new
// ScriptedDialog; the script of the next one is written into Next() before
// the check starts. Whatever the component reports (events, messages,
// help) is logged in order in Events.
#ifndef SPELLING_TESTS_CHECK_ENVIRONMENT_H
#define SPELLING_TESTS_CHECK_ENVIRONMENT_H

#include "spelling/core/verba-spell.h"
#include "testing/test-files.h"
#include "spelling/tests/scripted-dialog.h"
#include "spelling/tools/dct-build.h"
#include "testing/test-paths.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace check_loop {

// The words of the test dictionary. Its letters are the parsers' word
// characters, so the names bring in every capital.
inline std::vector<std::string> TestWords() {
  return {"a",     "an",    "and",    "are",    "as",      "at",     "be",     "brown", "cat",
          "cats",  "dog",   "dogs",   "don't",  "for",     "fox",    "from",   "hello", "in",
          "is",    "it",    "it's",   "jumps",  "lazy",    "mat",    "of",     "on",    "over",
          "quick", "sat",   "spell",  "test",   "text",    "that",   "the",    "their", "there",
          "this",  "tis",   "to",     "was",    "with",    "word",   "words",  "world", "you",
          "NASA",  "Alice", "Bob",    "Carol",  "Dave",    "Eve",    "Frank",  "Grace", "Heidi",
          "Ivan",  "John",  "Kevin",  "Larry",  "Mallory", "Oscar",  "Peggy",  "Quinn", "Rupert",
          "Sybil", "Trent", "Ursula", "Victor", "Walter",  "Xavier", "Yvonne", "Zoe"};
}

using testing_support::readFile;
using testing_support::writeFile;

// The end message as the log holds it.
inline std::string EndMessage(int wordsChecked) {
  return "message:Spell Check Complete\r\n\r\nWords Checked: " + std::to_string(wordsChecked);
}

class CheckEnvironment {
public:
  // A fresh scratch folder named after the running test, with
  // "english.dct" made of words.
  explicit CheckEnvironment(const std::vector<std::string> &words = TestWords()) {
    const auto *info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string("check-") + info->test_suite_name() + "-" + info->name();
    for (char &c : name) {
      if (c == '/')
        c = '-';
    }
    Folder = testing_support::scratchPath(name);
    std::filesystem::remove_all(Folder);
    std::filesystem::create_directories(Folder);
    Folder += "/";
    spelling::dct::BuildOptions options;
    options.title = "Test English";
    const auto built = spelling::dct::buildDictionary(words, options);
    writeFile(Folder + "english.dct",
              std::string(reinterpret_cast<const char *>(built.file.data()), built.file.size()));
  }

  // Writes "VERBA.CFG" selecting a main dictionary (english.dct of the
  // folder unless given) and default.udt, with options.
  void WriteConfiguration(spelling::TSpellOptions options, std::string mainPath = "") {
    if (mainPath.empty())
      mainPath = Folder + "english.dct";
    static const char *keys[] = {"soUpcase",   "soNumbers",     "soHTML",        "soInternet",
                                 "soQuoted",   "soAutoSuggest", "soPrimaryOnly", "soRecheck",
                                 "soRepeated", "soDualCaps",    "soUser1",       "soUser2",
                                 "soUser3",    "soUser4"};
    std::string text = "[verba]\r\nID=1\r\nU_MU_DCT_ListCount=1\r\nU_MU_DCT_0=T" + mainPath +
                       "\r\nM_DCT_ListCount=1\r\nM_DCT_0=Test English\r\n"
                       "U_DCT_ListCount=1\r\nU_DCT_0=T" +
                       Folder + "default.udt\r\n";
    for (unsigned i = 0; i < spelling::SpellOptionCount; ++i) {
      text += std::string(keys[i]) + "=" +
              (options.contains(static_cast<spelling::TSpellOption>(i)) ? "1" : "0") + "\r\n";
    }
    text += "UserIndex=0\r\n";
    writeFile(Folder + "VERBA.CFG", text);
  }

  // The component, reading its configuration from the folder. Background
  // suggestions are off unless a test turns them on: they only append to
  // the list and cost time.
  spelling::TVerbaSpell &Spell() {
    if (spell_)
      return *spell_;
    spell_ = std::make_unique<spelling::TVerbaSpell>(nullptr);
    auto &platform = spell_->Platform;
    platform = spelling::TSpellPlatform();
    platform.ProgramDirectory = [this] { return Folder; };
    platform.Random = [this] { return RandomValue; };
    platform.ProcessMessages = [this] {
      ++Yields;
      if (OnYield)
        OnYield();
    };
    platform.HandleMessage = [this] { handleMessage(); };
    platform.ShowMessage = [this](const std::string &text, spelling::TMessageKind,
                                  spelling::TMessageButtons) {
      Events.push_back("message:" + text);
      return MessageAnswer;
    };
    platform.ShowHelp = [this](int context) {
      Events.push_back("help:" + std::to_string(context));
    };
    platform.GetHelpFile = [this] { return HelpFile; };
    platform.SetHelpFile = [this](const std::string &file) { HelpFile = file; };
    platform.Screen = [] { return spelling::TDialogRect{0, 0, 1024, 768}; };
    platform.CreateDialog = [this](spelling::TVerbaSpell &) -> spelling::TDialogForm * {
      Dialogs.push_back(std::move(next_));
      next_ = std::make_unique<ScriptedDialog>();
      Events.push_back("dialog");
      return Dialogs.back().get();
    };
    platform.RunSetupDialog = [this](spelling::TSetupRequest &request) {
      Events.push_back("setup:" + request.Caption);
      return OnSetup ? OnSetup(request) : false;
    };
    spell_->BackgroundSuggestions = false;
    spell_->OnCheckComplete = [this](components::TObject *) { Events.push_back("complete"); };
    spell_->OnCheckCanceled = [this](components::TObject *) { Events.push_back("canceled"); };
    spell_->OnMisspelledWord = [this](components::TObject *) {
      Events.push_back("word:" + spell_->CurrentWord());
    };
    spell_->ReadConfiguration();
    return *spell_;
  }

  // The script of the dialog the next check makes.
  ScriptedDialog &Next() { return *next_; }
  // The dialog of the latest check.
  ScriptedDialog &Dialog() { return *Dialogs.back(); }

  std::string Folder;
  std::vector<std::string> Events;
  std::vector<std::unique_ptr<ScriptedDialog>> Dialogs;
  double RandomValue = 0.5; // never below 0.03: no yields unless a test wants them
  int Yields = 0;
  std::function<void()> OnYield;
  std::function<bool(spelling::TSetupRequest &)> OnSetup;
  spelling::TMessageResult MessageAnswer = spelling::TMessageResult::OK;
  std::string HelpFile = "lexitray.hlp";
  bool ScriptRanOut = false;

private:
  // The application waits for a message: the user's next step. A script
  // that runs out while the check waits cancels it, so that a wrong
  // expectation fails the test instead of hanging it.
  void handleMessage() {
    if (!Dialogs.empty() && Dialogs.back()->RunStep())
      return;
    ScriptRanOut = true;
    ADD_FAILURE() << "the script ran out while the check waits";
    if (!Dialogs.empty())
      Dialogs.back()->Control().Cancel();
    else
      spell_->Platform.HandleMessage = nullptr;
  }

  std::unique_ptr<ScriptedDialog> next_ = std::make_unique<ScriptedDialog>();
  std::unique_ptr<spelling::TVerbaSpell> spell_;
};

// The same with "VERBA.CFG" written for the default options.
struct ConfiguredEnvironment : CheckEnvironment {
  ConfiguredEnvironment() { WriteConfiguration(spelling::DefaultSpellOptions); }
};

} // namespace check_loop

#endif
