// A tournament tree over a row of integers: the least value of a range and
// the first position at or after a given one whose value is at most a
// bound, each in logarithmic time, with changes of single values in
// logarithmic time too. The matrix keeps its Markowitz products here, so
// that a pivot search need not scan every remaining index at every step.
#ifndef CIRCUIT_SIM_LEAST_VALUE_TREE_H
#define CIRCUIT_SIM_LEAST_VALUE_TREE_H

#include <climits>
#include <vector>

namespace qorsim {

class LeastValueTree {
public:
  static constexpr int None = INT_MAX; // the value of a position that holds nothing

  // count positions 0..count-1, every one holding None.
  void reset(int count);
  int count() const { return count_; }
  // Sets one position's value.
  void set(int position, int value) {
    int node = leaves_ + position;
    tree_[node] = value;
    for (node /= 2; node >= 1; node /= 2) {
      const int least =
          tree_[2 * node] < tree_[2 * node + 1] ? tree_[2 * node] : tree_[2 * node + 1];
      if (tree_[node] == least)
        break;
      tree_[node] = least;
    }
  }
  // Sets every position from values (values.size() == count) at once.
  void assign(const std::vector<int> &values);
  int value(int position) const { return tree_[leaves_ + position]; }
  // The least value of positions first..count-1 (None when first >= count).
  int leastFrom(int first) const;
  // The lowest position >= first whose value is <= bound (bound < None);
  // -1 when there is none.
  int firstAtMost(int first, int bound) const;

private:
  int count_ = 0;
  int leaves_ = 1;        // a power of two >= count_: leaf i sits at leaves_ + i
  std::vector<int> tree_; // node k holds the least of nodes 2k and 2k+1
};

} // namespace qorsim

#endif
