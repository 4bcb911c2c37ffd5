// The multi-line edit shared by memos and rich edits.
#ifndef COMPONENTS_WIN32_CUSTOM_MEMO_H
#define COMPONENTS_WIN32_CUSTOM_MEMO_H

#include "platform/components/win32/controls.h"
#include "platform/components/win32/custom-edit.h"
#include "platform/components/win32/memo-lines.h"

#include <string>
#include <vector>

namespace components {

enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };

class TCustomMemo : public TCustomEdit {
public:
  explicit TCustomMemo(TComponent *owner);
  TMemoLines &Lines() { return lines_; }
  void SetWantReturns(bool want) { wantReturns_ = want; }
  void SetWordWrap(bool wrap);
  void SetScrollBars(TScrollStyle bars) { scrollBars_ = bars; }

protected:
  void CreateParams(TCreateParams &params) override;
  // A memo's wrapping is a style, fixed when its window is made; a control
  // that can change it on a live window does so here.
  virtual void wordWrapChanged() {}
  bool wordWrap() const { return wordWrap_; }

private:
  TMemoLines lines_;
  bool wantReturns_ = true;
  bool wordWrap_ = true;
  TScrollStyle scrollBars_ = ssNone;
};

} // namespace components

#endif
