// The sparse matrix against a plain model of its ordering: the same pivot
// rules, counts and tie breaks, each written as a scan over dense arrays
// at every step. Random systems are factored again and again through the
// same handles, as a Newton loop does; after every factorisation the
// pivot order, the fill-ins, every factor and the solution must agree bit
// for bit, and so must every failure and the step it names; the model's
// solutions of well-conditioned systems agree with a dense solve.
#include "circuit-sim/core/sparse-matrix.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>
#include <random>
#include <vector>

namespace {

using qorsim::CSparse;
using qorsim::SparseElement;

bool sameBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

double mag(double v) { return std::fabs(v); }

// How often each pivot strategy and each failure occurred, so that the
// test can show it exercised them all.
struct Coverage {
  int singletons = 0, quick = 0, diagonal = 0, whole = 0, singular = 0, noPivot = 0;
};

class PlainModel {
public:
  explicit PlainModel(int size)
      : size_(size), room_(std::max(size, 6)), present_(cells(), false), value_(cells(), 0.0),
        extToIntRow_(room_ + 1, -1), extToIntCol_(room_ + 1, -1), intToExtRow_(room_ + 1),
        intToExtCol_(room_ + 1), rowCount_(room_ + 2, 0), colCount_(room_ + 2, 0),
        upperOrder_(room_ + 1) {
    for (int i = 0; i <= room_; ++i)
      intToExtRow_[i] = intToExtCol_[i] = i;
  }

  // The structural element at external (row, col), both at least 1.
  void touch(int row, int col) {
    const int r = translate(extToIntRow_, row);
    const int c = translate(extToIntCol_, col);
    present(r, c) = true;
  }
  double &at(int row, int col) { return value(extToIntRow_[row], extToIntCol_[col]); }
  void clear() { std::fill(value_.begin(), value_.end(), 0.0); }

  // 0 on success, else the CSparse::Error value.
  int orderAndFactor(const std::vector<double> &rhs, double rel, double abs, Coverage &seen) {
    if (rel > 0.0 && rel <= 1.0)
      rel_ = rel;
    if (abs >= 0.0)
      abs_ = abs;
    n_ = std::max(size_, translated_);
    countMarkowitz(rhs);
    for (int step = 1; step <= n_; ++step) {
      int row = 0, col = 0;
      const int failure = findPivot(step, row, col, seen);
      if (failure)
        return failure;
      if (!row) {
        fail(step);
        ++seen.singular;
        return CSparse::ErrorSingular;
      }
      exchange(row, col, step);
      upperOrder_[step].clear();
      for (int c = step + 1; c <= n_; ++c) {
        if (present(step, c))
          upperOrder_[step].push_back(intToExtCol_[c]);
      }
      if (value(step, step) == 0.0) {
        fail(step);
        return CSparse::ErrorSingular;
      }
      eliminate(step);
      updateMarkowitz(step);
    }
    return 0;
  }

  std::vector<double> solve(const std::vector<double> &rhs) {
    std::vector<double> x(n_ + 1, 0.0);
    for (int i = 1; i <= n_; ++i) {
      const std::size_t external = intToExtRow_[i];
      x[i] = external < rhs.size() ? rhs[external] : 0.0;
    }
    for (int i = 1; i <= n_; ++i) {
      if (x[i] == 0.0)
        continue;
      x[i] /= value(i, i);
      for (int r = i + 1; r <= n_; ++r) {
        if (present(r, i))
          x[r] -= x[i] * value(r, i);
      }
    }
    // Each row subtracts in the order its columns had when it was pivoted.
    for (int i = n_; i >= 1; --i) {
      double sum = x[i];
      for (int external : upperOrder_[i]) {
        const int c = extToIntCol_[external];
        sum -= x[c] * value(i, c);
      }
      x[i] = sum;
    }
    int largest = 0;
    for (int i = 1; i <= n_; ++i)
      largest = std::max(largest, intToExtCol_[i]);
    std::vector<double> solution(largest + 1, 0.0);
    for (int i = 1; i <= n_; ++i)
      solution[intToExtCol_[i]] = x[i];
    return solution;
  }

