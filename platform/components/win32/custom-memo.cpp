// The multi-line edit shared by memos and rich edits.
#include "platform/components/win32/custom-memo.h"

#include "platform/components/core/exception.h"
#include "platform/components/core/string-list.h"
#include "platform/components/win32/application.h"
#include "platform/components/win32/forms.h"
#include "platform/base/win32/unique-handle.h"

#include <algorithm>

namespace components {

TCustomMemo::TCustomMemo(TComponent *owner) : TCustomEdit(owner), lines_(*this) {
  SetBounds(0, 0, 185, 89);
}

void TCustomMemo::SetWordWrap(bool wrap) {
  wordWrap_ = wrap;
  wordWrapChanged();
}

void TCustomMemo::CreateParams(TCreateParams &params) {
  TCustomEdit::CreateParams(params);
  params.style &= ~static_cast<DWORD>(ES_AUTOHSCROLL);
  params.style |= ES_MULTILINE | ES_AUTOVSCROLL;
  if (!wordWrap_ || scrollBars_ == ssHorizontal || scrollBars_ == ssBoth)
    params.style |= ES_AUTOHSCROLL;
  if (wantReturns_)
    params.style |= ES_WANTRETURN;
  if (scrollBars_ == ssVertical || scrollBars_ == ssBoth)
    params.style |= WS_VSCROLL;
  if (scrollBars_ == ssHorizontal || scrollBars_ == ssBoth)
    params.style |= WS_HSCROLL;
}

} // namespace components
