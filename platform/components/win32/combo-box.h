// A combo box, drop-down or drop-down list.
#ifndef COMPONENTS_WIN32_COMBO_BOX_H
#define COMPONENTS_WIN32_COMBO_BOX_H

#include "platform/components/win32/controls.h"
#include "platform/components/win32/control-items.h"

#include <string>
#include <vector>

namespace components {

enum TComboBoxStyle { csDropDown, csDropDownList };

class TComboBox : public TWinControl {
public:
  explicit TComboBox(TComponent *owner);
  TControlItems &Items() { return items_; }
  int ItemIndex();
  void SetItemIndex(int index);
  void SetStyle(TComboBoxStyle style) { style_ = style; }
  // Replaces every item at once, filling the window without redrawing: the
  // way to load a list of thousands.
  void AssignItems(const std::vector<std::string> &texts);
  TNotifyEvent OnChange;
  TNotifyEvent OnDropDown;

protected:
  void CreateParams(TCreateParams &params) override;
  void handleCreated() override;
  void command(WORD code, WORD id) override;

private:
  TControlItems items_;
  TComboBoxStyle style_ = csDropDown;
  int itemIndex_ = -1;
};

} // namespace components

#endif
