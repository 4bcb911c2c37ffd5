// A group box of radio buttons made from its items.
#include "platform/components/win32/radio-group.h"

#include "platform/components/core/exception.h"
#include "platform/components/core/string-list.h"
#include "platform/components/win32/application.h"
#include "platform/components/win32/forms.h"
#include "platform/base/win32/unique-handle.h"

#include <algorithm>

namespace components {

// One radio button of a radio group; its clicks go to the group.
class TGroupButton : public TWinControl {
public:
  TGroupButton(TRadioGroup *group, int index) : TWinControl(group), group_(group), index_(index) {}

protected:
  void CreateParams(TCreateParams &params) override {
    params.className = "BUTTON";
    params.ownClass = false;
    params.style = WS_CHILD | WS_CLIPSIBLINGS | WS_TABSTOP | BS_RADIOBUTTON;
  }
  void command(WORD code, WORD id) override {
    (void)id;
    if (code == BN_CLICKED)
      group_->buttonClicked(index_);
  }

private:
  TRadioGroup *group_;
  int index_;
};

TRadioGroup::TRadioGroup(TComponent *owner) : TGroupBox(owner), items_(*this, {0, 0, 0, 0}) {
  items_.OnChange = [this](TObject *) { rebuildButtons(); };
}

void TRadioGroup::handleCreated() { rebuildButtons(); }

void TRadioGroup::rebuildButtons() {
  if (Destroying())
    return;
  for (TWinControl *button : buttons_)
    delete button;
  buttons_.clear();
  for (int i = 0; i < items_.Count(); ++i) {
    auto *button = new TGroupButton(this, i);
    button->SetCaption(items_.Strings(i));
    buttons_.push_back(button);
    button->SetParent(this);
  }
  if (itemIndex_ >= items_.Count())
    itemIndex_ = -1;
  arrangeButtons();
  for (int i = 0; i < static_cast<int>(buttons_.size()); ++i)
    if (buttons_[static_cast<std::size_t>(i)]->HandleAllocated())
      SendMessageA(buttons_[static_cast<std::size_t>(i)]->Handle(), BM_SETCHECK,
                   i == itemIndex_ ? BST_CHECKED : BST_UNCHECKED, 0);
}

void TRadioGroup::arrangeButtons() {
  if (buttons_.empty())
    return;
  int count = static_cast<int>(buttons_.size());
  int rowHeight = std::max((Height() - 20) / count, 1);
  for (int i = 0; i < count; ++i)
    buttons_[static_cast<std::size_t>(i)]->SetBounds(
        8, 16 + i * rowHeight, std::max(Width() - 16, 1), std::min(rowHeight, 17));
}

void TRadioGroup::Resize() {
  arrangeButtons();
  TGroupBox::Resize();
}

void TRadioGroup::SetItemIndex(int index) {
  if (index < -1 || index >= items_.Count())
    index = -1;
  if (index == itemIndex_)
    return;
  buttonClicked(index);
}

void TRadioGroup::buttonClicked(int index) {
  itemIndex_ = index;
  for (int i = 0; i < static_cast<int>(buttons_.size()); ++i)
    if (buttons_[static_cast<std::size_t>(i)]->HandleAllocated())
      SendMessageA(buttons_[static_cast<std::size_t>(i)]->Handle(), BM_SETCHECK,
                   i == index ? BST_CHECKED : BST_UNCHECKED, 0);
  Click();
}

} // namespace components
