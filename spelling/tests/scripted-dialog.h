// A stand-in for the check dialog, driven by a script. It records what the
// spelling component asks of its controls (enabled states and texts by
// index, the suggestion list, the word edit, placement) and, each time the
// application waits for a message, carries out the next step of its
// script as a user would: type into the word edit, click a suggestion,
// press a button. Pressing a disabled button is reported as a failure,
// since no user could.
#ifndef SPELLING_TESTS_SCRIPTED_DIALOG_H
#define SPELLING_TESTS_SCRIPTED_DIALOG_H

#include "spelling/core/dialog-control.h"
#include "spelling/core/spell-platform.h"

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace check_loop {

class ScriptedDialog : public spelling::TDialogForm,
                       public spelling::TDialogWordEdit,
                       public spelling::TDialogSuggestionList {
public:
  using Step = std::function<void(ScriptedDialog &)>;

  ScriptedDialog() : control_(new spelling::TDialogControl(&form_)) {
    control_->WordEdit = this;
    control_->Suggestions = this;
    control_->OnChangeEnabled = [this](components::TObject *, int index, bool on) {
      enabled[index] = on;
    };
    control_->OnChangeVisible = [this](components::TObject *, int index, bool on) {
      visible[index] = on;
    };
    control_->OnSetCaption = [this](components::TObject *, int index, const std::string &text) {
      if (index == spelling::ciWordEdit) {
        SetText(text);
        return;
      }
      captions[index] = text;
    };
    control_->OnGetCaption = [this](components::TObject *, int index, std::string &text) {
      if (index == spelling::ciWordEdit)
        text = wordEdit;
      else if (captions.count(index))
        text = captions[index];
    };
    control_->OnResize = [this](components::TObject *) { ++resizes; };
    control_->OnBackgroundStart = [this](components::TObject *) { ++backgroundStarts; };
    control_->OnBackgroundEnd = [this](components::TObject *) { ++backgroundEnds; };
  }

  spelling::TDialogControl &Control() { return *control_; }
  bool Enabled(int index) const {
    auto found = enabled.find(index);
    return found != enabled.end() && found->second;
  }
  std::string Caption(int index) const {
    auto found = captions.find(index);
    return found == captions.end() ? std::string() : found->second;
  }
  std::vector<std::string> Items() const { return items_; }

  // The script, run one step per message the application waits for.
  ScriptedDialog &Then(Step step) {
    script.push_back(std::move(step));
    return *this;
  }
  ScriptedDialog &Press(int code) {
    return Then([code](ScriptedDialog &dialog) { dialog.PressNow(code); });
  }
  ScriptedDialog &Type(const std::string &text) {
    return Then([text](ScriptedDialog &dialog) { dialog.TypeNow(text); });
  }
  ScriptedDialog &TypeAndPress(const std::string &text, int code) { return Type(text).Press(code); }
  ScriptedDialog &ClickSuggestion(const std::string &item, bool doubleClick = false) {
    return Then([item, doubleClick](ScriptedDialog &dialog) {
      dialog.ClickSuggestionNow(item, doubleClick);
    });
  }
  // Runs the next step; false when the script is used up.
  bool RunStep() {
    if (script.empty())
      return false;
    Step step = std::move(script.front());
    script.pop_front();
    step(*this);
    return true;
  }

  void PressNow(int code) {
    static const int buttonOf[spelling::DialogCommandCount] = {
        spelling::ciSuggest,   spelling::ciStart,       spelling::ciUndoLast,  spelling::ciOptions,
        spelling::ciChangeAll, spelling::ciChange,      spelling::ciIgnoreAll, spelling::ciIgnore,
        spelling::ciAdd,       spelling::ciAutoCorrect, spelling::ciHelp,      spelling::ciCancel};
    pressed.push_back(code);
    int button = buttonOf[code];
    // Options, Help and Cancel start enabled on the form.
    bool isEnabled = enabled.count(button)
                         ? enabled[button]
                         : (button == spelling::ciOptions || button == spelling::ciHelp ||
                            button == spelling::ciCancel);
    if (!isEnabled)
      ADD_FAILURE() << "button of command " << code << " pressed while disabled";
    control_->Command(code);
  }
  void TypeNow(const std::string &text) {
    if (!Enabled(spelling::ciWordEdit))
      ADD_FAILURE() << "typed into a disabled word edit";
    SetText(text);
  }
  void ClickSuggestionNow(const std::string &item, bool doubleClick) {
    int index = -1;
    for (int i = 0; i < static_cast<int>(items_.size()); ++i) {
      if (items_[static_cast<std::size_t>(i)] == item)
        index = i;
    }
    if (index < 0) {
      ADD_FAILURE() << "no suggestion " << item;
      return;
    }
    itemIndex_ = index;
    control_->SuggestionClicked();
    if (doubleClick)
      control_->SuggestionDoubleClicked();
  }

  // TDialogForm
  components::TComponent *FormComponent() override { return &form_; }
  void SetCaption(const std::string &caption) override { formCaption = caption; }
  void SetFontSize(int points) override { fontSize = points; }
  spelling::TDialogRect Bounds() const override { return bounds; }
  void MoveTo(int left, int top) override {
    bounds.Left = left;
    bounds.Top = top;
    ++moves;
  }
  void Show() override { shown = true; }
  void Hide() override { shown = false; }
  void Release() override { released = true; }
  void SetHelpEnabled(bool on) override { helpEnabled = on; }

  // TDialogWordEdit: a change of text is reported, as an edit control does.
  std::string Text() const override { return wordEdit; }
  void SetText(const std::string &text) override {
    wordEdit = text;
    control_->WordEditChanged();
  }
  void SelectText(int start, int length) override {
    selectionStart = start;
    selectionLength = length;
  }

  // TDialogSuggestionList
  void Clear() override {
    items_.clear();
    itemIndex_ = -1;
  }
  void Add(const std::string &item) override { items_.push_back(item); }
  int Count() const override { return static_cast<int>(items_.size()); }
  std::string Item(int index) const override { return items_.at(static_cast<std::size_t>(index)); }
  int ItemIndex() const override { return itemIndex_; }
  void SetItemIndex(int index) override { itemIndex_ = index; }

  std::deque<Step> script;
  std::vector<int> pressed;
  std::map<int, bool> enabled;
  std::map<int, bool> visible;
  std::map<int, std::string> captions;
  std::string wordEdit;
  int selectionStart = -1;
  int selectionLength = 0;
  std::string formCaption;
  int fontSize = 0;
  spelling::TDialogRect bounds{100, 100, 386, 184};
  int moves = 0;
  int resizes = 0;
  int backgroundStarts = 0;
  int backgroundEnds = 0;
  bool shown = false;
  bool released = false;
  bool helpEnabled = true;

private:
  components::TComponent form_{nullptr};
  spelling::TDialogControl *control_; // owned by form_
  std::vector<std::string> items_;
  int itemIndex_ = -1;
};

} // namespace check_loop

#endif
