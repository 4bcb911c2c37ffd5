// Controls over windows: creation of the window, the shared window
// procedure, reflection of child notifications, alignment, and the
// windowless controls that their parent paints and routes the mouse to.
#include "platform/components/win32/control.h"

#include "platform/components/win32/win-control.h"

#include "platform/components/core/exception.h"
#include "platform/components/win32/application.h"
#include "platform/components/win32/forms.h"
#include "platform/components/win32/menus.h"

#include <windowsx.h>

#include <algorithm>

namespace components {

TShiftState KeysToShiftState(WPARAM keys) {
  TShiftState shift = 0;
  if (keys & MK_SHIFT)
    shift |= ssShift;
  if (keys & MK_CONTROL)
    shift |= ssCtrl;
  if (keys & MK_LBUTTON)
    shift |= ssLeft;
  if (keys & MK_RBUTTON)
    shift |= ssRight;
  if (keys & MK_MBUTTON)
    shift |= ssMiddle;
  if (GetKeyState(VK_MENU) < 0)
    shift |= ssAlt;
  return shift;
}

TControl::TControl(TComponent *owner) : TComponent(owner) {}

TControl::~TControl() {
  if (parent_)
    parent_->removeControl(this);
}

void TControl::SetParent(TWinControl *parent) {
  if (parent == parent_)
    return;
  if (parent_)
    parent_->removeControl(this);
  parent_ = parent;
  if (parent_)
    parent_->insertControl(this);
}

void TControl::SetBounds(int left, int top, int width, int height) {
  if (left == left_ && top == top_ && width == width_ && height == height_)
    return;
  left_ = left;
  top_ = top;
  width_ = width;
  height_ = height;
  boundsChanged();
  if (parent_ && align_ != alNone)
    parent_->Realign();
}

void TControl::storeBounds(int left, int top, int width, int height) {
  left_ = left;
  top_ = top;
  width_ = width;
  height_ = height;
}

POINT TControl::ClientToScreen(POINT point) const {
  if (!parent_)
    return point;
  return parent_->ClientToScreen(POINT{point.x + left_, point.y + top_});
}

void TControl::SetAlign(TAlign align) {
  if (align == align_)
    return;
  align_ = align;
  if (parent_)
    parent_->Realign();
}

void TControl::SetVisible(bool visible) {
  if (visible == visible_)
    return;
  visible_ = visible;
  visibleChanged();
  if (parent_ && align_ != alNone)
    parent_->Realign();
}

void TControl::SetEnabled(bool enabled) {
  if (enabled == enabled_)
    return;
  enabled_ = enabled;
  enabledChanged();
}

void TControl::SetCaption(const std::string &caption) {
  if (caption == Caption())
    return;
  caption_ = caption;
  textChanged();
}

void TControl::Click() { OnClick(this); }

void TControl::Notification(TComponent *component, bool removing) {
  TComponent::Notification(component, removing);
  if (removing && component == popupMenu_)
    popupMenu_ = nullptr;
}

void TControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  OnMouseDown(this, button, shift, x, y);
}

void TControl::MouseMove(TShiftState shift, int x, int y) { OnMouseMove(this, shift, x, y); }

void TControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  OnMouseUp(this, button, shift, x, y);
}

void TControl::mouseReleased(TMouseButton button, TShiftState shift, int x, int y) {
  bool click = clicked_ && button == mbLeft && x >= 0 && y >= 0 && x < width_ && y < height_;
  if (button == mbLeft)
    clicked_ = false;
  if (click)
    Click();
  MouseUp(button, shift, x, y);
}

TForm *GetParentForm(TControl *control) {
  while (control && control->Parent())
    control = control->Parent();
  return dynamic_cast<TForm *>(control);
}

} // namespace components
