// The sparse matrix: creation limits, the trash element, pivot order and
// factors of small systems worked out by hand, the singular cases, and the
// element pools (random systems are checked in sparse-model-test.cpp).
#include "circuit-sim/core/sparse-matrix.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <stdexcept>
#include <vector>

namespace {

using qorsim::CSparse;
using qorsim::SparseElement;

struct Entry {
  int row, col;
  double value;
};

void stamp(CSparse &m, const std::vector<Entry> &entries) {
  for (const Entry &e : entries)
    m.element(e.row, e.col)->real += e.value;
}

std::vector<int> pivotRows(const CSparse &m, int n) {
  std::vector<int> rows;
  for (int i = 1; i <= n; ++i)
    rows.push_back(m.externalRowAt(i));
  return rows;
}

double factorAt(const CSparse &m, int row, int col) {
  const SparseElement *e = m.internalElement(row, col);
  return e ? e->real : NAN;
}

TEST(SparseCreate, RefusesUnusableSizes) {
  for (int size : {0, -1, 32759}) {
    CSparse m;
    m.Create(size);
    EXPECT_FALSE(m.created()) << size;
    EXPECT_THROW(m.element(1, 1), std::out_of_range);
  }
  CSparse largest;
  largest.Create(32758);
  EXPECT_TRUE(largest.created());
  CSparse small;
  small.Create(3);
  EXPECT_TRUE(small.created());
  EXPECT_EQ(small.allocatedSize(), 6);
}

TEST(SparseCreate, IndicesBeyondRoomAreRefused) {
  CSparse m;
  m.Create(3);
  for (int i = 1; i <= 6; ++i)
    m.element(i * 10, i * 10); // external indices past the size enlarge the maps
  EXPECT_THROW(m.element(70, 70), std::out_of_range);
  EXPECT_THROW(m.element(-1, 1), std::out_of_range);
  EXPECT_THROW(m.element(1, -2), std::out_of_range);
}

TEST(SparseTrash, RowAndColumnZeroShareOneElement) {
  CSparse m;
  m.Create(2);
  SparseElement *trash = m.element(0, 1);
  EXPECT_EQ(m.element(2, 0), trash);
  EXPECT_EQ(m.element(0, 0), trash);
  stamp(m, {{1, 1, 2.0}, {2, 2, 4.0}});
  trash->real = 1e6;
  std::vector<double> rhs = {5.0, 2.0, 8.0}, x;
  m.OrderAndFactor(rhs, 1e-3, 0.0);
  m.Solve(rhs, x);
  EXPECT_EQ(x[0], 0.0);
  EXPECT_DOUBLE_EQ(x[1], 1.0);
  EXPECT_DOUBLE_EQ(x[2], 2.0);
  m.Clear();
  EXPECT_EQ(trash->real, 0.0);
}

// A hub (node 1) joined to three leaves. By hand: the products are 9, 1, 1,
// 1; each step takes the lowest diagonal of product 1 whose two
// off-diagonals lie symmetrically, so the leaves 2 and 3 come first, then
// the hub, then leaf 4, and no fill-in is created.
const std::vector<Entry> arrow = {{1, 1, 5}, {1, 2, 1}, {1, 3, 1}, {1, 4, 1}, {2, 1, 1},
                                  {2, 2, 2}, {3, 1, 1}, {3, 3, 3}, {4, 1, 1}, {4, 4, 4}};

void expectArrowFactors(const CSparse &m) {
  EXPECT_EQ(pivotRows(m, 4), (std::vector<int>{2, 3, 1, 4}));
  EXPECT_EQ(m.externalColAt(3), 1);
  EXPECT_EQ(m.fillIns(), 0);
  // Pivots of L on the diagonal: 2, 3, 5 - 1/2 - 1/3 = 25/6, 4 - 1/(25/6).
  EXPECT_DOUBLE_EQ(factorAt(m, 1, 1), 2.0);
  EXPECT_DOUBLE_EQ(factorAt(m, 2, 2), 3.0);
  EXPECT_DOUBLE_EQ(factorAt(m, 3, 3), 25.0 / 6.0);
  EXPECT_DOUBLE_EQ(factorAt(m, 4, 4), 4.0 - 6.0 / 25.0);
  // Unit upper triangle, scaled by the pivots.
  EXPECT_DOUBLE_EQ(factorAt(m, 1, 3), 0.5);
  EXPECT_DOUBLE_EQ(factorAt(m, 2, 3), 1.0 / 3.0);
  EXPECT_DOUBLE_EQ(factorAt(m, 3, 4), 6.0 / 25.0);
  // Multipliers below the pivots.
  EXPECT_DOUBLE_EQ(factorAt(m, 3, 1), 1.0);
  EXPECT_DOUBLE_EQ(factorAt(m, 3, 2), 1.0);
  EXPECT_DOUBLE_EQ(factorAt(m, 4, 3), 1.0);
}

TEST(SparseOrder, RefactoringReordersFromTheFirstStepAndRepeats) {
  CSparse m;
  m.Create(4);
  std::vector<SparseElement *> handles;
  for (const Entry &e : arrow)
    handles.push_back(m.element(e.row, e.col));
  std::vector<double> rhs = {0, 1, 2, 3, 4}, first, second;
  for (int round = 0; round < 2; ++round) {
    m.Clear();
    for (std::size_t i = 0; i < arrow.size(); ++i)
      handles[i]->real += arrow[i].value;
    m.OrderAndFactor(std::vector<double>(5, 0.0), 1e-3, 0.0);
    expectArrowFactors(m);
    m.Solve(rhs, round == 0 ? first : second);
  }
  EXPECT_EQ(first, second);
}

// The largest index of the entries: the size of their matrix.
int sizeOf(const std::vector<Entry> &entries) {
  int n = 0;
  for (const Entry &e : entries)
    n = std::max({n, e.row, e.col});
  return n;
}

// Small systems whose first pivots are worked out by hand: the (row, col)
// of the first steps, the solution for solveRhs where one is given, and
// factors where some are named.
TEST(SparseOrder, FirstPivotsOfSmallSystems) {
  const std::vector<Entry> smallFirst = {{1, 1, 1e-5}, {1, 2, 1.0}, {2, 1, 1.0}, {2, 2, 1.0}};
  const std::vector<Entry> bothSmall = {{1, 1, 1e-5}, {1, 2, 1.0}, {2, 1, 1.0}, {2, 2, 1e-5}};
  const double d = 1.0 - 1e-10;
  const struct {
    std::vector<Entry> entries;
    std::vector<double> rhs;
    std::vector<std::pair<int, int>> pivots;
    std::vector<double> solveRhs = {}, x = {};
    std::vector<Entry> factors = {};
  } cases[] = {
      // Both products are 0: the singleton of column 1 lies in row 2.
      {{{1, 2, 1.0}, {2, 1, 1.0}}, {0, 3, 7}, {{2, 1}, {1, 2}}, {0, 3, 7}, {7, 3}},
      // Row 2 now counts 2: its product 2 loses to leaf 3's product 1.
      {arrow, {0, 0, 1, 0, 0}, {{3, 3}}},
      // Diagonal 1e-5 beside 1 in its column fails the relative threshold
      // (0.001): the quick search gives up and the diagonal search takes
      // the diagonal of row 2 by a symmetric exchange.
      {smallFirst, {0, 0, 0}, {{2, 2}}, {}, {}, {{2, 2, 1e-5 - 1.0}}},
      // Both diagonals fail the relative threshold: the whole-matrix search
      // takes the first off-diagonal of least product, (2, 1), by a row
      // exchange. 1e-5 x1 + x2 = 1 and x1 + 1e-5 x2 = 2.
      {bothSmall, {0, 0, 0}, {{2, 1}, {1, 2}}, {0, 1, 2}, {(2 - 1e-5) / d, (1 - 2e-5) / d}},
  };
  for (std::size_t k = 0; k < std::size(cases); ++k) {
    const auto &c = cases[k];
    SCOPED_TRACE(k);
    CSparse m;
    m.Create(sizeOf(c.entries));
    stamp(m, c.entries);
    m.OrderAndFactor(c.rhs, 1e-3, 0.0);
    for (std::size_t i = 0; i < c.pivots.size(); ++i) {
      EXPECT_EQ(m.externalRowAt(static_cast<int>(i) + 1), c.pivots[i].first) << "step " << i + 1;
      EXPECT_EQ(m.externalColAt(static_cast<int>(i) + 1), c.pivots[i].second) << "step " << i + 1;
    }
    for (const Entry &f : c.factors)
      EXPECT_DOUBLE_EQ(factorAt(m, f.row, f.col), f.value);
    std::vector<double> x;
    if (!c.x.empty())
      m.Solve(c.solveRhs, x);
    for (std::size_t i = 0; i < c.x.size(); ++i)
      EXPECT_NEAR(x[i + 1], c.x[i], 1e-12) << "unknown " << i + 1;
  }
}

// Systems that cannot be factored: the error, and for a step without a
// pivot the external row and column of that step.
TEST(SparseSingular, FailuresNameTheirErrorAndStep) {
  const struct {
    std::vector<Entry> entries;
    double absThreshold;
    CSparse::Error error;
    int row = 0, col = 0;
  } cases[] = {
      // The remainder after the first step is all zero.
      {{{1, 1, 1.0}, {1, 2, 1.0}, {2, 1, 1.0}, {2, 2, 1.0}}, 0.0, CSparse::ErrorSingular, 2, 2},
      {{{1, 1, 1.0}, {3, 3, 1.0}, {3, 2, 1.0}}, 0.0, CSparse::ErrorSingular}, // an empty row
      {{{1, 1, 1e-6}, {2, 2, 1e-7}, {1, 2, 1e-8}}, 1e-3, CSparse::ErrorNoPivot},
      {{{1, 1, NAN}}, 0.0, CSparse::ErrorSingular}, // NaN never passes
  };
  for (std::size_t k = 0; k < std::size(cases); ++k) {
    const auto &c = cases[k];
    SCOPED_TRACE(k);
    CSparse m;
    const int n = sizeOf(c.entries);
    m.Create(n);
    stamp(m, c.entries);
    try {
      m.OrderAndFactor(std::vector<double>(n + 1, 0.0), 1e-3, c.absThreshold);
      ADD_FAILURE() << "factored";
    } catch (CSparse::Error error) {
      EXPECT_EQ(error, c.error);
      if (c.row) {
        EXPECT_EQ(m.singularRow(), c.row);
        EXPECT_EQ(m.singularCol(), c.col);
      }
    }
    EXPECT_FALSE(m.factored());
  }
}

TEST(SparseSolve, FactorsAgainAfterAFailureAndAClear) {
  CSparse m;
  m.Create(2);
  SparseElement *a = m.element(1, 1), *b = m.element(2, 2);
  EXPECT_THROW(m.OrderAndFactor(std::vector<double>(3, 0.0), 1e-3, 0.0), CSparse::Error);
  m.Clear();
  a->real = 2.0;
  b->real = 4.0;
  std::vector<double> rhs = {0.0, 1.0, 1.0}, x;
  m.OrderAndFactor(rhs, 1e-3, 0.0);
  m.Solve(rhs, x);
  EXPECT_DOUBLE_EQ(x[1], 0.5);
  EXPECT_DOUBLE_EQ(x[2], 0.25);
}

} // namespace