  int steps() const { return n_; }
  int externalRowAt(int i) const { return intToExtRow_[i]; }
  int externalColAt(int i) const { return intToExtCol_[i]; }
  bool has(int r, int c) const { return present_[cell(r, c)]; }
  double factor(int r, int c) const { return value_[cell(r, c)]; }
  int fillIns() const { return fillIns_; }
  int singularRow() const { return singularRow_; }
  int singularCol() const { return singularCol_; }

private:
  std::size_t cells() const { return static_cast<std::size_t>(room_ + 2) * (room_ + 2); }
  std::size_t cell(int r, int c) const { return static_cast<std::size_t>(r) * (room_ + 2) + c; }
  std::vector<bool>::reference present(int r, int c) { return present_[cell(r, c)]; }
  double &value(int r, int c) { return value_[cell(r, c)]; }

  int translate(std::vector<int> &map, int external) {
    if (map[external] != -1)
      return map[external];
    const int internal = ++translated_;
    extToIntRow_[external] = extToIntCol_[external] = internal;
    intToExtRow_[internal] = intToExtCol_[internal] = external;
    return internal;
  }

  void fail(int step) {
    singularRow_ = intToExtRow_[step];
    singularCol_ = intToExtCol_[step];
  }

  // Past the last index the product is 0, which ends the singleton scan.
  int product(int i) const { return i > n_ ? 0 : rowCount_[i] * colCount_[i]; }

  void countMarkowitz(const std::vector<double> &rhs) {
    singletons_ = 0;
    for (int i = 1; i <= n_; ++i) {
      int inRow = -1, inCol = -1;
      for (int j = 1; j <= n_; ++j) {
        inRow += has(i, j);
        inCol += has(j, i);
      }
      const std::size_t external = intToExtRow_[i];
      if (external < rhs.size() && rhs[external] != 0.0)
        ++inRow;
      rowCount_[i] = inRow;
      colCount_[i] = inCol;
    }
    for (int i = 1; i <= n_; ++i)
      singletons_ += product(i) == 0;
  }

  double largestOther(int r, int c, int step) {
    double largest = 0.0;
    for (int i = step; i <= n_; ++i) {
      if (i != r && present(i, c))
        largest = std::max(largest, mag(value(i, c)));
    }
    return largest;
  }

  bool passes(int r, int c, int step) {
    const double m = mag(value(r, c));
    return m > abs_ && m > rel_ * largestOther(r, c, step);
  }

  int firstInColumn(int c, int from) {
    for (int r = from; r <= n_; ++r) {
      if (present(r, c))
        return r;
    }
    return 0;
  }
  int firstInRow(int r, int from) {
    for (int c = from; c <= n_; ++c) {
      if (present(r, c))
        return c;
    }
    return 0;
  }

  int findPivot(int step, int &row, int &col, Coverage &seen) {
    if (singletons_ > 0 && searchSingletons(step, row, col)) {
      ++seen.singletons;
      return 0;
    }
    if (quickDiagonal(step, row)) {
      col = row;
      ++seen.quick;
      return 0;
    }
    if (searchDiagonal(step, row)) {
      col = row;
      ++seen.diagonal;
      return 0;
    }
    if (!searchWholeMatrix(step, row, col)) {
      ++seen.noPivot;
      return CSparse::ErrorNoPivot;
    }
    if (row)
      ++seen.whole;
    return 0;
  }

  bool searchSingletons(int step, int &row, int &col) {
    int tries = singletons_;
    --singletons_;
    int i = step - 1;
    while (tries-- > 0) {
      ++i;
      while (product(i) != 0)
        ++i;
      if (i > n_)
        break;
      if (present(i, i)) {
        if (passes(i, i, step)) {
          row = col = i;
          return true;
        }
        continue;
      }
      bool tryRow = true;
      if (colCount_[i] == 0) {
        const int r = firstInColumn(i, step);
        if (!r)
          break;
        if (passes(r, i, step)) {
          row = r;
          col = i;
          return true;
        }
        tryRow = rowCount_[i] == 0;
      }
      if (!tryRow)
        continue;
      const int c = firstInRow(i, step);
      if (!c)
        break;
      if (passes(i, c, step)) {
        row = i;
        col = c;
        return true;
      }
    }
    ++singletons_;
    return false;
  }

