// A label: static text that hands its accelerator to its focus control.
#ifndef COMPONENTS_WIN32_LABEL_H
#define COMPONENTS_WIN32_LABEL_H

#include "platform/components/win32/controls.h"

#include <string>
#include <vector>

namespace components {

class TLabel : public TWinControl {
public:
  explicit TLabel(TComponent *owner);
  TWinControl *FocusControl() const { return focusControl_; }
  void SetFocusControl(TWinControl *control) { focusControl_ = control; }
  void Notification(TComponent *component, bool removing) override;
  // The caption's accelerator (the letter after "&") focuses FocusControl.
  bool DialogChar(char key) override;

protected:
  void CreateParams(TCreateParams &params) override;
  // A label is painted beneath every windowed control it overlaps.
  bool staysBeneathSiblings() const override { return true; }

private:
  TWinControl *focusControl_ = nullptr;
};

} // namespace components

#endif
