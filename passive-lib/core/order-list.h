// The ORDER attribute of PARAMS and RESULT: decimal item indices separated
// by spaces. Labels are built by walking it: each number shows its item,
// each space adds a line feed. The walk stops at any character that is
// neither a digit nor a space, so no text can keep it going.
#ifndef PASSIVE_LIB_CORE_ORDER_LIST_H
#define PASSIVE_LIB_CORE_ORDER_LIST_H

#include <string>
#include <vector>

namespace passive {

// An index beyond any section's items: what a longer run of digits reads as.
const long OrderIndexTooLarge = 1000000;

struct OrderStep {
  enum Kind { Item, LineFeed } kind;
  long index; // for Item
};

std::vector<OrderStep> walkOrder(const std::string &order);

// The item indices alone, in order (what the property pages receive).
std::vector<long> orderIndices(const std::string &order);

// The text of a host string formula showing text: in double quotes, each
// quote inside doubled, so that no label can end the formula early.
std::string stringFormula(const std::string &text);

// The text a string formula shows; false when formula is not one.
bool stringOfFormula(const std::string &formula, std::string &text);

} // namespace passive

#endif
