// The edit control shared by single-line edits, memos and rich edits.
#ifndef COMPONENTS_WIN32_CUSTOM_EDIT_H
#define COMPONENTS_WIN32_CUSTOM_EDIT_H

#include "platform/components/win32/controls.h"

#include <string>
#include <vector>

namespace components {

class TCustomEdit : public TWinControl {
public:
  explicit TCustomEdit(TComponent *owner);
  void SetReadOnly(bool readOnly);
  void SetHideSelection(bool hide) { hideSelection_ = hide; }
  int GetTextLen();
  int SelStart();
  void SetSelStart(int start);
  int SelLength();
  void SetSelLength(int length);
  virtual std::string SelText();
  // Replaces the selection; the replacement can be undone.
  void SetSelText(const std::string &text);
  void Clear() { SetText(""); }
  bool CanUndo();
  void Undo();
  void ClearUndo();

  TNotifyEvent OnChange;

protected:
  void CreateParams(TCreateParams &params) override;
  void command(WORD code, WORD id) override;
  virtual void Change() { OnChange(this); }

private:
  bool readOnly_ = false;
  bool hideSelection_ = true;
};

} // namespace components

#endif
