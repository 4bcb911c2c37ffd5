// A drop-down list whose tool tip describes the entry under selection: the
// tool is the selection + 1 over the whole control, and its text is asked
// from the parent (TTN_NEEDTEXT with the entry index in the parameter).
#ifndef PASSIVE_LIB_UIKIT_COMBO_BOX_QOR_H
#define PASSIVE_LIB_UIKIT_COMBO_BOX_QOR_H

#include "platform/dialogs/win32/combo-box.h"

namespace uikit {

class CComboBoxQor : public dialogs::ComboBox {
public:
  INT_PTR OnToolHitTest(POINT point, TOOLINFOA *info) const override;

protected:
  bool onMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT &result) override;
};

} // namespace uikit

#endif
