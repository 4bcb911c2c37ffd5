// CSparse: the real sparse matrix of a circuit's nodal equations. Elements
// sit in orthogonal linked lists (rows sorted by column, columns by row);
// callers address them by external index (node index) and the ordering
// permutes internal indices. OrderAndFactor picks pivots by Markowitz
// product with threshold pivoting and factors in place (L holds the pivots
// and the multipliers, U is unit upper triangular); Solve substitutes.
//
// Row 0 and column 0 stand for the reference node: every request for them
// gets one shared trash element that never enters the solution.
#ifndef CIRCUIT_SIM_SPARSE_MATRIX_H
#define CIRCUIT_SIM_SPARSE_MATRIX_H

#include "circuit-sim/core/least-value-tree.h"
#include "circuit-sim/core/sparse-element.h"

#include <memory>
#include <vector>

namespace qorsim {

class CSparse {
public:
  // Thrown by value from OrderAndFactor.
  enum Error {
    ErrorSingular = 1, // no pivot for a step, or a pivot exactly zero
    ErrorNoPivot = 2,  // nothing passes the thresholds, though not all zero
  };

  static const int MaxSize = 32758;

  // Plain elements; the server passes pools of its COM elements.
  CSparse();
  // maxSize raises the size limit for the benchmark's largest grids.
  explicit CSparse(std::unique_ptr<ElementSource> source, int maxSize = MaxSize);
  ~CSparse();
  CSparse(const CSparse &) = delete;
  CSparse &operator=(const CSparse &) = delete;

  // Allocates a size x size matrix when 0 < size <= MaxSize; any other
  // size leaves the matrix uncreated. A created matrix is destroyed first.
  void Create(int size);
  // Frees every element and vector: the state before Create.
  void destroy();
  bool created() const { return created_; }
  int size() const { return size_; }
  int allocatedSize() const { return allocated_; }

  // The element at external (row, col), created when missing; row or
  // column 0 gives the trash element. Throws std::out_of_range for a
  // negative index, for an uncreated matrix, and when the request would
  // need more internal indices than the matrix has room for.
  SparseElement *element(int row, int col);
  SparseElement *trash() const { return trash_; }

  // Zeroes every value and keeps the structure, fill-ins included.
  void Clear();
  // Orders from the first step and factors; rhs (indexed by external row)
  // weighs the Markowitz counts. Thresholds outside their ranges keep the
  // stored ones. Throws CSparse::Error; the matrix is then partly factored
  // until the next Clear.
  void OrderAndFactor(const std::vector<double> &rhs, double relThreshold, double absThreshold);
  // solution[ext col] for rhs[ext row], both indexed 0..size; entry 0 is 0.
  // solution grows when it is too short.
  void Solve(const std::vector<double> &rhs, std::vector<double> &solution);

