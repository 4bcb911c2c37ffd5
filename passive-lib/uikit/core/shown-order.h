// The ORDER attribute of PARAMS and RESULT: the indices of the items shown
// on the drawing, in display order, as decimal numbers separated by one
// blank ("0 1"). The pages keep it as a list, change it by check boxes and
// moves, and write it back after every change.
#ifndef PASSIVE_LIB_UIKIT_CORE_SHOWN_ORDER_H
#define PASSIVE_LIB_UIKIT_CORE_SHOWN_ORDER_H

#include <optional>
#include <string>
#include <vector>

namespace passive {

// The indices of an ORDER text that name one of itemCount items, in order;
// reading stops at the first word that is not a decimal number, and
// indices outside the items are left out, so a page never reaches past its
// item list.
std::vector<int> parseShownOrder(const std::string &order, int itemCount);

// "2 0"; empty for no index.
std::string shownOrderText(const std::vector<int> &shown);

// A check box change of a row: checked appends the row, unchecked removes
// its first occurrence.
void setShown(std::vector<int> &shown, int row, bool checked);

// The row a move of the selected row goes to: a positive spin delta moves
// it one place earlier, a negative one one place later; nothing at either
// end or without a valid selection.
std::optional<int> moveTarget(int row, int rows, int delta);

} // namespace passive

#endif
