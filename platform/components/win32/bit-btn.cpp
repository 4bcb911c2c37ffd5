// A push button of a standard kind.
#include "platform/components/win32/bit-btn.h"

#include "platform/components/core/exception.h"
#include "platform/components/core/string-list.h"
#include "platform/components/win32/application.h"
#include "platform/components/win32/forms.h"
#include "platform/base/win32/unique-handle.h"

#include <algorithm>

namespace components {

void TBitBtn::SetKind(TBitBtnKind kind) {
  struct KindInfo {
    const char *caption;
    int result;
  };
  static const KindInfo kinds[] = {{"", mrNone},          {"OK", mrOk},       {"Cancel", mrCancel},
                                   {"&Help", mrNone},     {"&Yes", mrYes},    {"&No", mrNo},
                                   {"&Close", mrNone},    {"Abort", mrAbort}, {"&Retry", mrRetry},
                                   {"&Ignore", mrIgnore}, {"&All", mrAll}};
  kind_ = kind;
  if (kind == bkCustom)
    return;
  SetCaption(kinds[kind].caption);
  SetModalResult(kinds[kind].result);
  SetDefault(kind == bkOK || kind == bkYes);
  SetCancel(kind == bkCancel || kind == bkNo);
}

} // namespace components
