// The drop-down list over one cell of a CInPlaceEdit's kind of list: made
// and filled by its user; a choice, Enter or Escape gives the focus back
// to the list, and losing the focus reports the chosen text to the list's
// parent as LVN_ENDLABELEDITA, with the same answer rule as CInPlaceEdit.
// The object deletes itself with its window.
#ifndef PASSIVE_LIB_UIKIT_IN_PLACE_COMBO_BOX_H
#define PASSIVE_LIB_UIKIT_IN_PLACE_COMBO_BOX_H

#include "platform/dialogs/win32/combo-box.h"

namespace uikit {

class CInPlaceComboBox : public dialogs::ComboBox {
public:
  CInPlaceComboBox(int row, int column) : row_(row), column_(column) {}

  // Makes the window over rect of list (height: with the drop-down part).
  bool create(DWORD style, const RECT &rect, HWND list, UINT id);

  int row() const { return row_; }
  int column() const { return column_; }

  bool preTranslate(MSG &message) override;

protected:
  bool onMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT &result) override;
  bool onReflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT &result) override;
  void onFinalMessage() override { delete this; }

private:
  void endChoice();

  int row_, column_;
};

} // namespace uikit

#endif
