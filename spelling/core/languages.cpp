// Language tables: the built-in English strings and the stored form.
#include "spelling/core/languages.h"

namespace spelling {

const char LanguageTerminator[] = "@@@";

namespace {

const char EnglishName[] = "English (US)";

// Strings 23 to 59, 61 and 63 belong to the options dialog; 60 to 62 mark
// line breaks with backslashes (see ConvertLineBreaks).
// clang-format off
const char *const EnglishStrings[LanguageStringCount] = {
    "Spell Check Complete", // 0
    "Words Checked: ", // 1
    "", // 2
    "Spell Check", // 3
    "&Change All", // 4
    "C&hange", // 5
    "&Ignore All", // 6
    "I&gnore", // 7
    "&Add", // 8
    "Au&to-Correct", // 9
    "S&uggest", // 10
    "Start", // 11
    "Undo &Last", // 12
    "&Options", // 13
    "&Delete", // 14
    "Hel&p", // 15
    "Cancel", // 16
    "Not Found:", // 17
    "Repeated Word:", // 18
    "Replace With:", // 19
    "Suggestions:", // 20
    "...", // 21
    "Spell Check Configuration", // 22
    "Dictionaries", // 23
    "Options", // 24
    "&OK", // 25
    "&Cancel", // 26
    " Main Dictionaries: ", // 27
    "&Add", // 28
    "&Remove", // 29
    " User Dictionaries: ", // 30
    "A&dd", // 31
    "R&emove", // 32
    "&New", // 33
    "Add Words &To;", // 34
    " Ignore: ", // 35
    " Suggestions: ", // 36
    " General: ", // 37
    "Reset Ignore &All", // 38
    "R&eset Change All", // 39
    "Words in &UPPERCASE", // 40
    "Words Containing &Numbers", // 41
    "&HTML Tags", // 42
    "UR&Ls and E-mail Addresses", // 43
    "Quoted Lines", // 44
    "&Generate Automatically", // 45
    "From &Primary Dictionary Only", // 46
    "Re-check Replaced Words", // 47
    "Prompt on Repeated Word", // 48
    "Prompt on &DUal CAps", // 49
    "User Option 1", // 50
    "User Option 2", // 51
    "User Option 3", // 52
    "User Option 4", // 53
    "Dictionary Files", // 54
    "Open Main Dictionary", // 55
    "User Dictionaries", // 56
    "Open User Dictionary", // 57
    "User Dictionary File", // 58
    "New User Dictionary", // 59
    "A main dictionary has yet to be\\set for this configuration.\\\\Edit configuration?", // 60
    "This dictionary file could not be\\located.  It needs to be moved\\to the specified directory or\\this entry should be removed.", // 61
    "Unable to find dictionary file:", // 62
    "Exit without saving configuration?", // 63
};
// clang-format on

} // namespace

TLanguageModule EnglishLanguage() {
  TLanguageModule module;
  module.Name = EnglishName;
  for (int i = 0; i < LanguageStringCount; ++i)
    module.Strings[i] = EnglishStrings[i];
  return module;
}

TLanguages::TLanguages() { modules_.push_back(EnglishLanguage()); }

std::string TLanguages::GetString(int language, int index) const {
  if (language < 0 || language >= Count() || index < 0 || index >= LanguageStringCount)
    return std::string();
  return modules_[language].Strings[index];
}

StreamedLanguages TLanguages::WriteProperties() const {
  StreamedLanguages properties;
  properties.LangCount = Count();
  for (const TLanguageModule &module : modules_) {
    properties.Lang.push_back(module.Name);
    for (const std::string &text : module.Strings)
      properties.Lang.push_back(text);
    properties.Lang.push_back(LanguageTerminator);
  }
  return properties;
}

void TLanguages::ReadProperties(const StreamedLanguages &properties) {
  std::vector<TLanguageModule> modules;
  const std::vector<std::string> &list = properties.Lang;
  std::size_t at = 0;
  for (int m = 0; m < properties.LangCount && at < list.size(); ++m) {
    TLanguageModule module = EnglishLanguage();
    module.Name = list[at++];
    int index = 0;
    // A module ends at its terminator; without one (a damaged stream) it
    // ends with the list, and its last string is kept.
    while (at < list.size() && list[at] != LanguageTerminator) {
      if (index < LanguageStringCount)
        module.Strings[index] = list[at];
      ++index;
      ++at;
    }
    if (at < list.size())
      ++at; // the terminator
    modules.push_back(std::move(module));
  }
  if (modules.empty())
    modules.push_back(EnglishLanguage());
  modules_ = std::move(modules);
}

std::string ConvertLineBreaks(const std::string &text) {
  std::string converted;
  converted.reserve(text.size());
  for (char c : text) {
    if (c == '\\')
      converted += "\r\n";
    else
      converted += c;
  }
  return converted;
}

} // namespace spelling
