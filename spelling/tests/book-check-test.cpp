// A whole book checked with the shipped English dictionary, every unknown
// word answered with Ignore All: no word of the dictionary's own word list
// may be reported. Beside it, for information, the words hunspell reports
// for the same book, and where the two differ.
#include "spelling/core/configuration.h"
#include "spelling/core/verba-spell.h"
#include "spelling/tests/check-environment.h"
#include "spelling/tests/english-dictionary-fixture.h"
#include "spelling/tools/dct-build.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <iostream>
#include <set>

using check_loop::CheckEnvironment;
using namespace spelling;

namespace {

// The book in the dictionary's code page; characters it lacks become spaces.
std::string bookText(const std::string &path) {
  std::string utf8 = check_loop::readFile(path);
  if (utf8.compare(0, 3, "\xEF\xBB\xBF") == 0)
    utf8.erase(0, 3);
  std::string ansi;
  if (dct::utf8ToAnsi(utf8, ansi))
    return ansi;
  for (char &c : utf8) {
    if (static_cast<unsigned char>(c) >= 0x80)
      c = ' ';
  }
  return utf8;
}

#ifndef _WIN32
std::set<std::string> hunspellFlags(const std::string &path) {
  std::set<std::string> words;
  std::string command = "hunspell -i utf-8 -d en_US -l < '" + path + "' 2>/dev/null";
  FILE *pipe = popen(command.c_str(), "r");
  if (!pipe)
    return words;
  char line[1024];
  while (std::fgets(line, sizeof line, pipe)) {
    std::string word(line);
    while (!word.empty() && (word.back() == '\n' || word.back() == '\r'))
      word.pop_back();
    if (!word.empty())
      words.insert(word);
  }
  pclose(pipe);
  return words;
}

void printSample(const char *title, const std::set<std::string> &words) {
  std::cout << title << " (" << words.size() << "):";
  int shown = 0;
  for (const std::string &word : words) {
    if (++shown > 25)
      break;
    std::cout << ' ' << word;
  }
  std::cout << '\n';
}
#endif

} // namespace

TEST(BookCheck, NoWordOfTheWordListIsReportedInMobyDick) {
  CheckEnvironment env({"a"});
  // Suggestions play no part in what is reported and cost time.
  TSpellOptions options = DefaultSpellOptions;
  options.exclude(soAutoSuggest);
  env.WriteConfiguration(options, testing_support::hostPath(ENGLISH_DCT));
  const std::vector<std::string> words = readEnglishWords();
  const std::set<std::string> wordList(words.begin(), words.end());
  ASSERT_GT(wordList.size(), 50000u);
  const std::string bookPath = testing_support::sharedDataPath("text/moby-dick.txt");
  std::string text = bookText(bookPath);
  ASSERT_GT(text.size(), 1000000u);

  TVerbaSpell &spell = env.Spell();
  std::set<std::string> flagged;
  int repeats = 0;
  spell.Platform.HandleMessage = [&] {
    if (spell.RepeatedWord()) {
      ++repeats;
      env.Dialog().PressNow(dcIgnore);
      return;
    }
    flagged.insert(spell.CurrentWord());
    env.Dialog().PressNow(dcIgnoreAll);
  };
  spell.CheckString(text);
  EXPECT_FALSE(spell.CheckActive());
  EXPECT_GT(spell.WordsChecked(), 200000);

  std::set<std::string> listed;
  for (const std::string &word : flagged) {
    if (wordList.count(word))
      listed.insert(word);
  }
  EXPECT_TRUE(listed.empty()) << listed.size() << " listed words reported, the first "
                              << *listed.begin();
  RecordProperty("words_checked", spell.WordsChecked());
  RecordProperty("words_reported", static_cast<int>(flagged.size()));
  RecordProperty("repeated_words", repeats);

#ifndef _WIN32
  // For information only: the two checkers split words differently and
  // know different words.
  const std::set<std::string> theirs = hunspellFlags(bookPath);
  std::set<std::string> onlyOurs;
  std::set<std::string> onlyTheirs;
  std::size_t both = 0;
  for (const std::string &word : flagged) {
    if (theirs.count(word))
      ++both;
    else
      onlyOurs.insert(word);
  }
  for (const std::string &word : theirs) {
    if (!flagged.count(word))
      onlyTheirs.insert(word);
  }
  std::cout << "Moby-Dick: " << spell.WordsChecked() << " words checked; we report "
            << flagged.size() << " distinct words (and " << repeats
            << " repeated words), hunspell -l " << theirs.size() << "; both " << both << "\n";
  printSample("reported by us only", onlyOurs);
  printSample("reported by hunspell only", onlyTheirs);
#endif
}
