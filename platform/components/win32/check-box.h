// A check box.
#ifndef COMPONENTS_WIN32_CHECK_BOX_H
#define COMPONENTS_WIN32_CHECK_BOX_H

#include "platform/components/win32/controls.h"

#include <string>
#include <vector>

namespace components {

class TCheckBox : public TWinControl {
public:
  explicit TCheckBox(TComponent *owner);
  bool Checked() const { return checked_; }
  // Fires OnClick when the state changes.
  void SetChecked(bool checked);

protected:
  void CreateParams(TCreateParams &params) override;
  void handleCreated() override;
  void command(WORD code, WORD id) override;

private:
  bool checked_ = false;
};

} // namespace components

#endif
