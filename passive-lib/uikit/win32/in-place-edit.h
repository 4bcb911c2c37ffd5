// The edit box over one cell of a CListCtrlEx. Enter, or Escape, gives the
// focus back to the list; Escape also sets the escaped flag to the value
// it was made with (escapeCancels). Losing the focus reports the cell's
// new text (none when escaped) to the list's parent as LVN_ENDLABELEDITA
// from the list; a non-zero answer keeps the editor open with the focus,
// zero closes it. The object deletes itself with its window.
#ifndef PASSIVE_LIB_UIKIT_IN_PLACE_EDIT_H
#define PASSIVE_LIB_UIKIT_IN_PLACE_EDIT_H

#include "platform/dialogs/win32/edit-box.h"

#include <string>

namespace uikit {

class CInPlaceEdit : public dialogs::EditBox {
public:
  CInPlaceEdit(int row, int column, std::string initialText, bool escapeCancels)
      : row_(row), column_(column), initial_(std::move(initialText)), escapeValue_(escapeCancels) {}

  // Makes the window over rect of list; false (and the object deleted by
  // its caller) when it cannot.
  bool create(DWORD style, const RECT &rect, HWND list, UINT id);

  int row() const { return row_; }
  int column() const { return column_; }
  bool escaped() const { return escaped_; }

  bool preTranslate(MSG &message) override;

protected:
  bool onMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT &result) override;
  void onFinalMessage() override { delete this; }

private:
  void widenToText();
  void endEdit();

  int row_, column_;
  std::string initial_;
  bool escaped_ = false;
  bool escapeValue_;
};

} // namespace uikit

#endif
