// Language tables of the spelling component: every caption and message
// that the component and its dialogs show, 64 strings per language. A new
// table holds the built-in English strings; further languages arrive with
// the component's stored properties.
//
// Stored form, as two properties of the owning component:
//   "LangCount"  the number of modules
//   "Lang"       a list of strings; per module its name, its 64 strings in
//                index order and the terminator "@@@"
#ifndef SPELLING_LANGUAGES_H
#define SPELLING_LANGUAGES_H

#include "platform/components/core/event.h"

#include <array>
#include <string>
#include <vector>

namespace spelling {

constexpr int LanguageStringCount = 64;

struct TLanguageModule {
  std::string Name;
  std::array<std::string, LanguageStringCount> Strings;
};

// The two stored properties, as the component's property streaming hands
// them over.
struct StreamedLanguages {
  int LangCount = 0;
  std::vector<std::string> Lang;
};

class TLanguages : public components::TObject {
public:
  // One module, "English (US)", with the built-in strings.
  TLanguages();

  int Count() const { return static_cast<int>(modules_.size()); }
  const TLanguageModule &Modules(int index) const { return modules_.at(index); }
  void Add(TLanguageModule module) { modules_.push_back(std::move(module)); }
  void Clear() { modules_.clear(); }
  void Assign(const TLanguages &other) { modules_ = other.modules_; }

  // String index of module language; empty when either is out of range.
  std::string GetString(int language, int index) const;

  StreamedLanguages WriteProperties() const;
  // Replaces the modules by those of the stored properties. At most
  // LangCount modules are read, and no more than the list holds. A module
  // ends at its terminator or at the end of the list; only a real
  // terminator is dropped. Indices a module does not supply keep the
  // built-in English text, and strings past the 64th are ignored. When the
  // properties hold no module at all, the built-in English one is kept so
  // that every string index still has a text.
  void ReadProperties(const StreamedLanguages &properties);

private:
  std::vector<TLanguageModule> modules_;
};

// The built-in English module.
TLanguageModule EnglishLanguage();
extern const char LanguageTerminator[];

// Every backslash becomes CR LF: the stored messages mark their line
// breaks with backslashes.
std::string ConvertLineBreaks(const std::string &text);

} // namespace spelling

#endif