  // The diagonal's neighbours after it in its row and column; when it has
  // neither, the first ones of the remaining row and column.
  bool symmetricOffDiagonal(int i, int step) {
    int inRow = firstInRow(i, i + 1), inCol = firstInColumn(i, i + 1);
    if (!inRow && !inCol) {
      inRow = firstInRow(i, step);
      inCol = firstInColumn(i, step);
      inRow = inRow == i ? 0 : inRow;
      inCol = inCol == i ? 0 : inCol;
    }
    if (!inRow || !inCol || inRow != inCol)
      return false;
    return mag(value(i, i)) >= std::max(mag(value(i, inRow)), mag(value(inCol, i)));
  }

  bool quickDiagonal(int step, int &pivot) {
    int smallest = INT_MAX, candidate = 0;
    for (int i = step; i <= n_; ++i) {
      if (product(i) >= smallest || !present(i, i) || !(mag(value(i, i)) > abs_))
        continue;
      if (product(i) == 1 && symmetricOffDiagonal(i, step)) {
        pivot = i;
        return true;
      }
      candidate = i;
      smallest = product(i);
    }
    if (!candidate ||
        !(mag(value(candidate, candidate)) > rel_ * largestOther(candidate, candidate, step)))
      return false;
    pivot = candidate;
    return true;
  }

  // The best candidate so far: least product, then least ratio of the
  // column's largest other magnitude to its own; enough ties end a search.
  struct Ranking {
    int smallest = INT_MAX, ties = 0, row = 0, col = 0;
    double bestRatio = 0.0;
    // True when the search ends here.
    bool offer(int r, int c, int product, double ratio) {
      if (product < smallest) {
        row = r;
        col = c;
        smallest = product;
        bestRatio = ratio;
        ties = 0;
        return false;
      }
      ++ties;
      if (ratio < bestRatio) {
        row = r;
        col = c;
        bestRatio = ratio;
      }
      return ties >= 5 * smallest;
    }
  };

  bool searchDiagonal(int step, int &pivot) {
    Ranking best;
    for (int i = step; i <= n_; ++i) {
      if (product(i) > best.smallest || !present(i, i) || !passes(i, i, step))
        continue;
      if (best.offer(i, i, product(i), largestOther(i, i, step) / mag(value(i, i))))
        break;
    }
    pivot = best.row;
    return pivot != 0;
  }

  // False when nothing passes though something is not zero.
  bool searchWholeMatrix(int step, int &row, int &col) {
    Ranking best;
    double largestSeen = 0.0;
    bool ended = false;
    for (int j = step; j <= n_ && !ended; ++j) {
      double largestInCol = 0.0;
      for (int i = step; i <= n_; ++i) {
        if (present(i, j))
          largestInCol = std::max(largestInCol, mag(value(i, j)));
      }
      for (int i = step; i <= n_ && !ended && largestInCol != 0.0; ++i) {
        if (!present(i, j))
          continue;
        const double m = mag(value(i, j));
        largestSeen = std::max(largestSeen, m);
        const int product = rowCount_[i] * colCount_[j];
        if (product > best.smallest || !(m > rel_ * largestInCol) || !(m > abs_))
          continue;
        ended = best.offer(i, j, product, largestInCol / m);
      }
    }
    row = best.row;
    col = best.col;
    return ended || row != 0 || largestSeen == 0.0;
  }

  // Exchanges rows a and b, or columns a and b, with their counts and maps.
  void swapLines(bool rows, int a, int b) {
    const bool wasA = product(a) == 0, wasB = product(b) == 0;
    for (int k = 0; k <= room_ + 1; ++k) {
      const int ra = rows ? a : k, ca = rows ? k : a, rb = rows ? b : k, cb = rows ? k : b;
      const bool p = present(ra, ca);
      present(ra, ca) = present(rb, cb);
      present(rb, cb) = p;
      std::swap(value(ra, ca), value(rb, cb));
    }
    std::vector<int> &count = rows ? rowCount_ : colCount_;
    std::vector<int> &toExt = rows ? intToExtRow_ : intToExtCol_;
    std::vector<int> &toInt = rows ? extToIntRow_ : extToIntCol_;
    std::swap(count[a], count[b]);
    std::swap(toExt[a], toExt[b]);
    toInt[toExt[a]] = a;
    toInt[toExt[b]] = b;
    singletons_ += (product(a) == 0) - wasA + (product(b) == 0) - wasB;
  }

  void exchange(int row, int col, int step) {
    if (row == col) {
      if (row != step) {
        swapLines(true, step, row);
        swapLines(false, step, col);
      }
      return;
    }
    if (row != step)
      swapLines(true, step, row);
    if (col != step)
      swapLines(false, step, col);
  }

