// The sparse matrix: building, Markowitz ordering with threshold pivoting,
// factorisation in place and substitution.
#include "circuit-sim/core/sparse-matrix.h"

#include <algorithm>
#include <climits>
#include <cstddef>
#include <iterator>
#include <vector>
#include <stdexcept>

namespace qorsim {

namespace {

// Ties among equal Markowitz products end a search once they reach this
// multiple of the product: a wider search rarely finds a better pivot.
const int TiesMultiplier = 5;

// The ranking both pivot searches apply to the candidates that pass the
// thresholds: the smallest Markowitz product wins; among equal products,
// the smallest ratio of the column's largest magnitude to the candidate's.
struct PivotRanking {
  SparseElement *best = nullptr;
  int smallest = INT_MAX;
  double bestRatio = 0.0;
  int ties = 0;

  // Ranks a candidate whose product is not above the smallest so far;
  // true when enough ties were seen to end the search.
  bool offer(SparseElement *candidate, int product, double ratio) {
    if (product < smallest) {
      best = candidate;
      smallest = product;
      bestRatio = ratio;
      ties = 0;
      return false;
    }
    ++ties;
    if (ratio < bestRatio) {
      best = candidate;
      bestRatio = ratio;
    }
    return ties >= TiesMultiplier * smallest;
  }
};

} // namespace

CSparse::CSparse() : CSparse(std::make_unique<ElementPools<SparseElement>>()) {}

CSparse::CSparse(std::unique_ptr<ElementSource> source, int maxSize)
    : source_(std::move(source)), maxSize_(maxSize) {}

CSparse::~CSparse() { destroy(); }

void CSparse::Create(int size) {
  if (size <= 0 || size > maxSize_)
    return;
  destroy();
  size_ = size;
  allocated_ = std::max(size, 6);
  const std::size_t slots = static_cast<std::size_t>(allocated_) + 1;
  diag_.assign(slots, nullptr);
  firstInRow_.assign(slots, nullptr);
  firstInCol_.assign(slots, nullptr);
  intToExtRow_.resize(slots);
  intToExtCol_.resize(slots);
  for (std::size_t i = 0; i < slots; ++i)
    intToExtRow_[i] = intToExtCol_[i] = static_cast<int>(i);
  extToIntRow_.assign(slots, -1);
  extToIntCol_.assign(slots, -1);
  extToIntRow_[0] = extToIntCol_[0] = 0;
  unsortedRows_.reset(slots);
  unsortedCols_.reset(slots);
  rowElements_.assign(slots, 0);
  colElements_.assign(slots, 0);
  source_->open(6 * allocated_ + 1, 4 * allocated_);
  trash_ = source_->takeElement();
  created_ = true;
  needsOrdering_ = true;
}

void CSparse::destroy() {
  source_->close();
  trash_ = nullptr;
  created_ = false;
  size_ = allocated_ = translated_ = 0;
  diag_.clear();
  firstInRow_.clear();
  firstInCol_.clear();
  extToIntRow_.clear();
  extToIntCol_.clear();
  intToExtRow_.clear();
  intToExtCol_.clear();
  markowitzRow_.clear();
  markowitzCol_.clear();
  markowitzProd_.clear();
  intermediate_.clear();
  unsortedRows_ = UnsortedLines{};
  unsortedCols_ = UnsortedLines{};
  rowElements_.clear();
  colElements_.clear();
  singletons_ = 0;
  relThreshold_ = 1e-3;
  absThreshold_ = 0.0;
  needsOrdering_ = true;
  rowsLinked_ = false;
  factored_ = false;
  fillIns_ = 0;
  singularRow_ = singularCol_ = 0;
}

// The factorisation runs over every internal index handed out, even when
// more external indices were used than the size the matrix was created for.
int CSparse::steps() const { return std::max(size_, translated_); }

int CSparse::translate(std::vector<int> &map, int external) {
  if (static_cast<std::size_t>(external) >= map.size()) {
    // Enlarging the external maps drops the Markowitz and solve vectors;
    // the next factorisation rebuilds them.
    const std::size_t old = extToIntRow_.size() - 1;
    const std::size_t grown = std::max<std::size_t>(external, old + old / 2);
    extToIntRow_.resize(grown + 1, -1);
    extToIntCol_.resize(grown + 1, -1);
    markowitzRow_.clear();
    markowitzCol_.clear();
    markowitzProd_.clear();
    intermediate_.clear();
  }
  int internal = map[external];
  if (internal != -1)
    return internal;
  if (translated_ >= allocated_)
    throw std::out_of_range("sparse matrix: more indices than the matrix can hold");
  internal = ++translated_;
  // An index gets the same internal number as a row and as a column.
  extToIntRow_[external] = extToIntCol_[external] = internal;
  intToExtRow_[internal] = intToExtCol_[internal] = external;
  return internal;
}

SparseElement *CSparse::element(int row, int col) {
  if (!created_ || row < 0 || col < 0)
    throw std::out_of_range("sparse matrix: no such element");
  if (row == 0 || col == 0)
    return trash_;
  sortLines();
  const int r = translate(extToIntRow_, row);
  const int c = translate(extToIntCol_, col);
  if (r == c && diag_[r])
    return diag_[r];
  return findOrCreate(r, c);
}

const SparseElement *CSparse::internalElement(int row, int col) const {
  if (row <= 0 || col <= 0 || static_cast<std::size_t>(col) >= firstInCol_.size())
    return nullptr;
  for (SparseElement *e = firstInCol_[col]; e; e = e->nextInCol) {
    if (e->row == row)
      return e;
  }
  return nullptr;
}

// The element at internal (row, col), inserted in its column (and, once the
// rows are linked, in its row) when missing.
SparseElement *CSparse::findOrCreate(int row, int col) {
  SparseElement **link = &firstInCol_[col];
  while (*link && (*link)->row < row)
    link = &(*link)->nextInCol;
  if (*link && (*link)->row == row)
    return *link;
  SparseElement *e = source_->takeElement();
  e->real = e->imag = 0.0;
  e->row = row;
  e->col = col;
  e->nextInCol = *link;
  *link = e;
  ++rowElements_[row];
  ++colElements_[col];
  if (row == col)
    diag_[row] = e;
  if (rowsLinked_) {
    SparseElement **rowLink = &firstInRow_[row];
    while (*rowLink && (*rowLink)->col < col)
      rowLink = &(*rowLink)->nextInRow;
    e->nextInRow = *rowLink;
    *rowLink = e;
  } else {
    e->nextInRow = nullptr;
  }
  needsOrdering_ = true;
  return e;
}

// A fill-in of the elimination, linked at colLink in its column and at
// rowLink in its row; the Markowitz counts of its row and column grow by
// one.
SparseElement *CSparse::createFillIn(int row, int col, SparseElement **colLink,
                                     SparseElement **rowLink) {
  SparseElement *e = source_->takeFillIn();
  e->real = e->imag = 0.0;
  e->row = row;
  e->col = col;
  e->nextInCol = *colLink;
  *colLink = e;
  e->nextInRow = *rowLink;
  *rowLink = e;
  ++rowElements_[row];
  ++colElements_[col];
  if (row == col) {
    diag_[row] = e;
    refreshDiagonalKey(row);
  }
  ++fillIns_;

  ++markowitzRow_[row];
  setProduct(row);
  if (markowitzRow_[row] == 1 && markowitzCol_[row] != 0)
    --singletons_;
  ++markowitzCol_[col];
  setProduct(col);
  if (markowitzCol_[col] == 1 && markowitzRow_[col] != 0)
    --singletons_;
  return e;
}

void CSparse::Clear() {
  if (!created_)
    return;
  // Every element taken from the pools is in the matrix or is the trash.
  source_->zeroValues();
  factored_ = false;
}

namespace {

bool isSorted(const SparseElement *e, SparseElement *SparseElement::*next,
              int SparseElement::*key) {
  for (; e && e->*next; e = e->*next) {
    if (e->*key > (e->*next)->*key)
      return false;
  }
  return true;
}

// Re-links one line in increasing key order; keys along a line are unique.
// Most lines an exchange touched are still in order.
void sortLine(SparseElement *&first, SparseElement *SparseElement::*next, int SparseElement::*key,
              std::vector<SparseElement *> &scratch) {
  if (isSorted(first, next, key))
    return;
  scratch.clear();
  for (SparseElement *e = first; e; e = e->*next)
    scratch.push_back(e);
  std::sort(scratch.begin(), scratch.end(),
            [key](const SparseElement *a, const SparseElement *b) { return a->*key < b->*key; });
  SparseElement **link = &first;
  for (SparseElement *e : scratch) {
    *link = e;
    link = &(e->*next);
  }
  *link = nullptr;
}

} // namespace

// Factoring leaves the finished parts of some rows and columns out of
// order (see exchangeLines), and records which: only those are sorted,
// unless they are so many that relinking every line costs less.
void CSparse::sortLines() {
  const std::size_t unsorted = unsortedCols_.lines.size() + unsortedRows_.lines.size();
  if (unsorted == 0)
    return;
  if (4 * unsorted > firstInCol_.size()) {
    relinkAllLines();
  } else {
    for (int c : unsortedCols_.lines)
      sortLine(firstInCol_[c], &SparseElement::nextInCol, &SparseElement::row, sortScratch_);
    for (int r : unsortedRows_.lines)
      sortLine(firstInRow_[r], &SparseElement::nextInRow, &SparseElement::col, sortScratch_);
  }
  unsortedCols_.clear();
  unsortedRows_.clear();
}

// When many lines are out of order, rebuilding the columns from the rows
// and then the rows from the columns is cheaper than sorting them.
void CSparse::relinkAllLines() {
  std::fill(firstInCol_.begin(), firstInCol_.end(), nullptr);
  for (int r = static_cast<int>(firstInRow_.size()) - 1; r >= 1; --r) {
    for (SparseElement *e = firstInRow_[r]; e; e = e->nextInRow) {
      e->nextInCol = firstInCol_[e->col];
      firstInCol_[e->col] = e;
    }
  }
  linkRows();
}

void CSparse::linkRows() {
  std::fill(firstInRow_.begin(), firstInRow_.end(), nullptr);
  // Walking the columns from the right and pushing at the front leaves
  // every row sorted by column.
  for (int c = static_cast<int>(firstInCol_.size()) - 1; c >= 1; --c) {
    for (SparseElement *e = firstInCol_[c]; e; e = e->nextInCol) {
      e->col = c;
      e->nextInRow = firstInRow_[e->row];
      firstInRow_[e->row] = e;
    }
  }
  rowsLinked_ = true;
}

void CSparse::setProduct(int i) {
  markowitzProd_[i] = markowitzRow_[i] * markowitzCol_[i];
  refreshDiagonalKey(i);
}

// Every change of an index's product or diagonal element during a
// factorisation ends here, so that the tree never lags behind.
void CSparse::refreshDiagonalKey(int i) {
  if (i < diagonalProducts_.count())
    diagonalProducts_.set(i, diag_[i] ? markowitzProd_[i] : LeastValueTree::None);
}

void CSparse::buildDiagonalKeys() {
  const int n = steps();
  std::vector<int> keys(static_cast<std::size_t>(n) + 1, LeastValueTree::None);
  for (int i = 1; i <= n; ++i) {
    if (diag_[i])
      keys[i] = markowitzProd_[i];
  }
  diagonalProducts_.assign(keys);
}

void CSparse::countMarkowitz(const std::vector<double> &rhs) {
  const int n = steps();
  for (int i = 1; i <= n; ++i) {
    int count = rowElements_[i] - 1;
    const int external = intToExtRow_[i];
    if (external >= 0 && static_cast<std::size_t>(external) < rhs.size() && rhs[external] != 0.0)
      ++count;
    markowitzRow_[i] = count;
    markowitzCol_[i] = colElements_[i] - 1;
  }
  singletons_ = 0;
  for (int i = 1; i <= n; ++i) {
    setProduct(i);
    if (markowitzProd_[i] == 0)
      ++singletons_;
  }
}

void CSparse::OrderAndFactor(const std::vector<double> &rhs, double relThreshold,
                             double absThreshold) {
  if (!created_)
    throw std::out_of_range("sparse matrix: not created");
  needsOrdering_ = true;
  sortLines();
  if (relThreshold > 0.0 && relThreshold <= 1.0)
    relThreshold_ = relThreshold;
  if (absThreshold >= 0.0)
    absThreshold_ = absThreshold;
  if (!rowsLinked_)
    linkRows();
  const int n = steps();
  const std::size_t slots = static_cast<std::size_t>(n) + 2;
  if (markowitzProd_.size() < slots) {
    markowitzRow_.assign(slots, 0);
    markowitzCol_.assign(slots, 0);
    markowitzProd_.assign(slots, 0);
    intermediate_.assign(slots, 0.0);
  }
  factored_ = false;
  activeInRow_.resize(firstInRow_.size());
  activeInCol_.resize(firstInCol_.size());
  for (std::size_t i = 0; i < firstInRow_.size(); ++i) {
    activeInRow_[i] = &firstInRow_[i];
    activeInCol_[i] = &firstInCol_[i];
  }
  buildLines();
  diagonalProducts_.reset(0);
  countMarkowitz(rhs);
  buildDiagonalKeys();
  markowitzProd_[n + 1] = 0; // stops the scan for singletons
  markowitzProd_[0] = 0;
  for (int step = 1; step <= n; ++step) {
    SparseElement *pivot = findPivot(step);
    if (!pivot) {
      singularRow_ = intToExtRow_[step];
      singularCol_ = intToExtCol_[step];
      throw ErrorSingular;
    }
    exchange(pivot, step);
    eliminate(pivot, step);
    updateMarkowitz(pivot);
    finishStep(pivot);
  }
  needsOrdering_ = false;
  factored_ = true;
}

std::size_t CSparse::Line::lowerBound(int key) const {
  return static_cast<std::size_t>(
      std::lower_bound(entries.begin() + static_cast<std::ptrdiff_t>(start), entries.end(), key,
                       [](const Entry &entry, int k) { return entry.key < k; }) -
      entries.begin());
}

void CSparse::buildLines() {
  rowLines_.resize(firstInRow_.size());
  colLines_.resize(firstInCol_.size());
  for (std::size_t i = 0; i < firstInRow_.size(); ++i) {
    Line &row = rowLines_[i];
    row.entries.clear();
    row.start = 0;
    for (SparseElement *e = firstInRow_[i]; e; e = e->nextInRow)
      row.entries.push_back({e->col, e});
    Line &col = colLines_[i];
    col.entries.clear();
    col.start = 0;
    for (SparseElement *e = firstInCol_[i]; e; e = e->nextInCol)
      col.entries.push_back({e->row, e});
  }
}

SparseElement *CSparse::findPivot(int step) {
  if (singletons_ > 0) {
    if (SparseElement *pivot = searchSingletons(step))
      return pivot;
  }
  if (SparseElement *pivot = quickDiagonal(step))
    return pivot;
  if (SparseElement *pivot = searchDiagonal(step))
    return pivot;
  return searchWholeMatrix(step);
}

double CSparse::largestOtherInColumn(const SparseElement *e, int step) const {
  double largest = 0.0;
  (void)step;
  for (const SparseElement *x = *activeInCol_[e->col]; x; x = x->nextInCol) {
    if (x == e)
      continue;
    largest = std::max(largest, magnitude(x));
  }
  return largest;
}

// Both comparisons are strict, so a NaN never passes.
bool CSparse::passes(const SparseElement *e, int step) const {
  const double m = magnitude(e);
  return m > absThreshold_ && m > relThreshold_ * largestOtherInColumn(e, step);
}

SparseElement *CSparse::searchSingletons(int step) {
  const int n = steps();
  int tries = singletons_;
  --singletons_;
  int i = step - 1;
  while (tries-- > 0) {
    ++i;
    while (markowitzProd_[i] != 0)
      ++i;
    if (i > n)
      break;
    if (SparseElement *d = diag_[i]) {
      if (passes(d, step))
        return d;
      continue;
    }
    bool tryRow = true;
    if (markowitzCol_[i] == 0) {
      SparseElement *e = *activeInCol_[i];
      if (!e)
        break;
      if (passes(e, step))
        return e;
      tryRow = markowitzRow_[i] == 0;
    }
    if (!tryRow)
      continue;
    SparseElement *e = *activeInRow_[i];
    if (!e)
      break;
    if (passes(e, step))
      return e;
  }
  ++singletons_;
  return nullptr;
}

// With a Markowitz product of 1 a diagonal has one other element in its
// row and one in its column; placed symmetrically and no larger than the
// diagonal, they make it a pivot that needs no threshold test.
bool CSparse::symmetricOffDiagonal(const SparseElement *d, int step) const {
  const SparseElement *inRow = d->nextInRow;
  const SparseElement *inCol = d->nextInCol;
  const int i = d->row;
  if (!inRow && !inCol) {
    (void)step;
    for (inRow = *activeInRow_[i]; inRow && inRow->col == i;)
      inRow = inRow->nextInRow;
    for (inCol = *activeInCol_[i]; inCol && inCol->row == i;)
      inCol = inCol->nextInCol;
  }
  if (!inRow || !inCol || inRow->col != inCol->row)
    return false;
  return magnitude(d) >= std::max(magnitude(inRow), magnitude(inCol));
}

// The quick diagonal search takes the lowest-indexed diagonal of smallest
// product among those above the absolute threshold. Its outcome depends
// only on that diagonal, so the tree of diagonal products gives the
// smallest product and the indices that have it in increasing order; only
// when none of them is eligible, or when products of 0 or less are about,
// does the search fall back to the plain record-keeping scan.
SparseElement *CSparse::quickDiagonal(int step) {
  const int least = diagonalProducts_.leastFrom(step);
  if (least == LeastValueTree::None || least <= 0)
    return quickDiagonalScan(step);
  SparseElement *chosen = nullptr;
  for (int i = diagonalProducts_.firstAtMost(step, least); i != -1;
       i = diagonalProducts_.firstAtMost(i + 1, least)) {
    SparseElement *d = diag_[i];
    if (magnitude(d) > absThreshold_) {
      chosen = d;
      break;
    }
  }
  if (!chosen)
    return quickDiagonalScan(step);
  if (least == 1 && symmetricOffDiagonal(chosen, step))
    return chosen;
  return magnitude(chosen) > relThreshold_ * largestOtherInColumn(chosen, step) ? chosen : nullptr;
}

SparseElement *CSparse::quickDiagonalScan(int step) {
  const int n = steps();
  int smallest = INT_MAX;
  SparseElement *candidate = nullptr;
  for (int i = step; i <= n; ++i) {
    if (markowitzProd_[i] >= smallest)
      continue;
    SparseElement *d = diag_[i];
    if (!d || !(magnitude(d) > absThreshold_))
      continue;
    if (markowitzProd_[i] == 1 && symmetricOffDiagonal(d, step))
      return d;
    candidate = d;
    smallest = markowitzProd_[i];
  }
  if (!candidate)
    return nullptr;
  return magnitude(candidate) > relThreshold_ * largestOtherInColumn(candidate, step) ? candidate
                                                                                      : nullptr;
}

SparseElement *CSparse::searchDiagonal(int step) {
  PivotRanking ranking;
  // Indices without a diagonal or with a product above the smallest so far
  // change nothing, so only the others are visited. No product reaches
  // the tree's None (INT_MAX): no line holds that many elements.
  const int anyProduct = LeastValueTree::None - 1;
  for (int i = diagonalProducts_.firstAtMost(step, anyProduct); i != -1;
       i = diagonalProducts_.firstAtMost(i + 1, std::min(ranking.smallest, anyProduct))) {
    SparseElement *d = diag_[i];
    const double m = magnitude(d);
    const double largest = largestOtherInColumn(d, step);
    if (!(m > absThreshold_ && m > relThreshold_ * largest))
      continue;
    if (ranking.offer(d, markowitzProd_[i], largest / m))
      break;
  }
  return ranking.best;
}

SparseElement *CSparse::searchWholeMatrix(int step) {
  const int n = steps();
  PivotRanking ranking;
  double largestSeen = 0.0;
  for (int j = step; j <= n; ++j) {
    SparseElement *top = *activeInCol_[j];
    double largestInCol = 0.0;
    for (SparseElement *e = top; e; e = e->nextInCol)
      largestInCol = std::max(largestInCol, magnitude(e));
    if (largestInCol == 0.0)
      continue;
    for (SparseElement *e = top; e; e = e->nextInCol) {
      const double m = magnitude(e);
      largestSeen = std::max(largestSeen, m);
      const int product = markowitzRow_[e->row] * markowitzCol_[j];
      if (product > ranking.smallest || !(m > relThreshold_ * largestInCol) || !(m > absThreshold_))
        continue;
      if (ranking.offer(e, product, largestInCol / m))
        return ranking.best;
    }
  }
  if (!ranking.best && largestSeen != 0.0)
    throw ErrorNoPivot;
  return ranking.best;
}

void CSparse::exchange(SparseElement *pivot, int step) {
  const int row = pivot->row;
  const int col = pivot->col;
  if (row == col) {
    // A diagonal pivot moves by a symmetric exchange and stays diagonal.
    if (row != step) {
      exchangeLines(rowAxis(), step, row);
      exchangeLines(columnAxis(), step, col);
    }
  } else {
    if (row != step)
      exchangeLines(rowAxis(), step, row);
    if (col != step)
      exchangeLines(columnAxis(), step, col);
  }
  refreshDiagonal(step);
  if (row != step)
    refreshDiagonal(row);
  if (col != step && col != row)
    refreshDiagonal(col);
}

void CSparse::refreshDiagonal(int i) {
  const Line &col = colLines_[i];
  const std::size_t at = col.lowerBound(i);
  diag_[i] =
      at < col.entries.size() && col.entries[at].key == i ? col.entries[at].element : nullptr;
  refreshDiagonalKey(i);
}

namespace {

// Swaps two whole lines; an active link that pointed at its line's head
// slot must follow the line to its new slot.
void swapLines(std::vector<SparseElement *> &first, std::vector<SparseElement **> &active, int a,
               int b) {
  const bool aAtHead = active[a] == &first[a];
  const bool bAtHead = active[b] == &first[b];
  std::swap(first[a], first[b]);
  std::swap(active[a], active[b]);
  if (bAtHead)
    active[a] = &first[a];
  if (aAtHead)
    active[b] = &first[b];
}

} // namespace

// A crossing line holds e1 at k1 and e2 at k2 (k1 < k2; either may be
// missing); after the exchange e1 belongs at k2 and e2 at k1. Its entries
// give the places, so that only links next to them change; the elements'
// own numbers are set by the caller.
void CSparse::exchangeAcross(const Axis &axis, int crossing, int k1, SparseElement *e1, int k2,
                             SparseElement *e2) {
  Line &line = (*axis.crossLines)[crossing];
  std::vector<Entry> &v = line.entries;
  SparseElement **head = (*axis.crossActive)[crossing];
  SparseElement *SparseElement::*next = axis.crossNext;
  // The link that points at entry i.
  auto linkTo = [&](std::size_t i) { return i == line.start ? head : &(v[i - 1].element->*next); };
  const std::size_t i1 = line.lowerBound(k1);
  const std::size_t i2 = line.lowerBound(k2);
  const auto at = [&v](std::size_t i) { return v.begin() + static_cast<std::ptrdiff_t>(i); };
  if (e1 && e2) {
    SparseElement **link1 = linkTo(i1);
    if (i2 == i1 + 1) {
      *link1 = e2;
      e1->*next = e2->*next;
      e2->*next = e1;
    } else {
      SparseElement **link2 = linkTo(i2);
      SparseElement *afterE1 = e1->*next;
      *link1 = e2;
      *link2 = e1;
      e1->*next = e2->*next;
      e2->*next = afterE1;
    }
    std::swap(v[i1].element, v[i2].element);
    return;
  }
  if (e1) {
    // e2 missing: e1 goes in front of the first entry behind k2.
    if (i2 != i1 + 1) {
      *linkTo(i1) = e1->*next;
      SparseElement *before = v[i2 - 1].element;
      e1->*next = before->*next;
      before->*next = e1;
      std::rotate(at(i1), at(i1 + 1), at(i2));
    }
    v[i2 - 1] = {k2, e1};
    return;
  }
  // e1 missing: e2 goes in front of the first entry behind k1.
  if (i2 != i1) {
    SparseElement **link1 = linkTo(i1);
    *linkTo(i2) = e2->*next;
    e2->*next = *link1;
    *link1 = e2;
    std::rotate(at(i1), at(i2), at(i2 + 1));
  }
  v[i1] = {k1, e2};
}

CSparse::Axis CSparse::rowAxis() {
  return {&firstInRow_,
          &rowLines_,
          &colLines_,
          &activeInRow_,
          &activeInCol_,
          &markowitzRow_,
          &rowElements_,
          &intToExtRow_,
          &extToIntRow_,
          &unsortedCols_,
          &SparseElement::nextInRow,
          &SparseElement::nextInCol,
          &SparseElement::row,
          &SparseElement::col};
}

CSparse::Axis CSparse::columnAxis() {
  return {&firstInCol_,
          &colLines_,
          &rowLines_,
          &activeInCol_,
          &activeInRow_,
          &markowitzCol_,
          &colElements_,
          &intToExtCol_,
          &extToIntCol_,
          &unsortedRows_,
          &SparseElement::nextInCol,
          &SparseElement::nextInRow,
          &SparseElement::col,
          &SparseElement::row};
}

// Exchanges two rows, or two columns. Only the remaining parts of the two
// lines are re-linked in the lines that cross them; in the finished
// crossing lines the elements keep their places and only take their new
// numbers, which leaves those lines unsorted until the next sortLines.
void CSparse::exchangeLines(const Axis &axis, int l1, int l2) {
  if (l1 > l2)
    std::swap(l1, l2);
  Line &line1 = (*axis.lines)[l1];
  Line &line2 = (*axis.lines)[l2];
  // Walks both lines in step; an entry's key is its crossing line.
  const std::vector<Entry> &a = line1.entries;
  const std::vector<Entry> &b = line2.entries;
  std::size_t i = line1.start, j = line2.start;
  while (i < a.size() || j < b.size()) {
    if (j == b.size() || (i < a.size() && a[i].key < b[j].key)) {
      exchangeAcross(axis, a[i].key, l1, a[i].element, l2, nullptr);
      a[i++].element->*axis.number = l2;
    } else if (i == a.size() || b[j].key < a[i].key) {
      exchangeAcross(axis, b[j].key, l1, nullptr, l2, b[j].element);
      b[j++].element->*axis.number = l1;
    } else {
      exchangeAcross(axis, a[i].key, l1, a[i].element, l2, b[j].element);
      a[i++].element->*axis.number = l2;
      b[j++].element->*axis.number = l1;
    }
  }
  std::swap(line1, line2);
  swapLines(*axis.first, *axis.active, l1, l2);
  // The finished parts, in front of the remaining ones: their crossing
  // lines are finished and keep their links, so they may fall out of order.
  for (int l : {l1, l2}) {
    const SparseElement *remaining = *(*axis.active)[l];
    for (SparseElement *e = (*axis.first)[l]; e != remaining; e = e->*axis.next) {
      e->*axis.number = l;
      axis.crossUnsorted->mark(e->*axis.position);
    }
  }
  std::swap((*axis.markowitz)[l1], (*axis.markowitz)[l2]);
  std::swap((*axis.elements)[l1], (*axis.elements)[l2]);
  for (int i : {l1, l2}) {
    const bool wasSingleton = markowitzProd_[i] == 0;
    setProduct(i);
    singletons_ += (markowitzProd_[i] == 0) - wasSingleton;
  }
  std::vector<int> &intToExt = *axis.intToExt;
  std::swap(intToExt[l1], intToExt[l2]);
  (*axis.extToInt)[intToExt[l1]] = l1;
  (*axis.extToInt)[intToExt[l2]] = l2;
}

void CSparse::eliminate(SparseElement *pivot, int step) {
  if (pivot->real == 0.0) {
    singularRow_ = intToExtRow_[step];
    singularCol_ = intToExtCol_[step];
    throw ErrorSingular;
  }
  // The pivot heads its row's and its column's remaining parts.
  const Line &pivotRow = rowLines_[step];
  const Line &pivotCol = colLines_[step];
  const Entry *lower = pivotCol.entries.data() + pivotCol.start + 1;
  const std::size_t lowers = pivotCol.entries.size() - pivotCol.start - 1;
  if (rowFillIns_.size() < lowers)
    rowFillIns_.resize(lowers);
  for (std::size_t u = pivotRow.start + 1; u < pivotRow.entries.size(); ++u) {
    SparseElement *upper = pivotRow.entries[u].element;
    const int col = pivotRow.entries[u].key;
    upper->real /= pivot->real;
    // The column below upper, in step with the pivot's column; its entries
    // are copied into merged_ only once it gains a fill-in.
    Line &target = colLines_[col];
    std::vector<Entry> &tv = target.entries;
    const auto at = [&tv](std::size_t i) { return tv.begin() + static_cast<std::ptrdiff_t>(i); };
    std::size_t t = target.start + 1, copied = t;
    bool filled = false;
    SparseElement *above = upper; // the last element of the column above row
    for (std::size_t l = 0; l < lowers; ++l) {
      const int row = lower[l].key;
      while (t < tv.size() && tv[t].key < row)
        above = tv[t++].element;
      SparseElement *element;
      if (t < tv.size() && tv[t].key == row) {
        element = tv[t++].element;
      } else {
        if (!filled)
          merged_.clear();
        merged_.insert(merged_.end(), at(copied), at(t));
        copied = t;
        filled = true;
        // Its place in the row: behind this step's last fill-in there or
        // behind the row's last element left of col, whichever is further.
        std::vector<Entry> &rowFills = rowFillIns_[l];
        const Line &rowLine = rowLines_[row];
        const Entry &left = rowLine.entries[rowLine.lowerBound(col) - 1];
        SparseElement *before = !rowFills.empty() && rowFills.back().key > left.key
                                    ? rowFills.back().element
                                    : left.element;
        element = createFillIn(row, col, &above->nextInCol, &before->nextInRow);
        merged_.push_back({row, element});
        rowFills.push_back({col, element});
      }
      element->real -= upper->real * lower[l].element->real;
      above = element;
    }
    // upper leaves the remaining part with its row.
    if (filled) {
      merged_.insert(merged_.end(), at(copied), tv.end());
      tv.swap(merged_);
      target.start = 0;
    } else {
      ++target.start;
    }
  }
  // The rows below the pivot lose their element in its column.
  for (std::size_t l = 0; l < lowers; ++l) {
    Line &rowLine = rowLines_[lower[l].key];
    ++rowLine.start;
    if (!rowFillIns_[l].empty())
      mergeFillIns(rowLine, rowFillIns_[l]);
  }
}

// Merges a row's fill-ins of one step (in column order) into its entries.
void CSparse::mergeFillIns(Line &line, std::vector<Entry> &fillIns) {
  merged_.clear();
  const auto byKey = [](const Entry &x, const Entry &y) { return x.key < y.key; };
  std::merge(line.entries.begin() + static_cast<std::ptrdiff_t>(line.start), line.entries.end(),
             fillIns.begin(), fillIns.end(), std::back_inserter(merged_), byKey);
  line.entries.swap(merged_);
  line.start = 0;
  fillIns.clear();
}

// Row and column `step` leave the remaining matrix: every line they cross
// now starts its remaining part after them.
void CSparse::finishStep(SparseElement *pivot) {
  for (SparseElement *e = pivot; e; e = e->nextInRow)
    activeInCol_[e->col] = &e->nextInCol;
  for (SparseElement *e = pivot; e; e = e->nextInCol)
    activeInRow_[e->row] = &e->nextInRow;
}

void CSparse::updateMarkowitz(SparseElement *pivot) {
  for (SparseElement *e = pivot->nextInCol; e; e = e->nextInCol) {
    const int row = e->row;
    --markowitzRow_[row];
    setProduct(row);
    if (markowitzRow_[row] == 0)
      ++singletons_;
  }
  for (SparseElement *e = pivot->nextInRow; e; e = e->nextInRow) {
    const int col = e->col;
    --markowitzCol_[col];
    setProduct(col);
    if (markowitzCol_[col] == 0 && markowitzRow_[col] != 0)
      ++singletons_;
  }
}

void CSparse::Solve(const std::vector<double> &rhs, std::vector<double> &solution) {
  if (!factored_)
    throw std::logic_error("sparse matrix: solve before a successful factorisation");
  const int n = steps();
  double *x = intermediate_.data();
  for (int i = 1; i <= n; ++i) {
    const int external = intToExtRow_[i];
    x[i] = static_cast<std::size_t>(external) < rhs.size() ? rhs[external] : 0.0;
  }
  for (int i = 1; i <= n; ++i) {
    if (x[i] == 0.0)
      continue;
    const SparseElement *p = diag_[i];
    x[i] /= p->real;
    for (const SparseElement *e = p->nextInCol; e; e = e->nextInCol)
      x[e->row] -= x[i] * e->real;
  }
  for (int i = n; i >= 1; --i) {
    double sum = x[i];
    for (const SparseElement *e = diag_[i]->nextInRow; e; e = e->nextInRow)
      sum -= x[e->col] * e->real;
    x[i] = sum;
  }
  int largest = 0;
  for (int i = 1; i <= n; ++i)
    largest = std::max(largest, intToExtCol_[i]);
  if (solution.size() <= static_cast<std::size_t>(largest))
    solution.resize(static_cast<std::size_t>(largest) + 1, 0.0);
  solution[0] = 0.0;
  for (int i = 1; i <= n; ++i)
    solution[intToExtCol_[i]] = x[i];
}

} // namespace qorsim
