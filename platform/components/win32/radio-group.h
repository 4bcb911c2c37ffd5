// A group box of radio buttons made from its items.
#ifndef COMPONENTS_WIN32_RADIO_GROUP_H
#define COMPONENTS_WIN32_RADIO_GROUP_H

#include "platform/components/win32/controls.h"
#include "platform/components/win32/group-box.h"
#include "platform/components/win32/control-items.h"

#include <string>
#include <vector>

namespace components {

class TRadioGroup : public TGroupBox {
public:
  explicit TRadioGroup(TComponent *owner);
  TControlItems &Items() { return items_; }
  int ItemIndex() const { return itemIndex_; }
  // Checks the item's button and fires OnClick when the index changes.
  void SetItemIndex(int index);

protected:
  void handleCreated() override;
  void Resize() override;

private:
  friend class TGroupButton;
  void rebuildButtons();
  void arrangeButtons();
  void buttonClicked(int index);

  TControlItems items_;
  std::vector<TWinControl *> buttons_;
  int itemIndex_ = -1;
};

} // namespace components

#endif
