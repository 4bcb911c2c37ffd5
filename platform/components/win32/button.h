// A push button.
#ifndef COMPONENTS_WIN32_BUTTON_H
#define COMPONENTS_WIN32_BUTTON_H

#include "platform/components/win32/controls.h"

#include <string>
#include <vector>

namespace components {

class TButton : public TWinControl {
public:
  explicit TButton(TComponent *owner);
  void SetModalResult(int result) { modalResult_ = result; }
  bool Default() const { return default_; }
  void SetDefault(bool isDefault);
  bool Cancel() const { return cancel_; }
  void SetCancel(bool cancel) { cancel_ = cancel; }
  // Sets the form's modal result (when it has one), then fires OnClick.
  void Click() override;

protected:
  void CreateParams(TCreateParams &params) override;
  void command(WORD code, WORD id) override;

private:
  int modalResult_ = 0;
  bool default_ = false;
  bool cancel_ = false;
};

} // namespace components

#endif