  bool factored() const { return factored_; }
  int fillIns() const { return fillIns_; }
  // The external row and column of the step that was found singular.
  int singularRow() const { return singularRow_; }
  int singularCol() const { return singularCol_; }
  // The external row and column at an internal position: after a
  // factorisation these give the pivot order.
  int externalRowAt(int internal) const { return intToExtRow_[internal]; }
  int externalColAt(int internal) const { return intToExtCol_[internal]; }
  // The element at internal (row, col) or null: the factors in place.
  const SparseElement *internalElement(int row, int col) const;

private:
  int translate(std::vector<int> &map, int external);
  int steps() const;
  SparseElement *findOrCreate(int row, int col);
  void linkRows();
  void sortLines();
  void relinkAllLines();
  void countMarkowitz(const std::vector<double> &rhs);
  void setProduct(int i);
  void refreshDiagonalKey(int i);
  void buildDiagonalKeys();
  SparseElement *findPivot(int step);
  SparseElement *searchSingletons(int step);
  SparseElement *quickDiagonal(int step);
  SparseElement *quickDiagonalScan(int step);
  SparseElement *searchDiagonal(int step);
  SparseElement *searchWholeMatrix(int step);
  bool passes(const SparseElement *e, int step) const;
  double largestOtherInColumn(const SparseElement *e, int step) const;
  bool symmetricOffDiagonal(const SparseElement *diagonal, int step) const;
  void exchange(SparseElement *pivot, int step);
  // While factoring, each line's remaining part is also kept as an array
  // sorted by the crossing index, so that exchanges and the elimination
  // find places in the linked lists without walking them.
  struct Entry {
    int key; // the element's column in a row, its row in a column
    SparseElement *element;
  };
  struct Line {
    std::vector<Entry> entries; // the remaining part from start on
    std::size_t start = 0;
    std::size_t lowerBound(int key) const;
  };
  void buildLines();
  // The rows (or columns) a factorisation left out of order, each once.
  // While none is, the lines are sorted.
  struct UnsortedLines {
    std::vector<char> marked;
    std::vector<int> lines; // reserved for every line: marking never allocates
    void reset(std::size_t slots) {
      marked.assign(slots, 0);
      lines.clear();
      lines.reserve(slots);
    }
    void mark(int line) {
      if (marked[line])
        return;
      marked[line] = 1;
      lines.push_back(line);
    }
    void clear() {
      for (int line : lines)
        marked[line] = 0;
      lines.clear();
    }
  };
  // One axis of the matrix, rows or columns: what an exchange of two of
  // its lines moves, so that rows and columns share one exchange.
  struct Axis {
    std::vector<SparseElement *> *first;
    std::vector<Line> *lines, *crossLines;
    std::vector<SparseElement **> *active, *crossActive;
    std::vector<int> *markowitz, *elements, *intToExt, *extToInt;
    UnsortedLines *crossUnsorted;
    SparseElement *SparseElement::*next;      // along a line of this axis
    SparseElement *SparseElement::*crossNext; // along a crossing line
    int SparseElement::*number;               // the element's line on this axis
    int SparseElement::*position;             // its place along that line
  };
  Axis rowAxis();
  Axis columnAxis();
  void exchangeLines(const Axis &axis, int l1, int l2);
  void exchangeAcross(const Axis &axis, int crossing, int k1, SparseElement *e1, int k2,
                      SparseElement *e2);
  void refreshDiagonal(int i);
  void eliminate(SparseElement *pivot, int step);
  SparseElement *createFillIn(int row, int col, SparseElement **colLink, SparseElement **rowLink);
  void mergeFillIns(Line &line, std::vector<Entry> &fillIns);
  void updateMarkowitz(SparseElement *pivot);
  void finishStep(SparseElement *pivot);

  std::unique_ptr<ElementSource> source_;
  int maxSize_;
  bool created_ = false;
  int size_ = 0;
  int allocated_ = 0;
  int translated_ = 0; // external indices given internal ones so far
  std::vector<SparseElement *> diag_, firstInRow_, firstInCol_;
  // While factoring: the link before the first element of each row (each
  // column) that lies in the remaining matrix, so that exchanges and
  // fill-ins never walk the finished part of a line.
  std::vector<SparseElement **> activeInRow_, activeInCol_;
  std::vector<Line> rowLines_, colLines_;
  // Scratch of the elimination: a column's entries with its fill-ins, and
  // the fill-ins of each row below the pivot in column order.
  std::vector<Entry> merged_;
  std::vector<std::vector<Entry>> rowFillIns_;
  std::vector<int> extToIntRow_, extToIntCol_, intToExtRow_, intToExtCol_;
  std::vector<int> markowitzRow_, markowitzCol_;
  // The elements in each row and column, fill-ins included, kept as they
  // are made and exchanged, so that counting needs no walk of the lines.
  std::vector<int> rowElements_, colElements_;
  std::vector<int> markowitzProd_; // entries 0 and steps + 1 are sentinels
  // While factoring: the product of every index that has a diagonal
  // element (None for the others), for the quick diagonal search.
  LeastValueTree diagonalProducts_;
  int singletons_ = 0;
  std::vector<double> intermediate_;
  double relThreshold_ = 1e-3;
  double absThreshold_ = 0.0;
  bool needsOrdering_ = true;
  bool rowsLinked_ = false;
  UnsortedLines unsortedRows_, unsortedCols_;
  std::vector<SparseElement *> sortScratch_;
  bool factored_ = false;
  int fillIns_ = 0;
  int singularRow_ = 0, singularCol_ = 0;
  SparseElement *trash_ = nullptr;
};

} // namespace qorsim

#endif
