#include "passive-lib/win32/control-sheet-owner.h"

#include "passive-lib/win32/component-control.h"

#include "platform/base/win32/com-error.h"

namespace passive {

base::ComPtr<IXMLElement> ControlSheetOwner::rootElement() {
  base::ComPtr<IXMLElement> root;
  base::check(control_.get_RootData1(root.receive()), IID_IQorOcx2);
  return root;
}

void ControlSheetOwner::putDirtyFlag(bool dirty) {
  base::check(control_.put_DirtyFlag(dirty ? VARIANT_TRUE : VARIANT_FALSE), IID_IQorOcx2);
}

std::string ControlSheetOwner::partId() {
  Bstr id;
  base::check(control_.get_PartID(id.receive()), IID_IQorOcx);
  return id.toAnsi();
}

std::string ControlSheetOwner::shownPartId() {
  const std::string cached = control_.cachedPartId();
  return cached.empty() ? partId() : cached;
}

std::string ControlSheetOwner::compGuid() {
  Bstr guid;
  base::check(control_.get_CompGUID(guid.receive()), IID_IQorOcx2);
  return guid.toAnsi();
}

base::ComPtr<IDrawShape> ControlSheetOwner::shape() {
  base::ComPtr<IDrawShape> bound;
  base::check(control_.get_CompShape(bound.receive()), IID_IQorOcx);
  return bound;
}

// The control's label and layout operations keep their failures inside
// (S_FALSE): the sheet goes on as the control's own callers do.
void ControlSheetOwner::UpdateBodyText() { base::check(control_.UpdateBodyText(), IID_IQorOcx); }

void ControlSheetOwner::LayoutShape() { base::check(control_.LayoutShape(), IID_IQorOcx); }

void ControlSheetOwner::keepAppliedState() { control_.renewSnapshot(); }

} // namespace passive
