#include "passive-lib/core/order-list.h"

namespace passive {

std::vector<OrderStep> walkOrder(const std::string &order) {
  std::vector<OrderStep> steps;
  std::size_t at = 0;
  while (at < order.size()) {
    const char c = order[at];
    if (c == ' ') {
      steps.push_back({OrderStep::LineFeed, 0});
      ++at;
    } else if (c >= '0' && c <= '9') {
      long index = 0;
      while (at < order.size() && order[at] >= '0' && order[at] <= '9') {
        if (index < OrderIndexTooLarge)
          index = index * 10 + (order[at] - '0');
        ++at;
      }
      steps.push_back({OrderStep::Item, index < OrderIndexTooLarge ? index : OrderIndexTooLarge});
    } else {
      break;
    }
  }
  return steps;
}

std::vector<long> orderIndices(const std::string &order) {
  std::vector<long> indices;
  for (const OrderStep &step : walkOrder(order)) {
    if (step.kind == OrderStep::Item)
      indices.push_back(step.index);
  }
  return indices;
}

std::string stringFormula(const std::string &text) {
  std::string formula = "\"";
  for (char c : text) {
    if (c == '"')
      formula += '"';
    formula += c;
  }
  return formula + "\"";
}

bool stringOfFormula(const std::string &formula, std::string &text) {
  if (formula.size() < 2 || formula.front() != '"' || formula.back() != '"')
    return false;
  text.clear();
  for (std::size_t at = 1; at + 1 < formula.size(); ++at) {
    if (formula[at] == '"') {
      if (at + 2 >= formula.size() || formula[at + 1] != '"')
        return false;
      ++at;
    }
    text += formula[at];
  }
  return true;
}

} // namespace passive
