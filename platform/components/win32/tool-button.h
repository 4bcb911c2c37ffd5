// A button of a tool bar: a windowless control whose caption, state and
// drop-down menu the bar shows as one of its platform buttons.
#ifndef COMPONENTS_WIN32_TOOL_BUTTON_H
#define COMPONENTS_WIN32_TOOL_BUTTON_H

#include "platform/components/win32/controls.h"

#include <memory>
#include <string>
#include <vector>

namespace components {

class TToolBar;

class TPopupMenu;
enum TToolButtonStyle { tbsButton, tbsDropDown, tbsSeparator };

// A button of a tool bar: a platform tool-bar button, laid out by the bar.
class TToolButton : public TGraphicControl {
public:
  explicit TToolButton(TComponent *owner);
  ~TToolButton() override;
  void SetParent(TWinControl *parent) override;
  void SetStyle(TToolButtonStyle style) { style_ = style; }
  TPopupMenu *DropdownMenu() const { return dropdownMenu_; }
  void SetDropdownMenu(TPopupMenu *menu) { dropdownMenu_ = menu; }
  void Notification(TComponent *component, bool removing) override;

protected:
  void textChanged() override;
  void enabledChanged() override;

private:
  friend class TToolBar;
  TToolBar *bar() const;
  TToolButtonStyle style_ = tbsButton;
  TPopupMenu *dropdownMenu_ = nullptr;
  int command_ = 0;
};

} // namespace components

#endif