// An element that counts its constructions and destructions, as the
// simulator server's COM elements count as live objects.
struct CountedElement : SparseElement {
  static int constructed, destroyed;
  CountedElement() { ++constructed; }
  ~CountedElement() { ++destroyed; }
};
int CountedElement::constructed = 0;
int CountedElement::destroyed = 0;

TEST(SparsePools, ConstructOnlyWhatIsTakenAndDestroyItAll) {
  CountedElement::constructed = CountedElement::destroyed = 0;
  qorsim::ElementPools<CountedElement> pools;
  pools.open(1000, 500);
  EXPECT_EQ(CountedElement::constructed, 0);
  std::vector<SparseElement *> taken;
  for (int i = 0; i < 3; ++i)
    taken.push_back(pools.takeElement());
  taken.push_back(pools.takeFillIn());
  EXPECT_EQ(CountedElement::constructed, 4);
  for (SparseElement *e : taken) {
    EXPECT_EQ(e->real, 0.0);
    EXPECT_EQ(e->nextInRow, nullptr);
    e->real = 1.0; // each one is its own storage
  }
  EXPECT_NE(taken[0], taken[1]);
  EXPECT_NE(taken[2], taken[3]);
  pools.close();
  EXPECT_EQ(CountedElement::destroyed, 4);
  // Opened again: later blocks beyond a full first one, each element fresh.
  pools.open(2, 0);
  std::vector<SparseElement *> more;
  for (int i = 0; i < 100; ++i) {
    more.push_back(pools.takeElement());
    EXPECT_EQ(more.back()->real, 0.0);
    more.back()->real = i;
  }
  for (int i = 0; i < 100; ++i)
    EXPECT_EQ(more[static_cast<std::size_t>(i)]->real, i);
  EXPECT_EQ(CountedElement::constructed, 104);
  pools.close();
  EXPECT_EQ(CountedElement::destroyed, 104);
}

