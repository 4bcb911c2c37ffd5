// The component control as the property sheets and the ground's dialog see
// it: each call goes to the control's own interface. Apply's "keep the
// applied state" renews the control's undo copy, so that ending the sheet
// with Close (or the close box) after an Apply keeps what was applied in
// document, device and drawing alike.
#ifndef PASSIVE_LIB_CONTROL_SHEET_OWNER_H
#define PASSIVE_LIB_CONTROL_SHEET_OWNER_H

#include "passive-lib/uikit/win32/sheet-owner.h"

namespace passive {

class ComponentControl;

class ControlSheetOwner final : public uikit::SheetOwner {
public:
  explicit ControlSheetOwner(ComponentControl &control) : control_(control) {}

  base::ComPtr<IXMLElement> rootElement() override;
  void putDirtyFlag(bool dirty) override;
  std::string partId() override;
  std::string shownPartId() override;
  std::string compGuid() override;
  base::ComPtr<IDrawShape> shape() override;
  void UpdateBodyText() override;
  void LayoutShape() override;
  void keepAppliedState() override;

private:
  ComponentControl &control_;
};

} // namespace passive

#endif
