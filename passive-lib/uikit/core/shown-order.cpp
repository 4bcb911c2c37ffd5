#include "passive-lib/uikit/core/shown-order.h"

#include <algorithm>
#include <cstdlib>

namespace passive {

std::vector<int> parseShownOrder(const std::string &order, int itemCount) {
  std::vector<int> shown;
  std::size_t at = 0;
  while (at < order.size()) {
    while (at < order.size() && order[at] == ' ')
      ++at;
    if (at == order.size())
      break;
    std::size_t end = at;
    while (end < order.size() && order[end] >= '0' && order[end] <= '9' && end - at < 9)
      ++end;
    if (end == at || (end < order.size() && order[end] != ' '))
      break;
    const int index = std::atoi(order.substr(at, end - at).c_str());
    if (index < itemCount)
      shown.push_back(index);
    at = end;
  }
  return shown;
}

std::string shownOrderText(const std::vector<int> &shown) {
  std::string text;
  for (int index : shown) {
    if (!text.empty())
      text += ' ';
    text += std::to_string(index);
  }
  return text;
}

void setShown(std::vector<int> &shown, int row, bool checked) {
  if (checked) {
    shown.push_back(row);
    return;
  }
  const auto first = std::find(shown.begin(), shown.end(), row);
  if (first != shown.end())
    shown.erase(first);
}

std::optional<int> moveTarget(int row, int rows, int delta) {
  if (row < 0 || row >= rows)
    return std::nullopt;
  if (delta > 0 && row >= 1)
    return row - 1;
  if (delta < 0 && row < rows - 1)
    return row + 1;
  return std::nullopt;
}

} // namespace passive
