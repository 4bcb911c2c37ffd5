// A push button of a standard kind.
#ifndef COMPONENTS_WIN32_BIT_BTN_H
#define COMPONENTS_WIN32_BIT_BTN_H

#include "platform/components/win32/controls.h"
#include "platform/components/win32/button.h"

#include <string>
#include <vector>

namespace components {

enum TBitBtnKind {
  bkCustom,
  bkOK,
  bkCancel,
  bkHelp,
  bkYes,
  bkNo,
  bkClose,
  bkAbort,
  bkRetry,
  bkIgnore,
  bkAll
};

// A button of a standard kind: caption, modal result, default and cancel
// roles follow the kind.
class TBitBtn : public TButton {
public:
  explicit TBitBtn(TComponent *owner) : TButton(owner) {}
  TBitBtnKind Kind() const { return kind_; }
  void SetKind(TBitBtnKind kind);

private:
  TBitBtnKind kind_ = bkCustom;
};

} // namespace components

#endif
