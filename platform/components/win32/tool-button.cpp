#include "platform/components/win32/tool-button.h"

#include "platform/components/win32/tool-bar.h"

#include "platform/components/win32/menus.h"

#include <commctrl.h>

#include <algorithm>

namespace components {

TToolButton::TToolButton(TComponent *owner) : TGraphicControl(owner) {}

TToolButton::~TToolButton() {
  if (TToolBar *toolBar = bar())
    toolBar->removeButton(this);
}

TToolBar *TToolButton::bar() const { return dynamic_cast<TToolBar *>(Parent()); }

void TToolButton::SetParent(TWinControl *parent) {
  if (TToolBar *old = bar())
    old->removeButton(this);
  TGraphicControl::SetParent(parent);
  if (TToolBar *toolBar = bar())
    toolBar->addButton(this);
}

void TToolButton::Notification(TComponent *component, bool removing) {
  TGraphicControl::Notification(component, removing);
  if (removing && component == dropdownMenu_)
    dropdownMenu_ = nullptr;
}

void TToolButton::textChanged() {
  if (TToolBar *toolBar = bar())
    toolBar->updateButton(this);
}

void TToolButton::enabledChanged() {
  if (TToolBar *toolBar = bar())
    toolBar->updateButton(this);
}

} // namespace components
