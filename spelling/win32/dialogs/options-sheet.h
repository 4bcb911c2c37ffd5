// The "Options" page of the options dialog: one check box per visible
// checking option in three groups (" Ignore: ", " Suggestions: ",
// " General: "), and the two reset buttons that show whether the running
// check holds ignore-all or change-all words.
#ifndef SPELLING_WIN32_DIALOGS_OPTIONS_SHEET_H
#define SPELLING_WIN32_DIALOGS_OPTIONS_SHEET_H

#include "spelling/win32/dialogs/config-sheet.h"

#include "spelling/core/languages.h"
#include "spelling/core/spell-options.h"

#include "platform/components/core/string-list.h"

#include <vector>

namespace spelling {

class TSpellOptionsSheet : public TConfigSheet {
public:
  // A box per option in visible; the reset buttons are enabled when
  // ignoreAll or changeAllWords hold words (either may be null).
  TSpellOptionsSheet(components::TForm *dialog, components::TPageControl *pageControl,
                     TConfiguration &working, bool &changed, TSpellOptions visible,
                     const components::TStringList *ignoreAll,
                     const components::TStringList *changeAllWords);

  void ArrangeControls() override;
  // Texts of a language; widest ignore-box text, widest other box text
  // and the reset buttons' width come back for the dialog's width.
  void ApplyLanguage(const TLanguageModule &language, int &ignoreWidth, int &otherWidth,
                     int &resetWidth);
  // The bottom of the last group + 8.
  int ContentHeight() const;

  components::TGroupBox *IgnoreGroup;
  components::TGroupBox *SuggestGroup = nullptr; // absent without a visible option
  components::TGroupBox *GeneralGroup = nullptr;
  components::TButton *ResetIgnoreAll, *ResetChangeAll;
  std::vector<components::TCheckBox *> Boxes; // in option order

private:
  struct Group {
    components::TGroupBox *box;
    std::vector<components::TCheckBox *> boxes;
  };
  void layoutGroups();

  TConfiguration &working_;
  bool &changed_;
  std::vector<Group> groups_;
  int resetWidth_ = 113; // r
};

} // namespace spelling

#endif