TEST(SparsePools, ZeroValuesReachesEveryTakenElementOfEveryBlock) {
  qorsim::ElementPools<CountedElement> pools;
  pools.open(3, 2);
  std::vector<SparseElement *> taken;
  // Past the first block of each pool into later ones.
  for (int i = 0; i < 40; ++i)
    taken.push_back(i % 4 == 0 ? pools.takeFillIn() : pools.takeElement());
  for (std::size_t i = 0; i < taken.size(); ++i) {
    taken[i]->real = 1.0 + i;
    taken[i]->imag = -1.0;
    taken[i]->row = static_cast<int>(i);
  }
  pools.zeroValues();
  for (std::size_t i = 0; i < taken.size(); ++i) {
    EXPECT_EQ(taken[i]->real, 0.0) << i;
    EXPECT_EQ(taken[i]->imag, 0.0) << i;
    EXPECT_EQ(taken[i]->row, static_cast<int>(i)) << "only the values are zeroed";
  }
  pools.close();
}

TEST(SparsePools, MatrixOnCountedElementsSolvesAndFreesEveryElement) {
  CountedElement::constructed = CountedElement::destroyed = 0;
  {
    CSparse m(std::make_unique<qorsim::ElementPools<CountedElement>>());
    const int n = 40;
    m.Create(n);
    // A tridiagonal system whose solution is x_i = i.
    std::vector<double> rhs(n + 1, 0.0), x(n + 1, 0.0);
    for (int i = 1; i <= n; ++i) {
      m.element(i, i)->real += 4.0;
      rhs[static_cast<std::size_t>(i)] += 4.0 * i;
      if (i > 1) {
        m.element(i, i - 1)->real += -1.0;
        rhs[static_cast<std::size_t>(i)] += -1.0 * (i - 1);
      }
      if (i < n) {
        m.element(i, i + 1)->real += -1.0;
        rhs[static_cast<std::size_t>(i)] += -1.0 * (i + 1);
      }
    }
    m.OrderAndFactor(rhs, 1e-3, 0.0);
    m.Solve(rhs, x);
    for (int i = 1; i <= n; ++i)
      EXPECT_NEAR(x[static_cast<std::size_t>(i)], i, 1e-12 * n);
    // Far fewer than the 6 n + 1 elements and 4 n fill-ins reserved.
    EXPECT_LT(CountedElement::constructed, 4 * n);
    EXPECT_GT(CountedElement::constructed, 3 * n - 2);
  }
  EXPECT_EQ(CountedElement::destroyed, CountedElement::constructed);
}
