// The rich edit control, loaded from its library on first use.
#ifndef COMPONENTS_WIN32_CUSTOM_RICH_EDIT_H
#define COMPONENTS_WIN32_CUSTOM_RICH_EDIT_H

#include "platform/components/win32/controls.h"
#include "platform/components/win32/custom-memo.h"

#include <string>
#include <vector>

namespace components {

class TCustomRichEdit : public TCustomMemo {
public:
  explicit TCustomRichEdit(TComponent *owner);
  // Set it before the control gets its parent: once its window has text
  // or a font, a rich edit keeps the mode it has.
  void SetPlainText(bool plain);
  // The selected text as the control holds it: a rich edit counts a line
  // break as one character, so the text cannot be cut from Text().
  std::string SelText() override;
  TNotifyEvent OnSelectionChange;

protected:
  void CreateParams(TCreateParams &params) override;
  void handleCreated() override;
  void wordWrapChanged() override;
  bool notify(NMHDR &header, LRESULT &result) override;

private:
  bool plainText_ = false;
};

} // namespace components

#endif
