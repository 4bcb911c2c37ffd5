// The "Options" page: groups of option boxes stacked from the top, each as
// high as its boxes need (the ignore group at least 80 pixels, to hold the
// two reset buttons).
#include "spelling/win32/dialogs/options-sheet.h"

#include "spelling/core/configuration.h"

#include <algorithm>

namespace spelling {

using namespace components;

namespace {

struct OptionInfo {
  const char *text; // built in; the language replaces it
  int group;        // 0 ignore, 1 suggestions, 2 general
  int languageString;
  int helpContext;
};

// In option order, soUpcase first.
const OptionInfo Options[SpellOptionCount] = {
    {"Words in &UPPERCASE", 0, 40, 808},
    {"Words Containing &Numbers", 0, 41, 809},
    {"&HTML Tags", 0, 42, 821},
    {"UR&Ls and E-mail Addresses", 0, 43, 822},
    {"&Quoted Lines", 0, 44, 823},
    {"&Generate Automatically", 1, 45, 810},
    {"From &Primary Dictionary Only", 1, 46, 811},
    {"&Re-check Replaced Words", 2, 47, 812},
    {"Pr&ompt on Repeated Word", 2, 48, 812},
    {"Prompt on &DUal CAps", 2, 49, 813},
    {"", 2, 50, 831},
    {"", 2, 51, 832},
    {"", 2, 52, 833},
    {"", 2, 53, 834},
};

const char *const GroupTexts[] = {" Ignore: ", " Suggestions: ", " General: "};
const int GroupStrings[] = {35, 36, 37};

} // namespace

TSpellOptionsSheet::TSpellOptionsSheet(TForm *dialog, TPageControl *pageControl,
                                       TConfiguration &working, bool &changed,
                                       TSpellOptions visible, const TStringList *ignoreAll,
                                       const TStringList *changeAllWords)
    : TConfigSheet(dialog, pageControl), working_(working), changed_(changed) {
  SetCaption("Options");
  for (int group = 0; group < 3; ++group) {
    bool any = group == 0;
    for (unsigned option = 0; option < SpellOptionCount; ++option)
      any = any ||
            (Options[option].group == group && visible.contains(static_cast<TSpellOption>(option)));
    if (!any)
      continue;
    auto *box = new TGroupBox(dialog);
    box->SetCaption(GroupTexts[group]);
    box->SetParent(Panel());
    groups_.push_back(Group{box, {}});
    if (group == 1)
      SuggestGroup = box;
    if (group == 2)
      GeneralGroup = box;
  }
  IgnoreGroup = groups_.front().box;
  ResetIgnoreAll = new TButton(dialog);
  ResetIgnoreAll->SetCaption("Reset Ignore &All");
  ResetIgnoreAll->SetParent(IgnoreGroup);
  ResetIgnoreAll->SetEnabled(ignoreAll && ignoreAll->Count() > 0);
  ResetChangeAll = new TButton(dialog);
  ResetChangeAll->SetCaption("R&eset Change All");
  ResetChangeAll->SetParent(IgnoreGroup);
  ResetChangeAll->SetEnabled(changeAllWords && changeAllWords->Count() > 0);

  for (unsigned option = 0; option < SpellOptionCount; ++option) {
    auto spellOption = static_cast<TSpellOption>(option);
    if (!visible.contains(spellOption))
      continue;
    const OptionInfo &info = Options[option];
    Group &group = *std::find_if(groups_.begin(), groups_.end(), [&](const Group &g) {
      return g.box == (info.group == 0   ? IgnoreGroup
                       : info.group == 1 ? SuggestGroup
                                         : GeneralGroup);
    });
    auto *box = new TCheckBox(dialog);
    box->SetCaption(info.text);
    box->SetTag(static_cast<int>(option) + 1);
    box->SetHelpContext(info.helpContext);
    box->SetChecked(working_.Options().contains(spellOption));
    box->SetParent(group.box);
    box->OnClick = [this, box](TObject *) {
      TSpellOptions options = working_.Options();
      auto which = static_cast<TSpellOption>(box->Tag() - 1);
      if (options.contains(which) == box->Checked())
        return;
      options.set(which, box->Checked());
      working_.SetOptions(options);
      working_.SetModified(true);
      changed_ = true;
    };
    group.boxes.push_back(box);
    Boxes.push_back(box);
  }
  layoutGroups();
  controlsMade();
}

void TSpellOptionsSheet::layoutGroups() {
  int top = 8;
  for (std::size_t g = 0; g < groups_.size(); ++g) {
    Group &group = groups_[g];
    int count = static_cast<int>(group.boxes.size());
    int height = 16 * count + 24;
    if (g == 0)
      height = std::max(80, height);
    group.box->SetBounds(8, top, group.box->Width(), height);
    for (int position = 0; position < count; ++position)
      group.boxes[static_cast<std::size_t>(position)]->SetBounds(
          8, 16 * (position + 1), group.boxes[static_cast<std::size_t>(position)]->Width(), 16);
    top += height + 8;
  }
}

int TSpellOptionsSheet::ContentHeight() const {
  const TGroupBox *last = groups_.back().box;
  return last->Top() + last->Height() + 8;
}

void TSpellOptionsSheet::ApplyLanguage(const TLanguageModule &language, int &ignoreWidth,
                                       int &otherWidth, int &resetWidth) {
  auto text = [&language](int index) { return language.Strings[static_cast<std::size_t>(index)]; };
  SetCaption(text(24));
  for (const Group &group : groups_) {
    int which = group.box == IgnoreGroup ? 0 : group.box == SuggestGroup ? 1 : 2;
    group.box->SetCaption(text(GroupStrings[which]));
  }
  int reset = 109;
  MeasureText(ResetIgnoreAll, text(38), reset);
  MeasureText(ResetChangeAll, text(39), reset);
  resetWidth_ = reset + 4;
  ignoreWidth = 0;
  otherWidth = 0;
  for (TCheckBox *box : Boxes) {
    const OptionInfo &info = Options[box->Tag() - 1];
    MeasureText(box, text(info.languageString), info.group == 0 ? ignoreWidth : otherWidth);
  }
  resetWidth = resetWidth_;
  ArrangeControls();
}

void TSpellOptionsSheet::ArrangeControls() {
  int width = Panel()->ClientWidth();
  int r = resetWidth_;
  for (const Group &group : groups_) {
    group.box->SetWidth(width - 16);
    int groupWidth = group.box->Width();
    for (TCheckBox *box : group.boxes)
      box->SetWidth(group.box == IgnoreGroup ? groupWidth - r - 22 : groupWidth - 10);
  }
  int left = IgnoreGroup->Width() - r - 11;
  ResetIgnoreAll->SetBounds(left, 16, r, 25);
  ResetChangeAll->SetBounds(left, 44, r, 25);
}

} // namespace spelling