  void createFillIn(int r, int c) {
    present(r, c) = true;
    value(r, c) = 0.0;
    ++fillIns_;
    ++rowCount_[r];
    if (rowCount_[r] == 1 && colCount_[r] != 0)
      --singletons_;
    ++colCount_[c];
    if (colCount_[c] == 1 && rowCount_[c] != 0)
      --singletons_;
  }

  void eliminate(int step) {
    const double pivot = value(step, step);
    for (int c = step + 1; c <= n_; ++c) {
      if (!present(step, c))
        continue;
      value(step, c) /= pivot;
      for (int r = step + 1; r <= n_; ++r) {
        if (!present(r, step))
          continue;
        if (!present(r, c))
          createFillIn(r, c);
        value(r, c) -= value(step, c) * value(r, step);
      }
    }
  }

  void updateMarkowitz(int step) {
    for (int r = step + 1; r <= n_; ++r) {
      if (present(r, step) && --rowCount_[r] == 0)
        ++singletons_;
    }
    for (int c = step + 1; c <= n_; ++c) {
      if (present(step, c) && --colCount_[c] == 0 && rowCount_[c] != 0)
        ++singletons_;
    }
  }

  int size_, room_, n_ = 0, translated_ = 0;
  std::vector<bool> present_;
  std::vector<double> value_;
  std::vector<int> extToIntRow_, extToIntCol_, intToExtRow_, intToExtCol_;
  std::vector<int> rowCount_, colCount_;
  // The external columns of each pivoted row's upper part, in the order
  // they had at its step: the order of the back substitution.
  std::vector<std::vector<int>> upperOrder_;
  int singletons_ = 0, fillIns_ = 0;
  int singularRow_ = 0, singularCol_ = 0;
  double rel_ = 1e-3, abs_ = 0.0;
};

struct Stamp {
  int row, col;
  double value;
};

// A random system of one of four kinds: a diagonally dominant matrix with
// shuffled rows (pivots off the diagonal); nodal equations with ideal
// wires (branch rows without a diagonal); small blocks on scattered
// indices (ties among equal products); or a loose pattern of values spread
// over many decades, small integers among them for ties and exact zeros,
// which fails thresholds and sometimes every pivot.
std::vector<Stamp> randomStamps(std::mt19937 &random, int n, int kind) {
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  std::uniform_int_distribution<int> index(1, n);
  std::vector<Stamp> stamps;
  if (kind == 0) {
    std::vector<int> rowOf(n + 1);
    for (int i = 0; i <= n; ++i)
      rowOf[i] = i;
    std::shuffle(rowOf.begin() + 1, rowOf.end(), random);
    const double density = 0.03 + 0.2 * unit(random);
    for (int i = 1; i <= n; ++i) {
      double sum = 1.0;
      for (int j = 1; j <= n; ++j) {
        if (j == i || unit(random) > density)
          continue;
        const double v = 2.0 * unit(random) - 1.0;
        stamps.push_back({rowOf[i], j, v});
        sum += std::fabs(v);
      }
      stamps.push_back({rowOf[i], i, unit(random) < 0.5 ? -sum : sum});
    }
  } else if (kind == 1) {
    const int wires = std::max(1, n / 3), nodes = std::max(1, n - wires);
    for (int k = 1; k <= nodes; ++k) {
      stamps.push_back({k, k, 0.1 + 10 * unit(random)});
      const int other = std::uniform_int_distribution<int>(1, nodes)(random);
      if (other == k)
        continue;
      const double g = 0.1 + 10 * unit(random);
      stamps.push_back({k, k, g});
      stamps.push_back({other, other, g});
      stamps.push_back({k, other, -g});
      stamps.push_back({other, k, -g});
    }
    for (int w = 0; w < n - nodes; ++w) {
      // Each wire ends at a node of its own and starts at a lower one (or
      // ground), so the wires form a forest and no loop of them is singular.
      const int branch = nodes + 1 + w, a = 1 + w % nodes;
      const int b = std::uniform_int_distribution<int>(0, a - 1)(random);
      stamps.push_back({branch, a, 1.0});
      stamps.push_back({a, branch, 1.0});
      if (b > 0) {
        stamps.push_back({branch, b, -1.0});
        stamps.push_back({b, branch, -1.0});
      }
    }
  } else if (kind == 2) {
    // Blocks of two and three on scattered indices: many products of 1 to
    // tie, diagonals as large as their neighbours, some blocks without a
    // diagonal at all.
    std::vector<int> order(n);
    for (int i = 0; i < n; ++i)
      order[i] = i + 1;
    std::shuffle(order.begin(), order.end(), random);
    const bool integers = unit(random) < 0.5;
    auto value = [&] {
      return integers ? 1.0 + std::uniform_int_distribution<int>(0, 1)(random)
                      : std::pow(10.0, -3 + 4 * unit(random));
    };
    for (int start = 0; start < n;) {
      const int width = std::min(n - start, unit(random) < 0.7 ? 2 : 3);
      const bool diagonals = unit(random) < 0.7;
      for (int a = 0; a < width; ++a) {
        for (int b = 0; b < width; ++b) {
          if (a != b ? (b == a + 1 || a == b + 1 || unit(random) < 0.3) : diagonals || width == 1)
            stamps.push_back({order[start + a], order[start + b], value()});
        }
      }
      start += width;
    }
  } else {
    // Every index has a row of its own, so that all of them are in use.
    for (int r = 1; r <= n; ++r)
      stamps.push_back({r, index(random), 1.0 + std::uniform_int_distribution<int>(0, 2)(random)});
    const int count = n + static_cast<int>(n * 3 * unit(random));
    for (int k = 0; k < count; ++k) {
      const double pick = unit(random);
      double v = std::pow(10.0, -8 + 12 * unit(random)) * (unit(random) < 0.5 ? -1 : 1);
      if (pick < 0.3)
        v = std::uniform_int_distribution<int>(-2, 2)(random);
      const int r = index(random);
      stamps.push_back({r, unit(random) < 0.3 ? r : index(random), v});
    }
  }
  std::shuffle(stamps.begin(), stamps.end(), random);
  return stamps;
}

// The matrix takes the model's index i as stride * i.
void expectSameFactors(CSparse &m, const PlainModel &model, int stride) {
  const int n = model.steps();
  for (int i = 1; i <= n; ++i) {
    ASSERT_EQ(m.externalRowAt(i), stride * model.externalRowAt(i)) << "step " << i;
    ASSERT_EQ(m.externalColAt(i), stride * model.externalColAt(i)) << "step " << i;
  }
  ASSERT_EQ(m.fillIns(), model.fillIns());
  for (int r = 1; r <= n; ++r) {
    for (int c = 1; c <= n; ++c) {
      const SparseElement *e = m.internalElement(r, c);
      ASSERT_EQ(e != nullptr, model.has(r, c)) << r << "," << c;
      if (!e)
        continue;
      ASSERT_TRUE(sameBits(e->real, model.factor(r, c)))
          << r << "," << c << ": " << e->real << " against " << model.factor(r, c);
    }
  }
}

// Dense Gaussian elimination with partial pivoting: the reference for the
// well-conditioned systems.
std::vector<double> denseSolve(std::vector<std::vector<double>> a, std::vector<double> b) {
  const std::size_t n = b.size();
  for (std::size_t k = 0; k < n; ++k) {
    std::size_t p = k;
    for (std::size_t i = k + 1; i < n; ++i)
      if (std::fabs(a[i][k]) > std::fabs(a[p][k]))
        p = i;
    std::swap(a[k], a[p]);
    std::swap(b[k], b[p]);
    for (std::size_t i = k + 1; i < n; ++i) {
      const double f = a[i][k] / a[k][k];
      for (std::size_t j = k; j < n; ++j)
        a[i][j] -= f * a[k][j];
      b[i] -= f * b[k];
    }
  }
  std::vector<double> x(n);
  for (std::size_t i = n; i-- > 0;) {
    double s = b[i];
    for (std::size_t j = i + 1; j < n; ++j)
      s -= a[i][j] * x[j];
    x[i] = s / a[i][i];
  }
  return x;
}

// One system factored pass after pass with new values, new right-hand
// sides and, now and then, new elements, both sides given the same stamps;
// the matrix takes index i as stride * i, so that its maps grow past its
// size. The first pass of a diagonally dominant system is also solved
// densely.
void factorRepeatedly(std::mt19937 &random, int n, int kind, int stride, Coverage &seen) {
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  std::vector<Stamp> stamps = randomStamps(random, n, kind);
  const double rel = unit(random) < 0.7 ? 1e-3 : unit(random);
  const double abs = unit(random) < 0.8 ? 0.0 : 1e-6;
  CSparse m;
  m.Create(n);
  PlainModel model(n);
  std::vector<SparseElement *> handles;
  auto take = [&](const Stamp &s) {
    handles.push_back(m.element(stride * s.row, stride * s.col));
    model.touch(s.row, s.col);
  };
  for (const Stamp &s : stamps)
    take(s);
  for (int pass = 0; pass < 6; ++pass) {
    SCOPED_TRACE(testing::Message() << "pass " << pass);
    if (pass == 3 && unit(random) < 0.5) {
      const int r = 1 + static_cast<int>(unit(random) * n),
                c = 1 + static_cast<int>(unit(random) * n);
      stamps.push_back({std::min(r, n), std::min(c, n), unit(random)});
      take(stamps.back());
    }
    m.Clear();
    model.clear();
    for (std::size_t i = 0; i < handles.size(); ++i) {
      // Most values drift, as in a Newton loop; a few jump or vanish.
      const double pick = unit(random);
      const double scale = pick < 0.05   ? 0.0
                           : pick < 0.15 ? 1e-3 + 1e3 * unit(random)
                                         : 1.0 + 0.2 * pass * unit(random);
      const double v = pass == 0 ? stamps[i].value : stamps[i].value * scale;
      handles[i]->real += v;
      model.at(stamps[i].row, stamps[i].col) += v;
    }
    std::vector<double> rhs(n + 1, 0.0), strided(stride * n + 1, 0.0);
    for (int i = 1; i <= n; ++i)
      strided[stride * i] = rhs[i] = unit(random) < 0.4 ? 2.0 * unit(random) - 1.0 : 0.0;
    const int expected = model.orderAndFactor(rhs, rel, abs, seen);
    int got = 0;
    try {
      m.OrderAndFactor(strided, rel, abs);
    } catch (CSparse::Error error) {
      got = error;
    }
    ASSERT_EQ(got, expected);
    if (got == CSparse::ErrorSingular) {
      EXPECT_EQ(m.singularRow(), stride * model.singularRow());
      EXPECT_EQ(m.singularCol(), stride * model.singularCol());
    }
    if (got)
      continue;
    expectSameFactors(m, model, stride);
    std::vector<double> x;
    m.Solve(strided, x);
    const std::vector<double> expectedX = model.solve(rhs);
    ASSERT_GE(x.size(), stride * (expectedX.size() - 1) + 1);
    for (std::size_t i = 0; i < expectedX.size(); ++i)
      ASSERT_TRUE(sameBits(x[stride * i], expectedX[i]))
          << "unknown " << i << ": " << x[stride * i] << " against " << expectedX[i];
    if (kind != 0 || pass != 0)
      continue;
    std::vector<std::vector<double>> dense(n, std::vector<double>(n, 0.0));
    for (const Stamp &st : stamps)
      dense[st.row - 1][st.col - 1] += st.value;
    const std::vector<double> reference = denseSolve(dense, {rhs.begin() + 1, rhs.end()});
    for (int i = 0; i < n; ++i)
      EXPECT_NEAR(expectedX[i + 1], reference[i], 1e-9 * std::max(1.0, std::fabs(reference[i])))
          << "unknown " << i + 1;
  }
}

TEST(SparseModel, RepeatedFactorisationsMatchThePlainModelBitForBit) {
  std::mt19937 random(31337);
  Coverage seen;
  for (int trial = 0; trial < 300; ++trial) {
    SCOPED_TRACE(testing::Message() << "trial " << trial);
    // Mostly small; every tenth past 64 indices, where the tree of
    // diagonal products is deeper.
    factorRepeatedly(random, trial % 10 == 9 ? 65 + trial % 64 : 1 + trial % 40, trial % 4,
                     trial % 3 == 0 ? 37 : 1, seen);
    if (HasFatalFailure())
      return;
  }
  // Every rule had its turn.
  EXPECT_GT(seen.singletons, 0);
  EXPECT_GT(seen.quick, 0);
  EXPECT_GT(seen.diagonal, 0);
  EXPECT_GT(seen.whole, 0);
  EXPECT_GT(seen.singular, 0);
  EXPECT_GT(seen.noPivot, 0);
}

} // namespace
