// The tournament tree of least values.
#include "circuit-sim/core/least-value-tree.h"

#include <algorithm>

namespace qorsim {

void LeastValueTree::reset(int count) {
  count_ = count;
  leaves_ = 1;
  while (leaves_ < count)
    leaves_ *= 2;
  tree_.assign(2 * static_cast<std::size_t>(leaves_), None);
}

void LeastValueTree::assign(const std::vector<int> &values) {
  reset(static_cast<int>(values.size()));
  std::copy(values.begin(), values.end(), tree_.begin() + leaves_);
  for (int node = leaves_ - 1; node >= 1; --node)
    tree_[node] = std::min(tree_[2 * node], tree_[2 * node + 1]);
}

int LeastValueTree::leastFrom(int first) const {
  if (first >= count_)
    return None;
  // Walks up from the first leaf; a left child on the way adds its right
  // sibling's whole subtree, which lies entirely behind the first leaf.
  int node = leaves_ + std::max(first, 0);
  int least = tree_[node];
  while (node > 1) {
    if (node % 2 == 0)
      least = std::min(least, tree_[node + 1]);
    node /= 2;
  }
  return least;
}

int LeastValueTree::firstAtMost(int first, int bound) const {
  if (first >= count_)
    return -1;
  int node = leaves_ + std::max(first, 0);
  if (tree_[node] <= bound)
    return node - leaves_;
  // Up until a right sibling's subtree holds a value within the bound...
  for (;;) {
    if (node == 1)
      return -1;
    if (node % 2 == 0 && tree_[node + 1] <= bound) {
      node = node + 1;
      break;
    }
    node /= 2;
  }
  // ...then down to its leftmost such leaf.
  while (node < leaves_)
    node = tree_[2 * node] <= bound ? 2 * node : 2 * node + 1;
  return node - leaves_ < count_ ? node - leaves_ : -1;
}

} // namespace qorsim
