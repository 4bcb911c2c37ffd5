// One element of the circuit matrix and the pools the matrix takes its
// elements from. Elements live in blocks owned by the matrix and are freed
// only with it; the simulator server stores COM objects derived from
// SparseElement in the same blocks, so devices hold handles that are the
// elements themselves.
#ifndef CIRCUIT_SIM_SPARSE_ELEMENT_H
#define CIRCUIT_SIM_SPARSE_ELEMENT_H

#include <cstddef>
#include <memory>
#include <new>
#include <vector>

namespace qorsim {

struct SparseElement {
  double real = 0.0;
  double imag = 0.0; // always 0 here; it still counts in the magnitude
  int row = 0;       // internal indices
  int col = 0;
  SparseElement *nextInRow = nullptr; // to the right, rows sorted by column
  SparseElement *nextInCol = nullptr; // below, columns sorted by row
};

inline double magnitude(const SparseElement *e) {
  return (e->real < 0 ? -e->real : e->real) + (e->imag < 0 ? -e->imag : e->imag);
}

// Where a matrix gets its elements: blocks of ready-made elements, so that
// building and filling the matrix does not allocate per element.
class ElementSource {
public:
  virtual ~ElementSource() = default;
  // Prepares the two pools: elementCount ordinary elements, fillInCount
  // fill-ins in the first blocks.
  virtual void open(int elementCount, int fillInCount) = 0;
  virtual SparseElement *takeElement() = 0;
  virtual SparseElement *takeFillIn() = 0;
  // Zeroes the values of every element taken so far, in the order they lie
  // in memory.
  virtual void zeroValues() = 0;
  // Frees every block taken so far.
  virtual void close() = 0;
};

// Pools of Element (SparseElement or a class derived from it): the first
// block of each pool has room for what open() asks for, later ones for 31
// elements. A block is raw storage whose elements are constructed as they
// are taken: a matrix reserves far more than it ends up using, and
// constructing (and, in the simulator server, counting) every reserved
// element, and touching every page of it, would cost more than the solve.
template <typename Element> class ElementPools final : public ElementSource {
public:
  void open(int elementCount, int fillInCount) override {
    close();
    addBlock(elements_, elementCount);
    addBlock(fillIns_, fillInCount);
  }
  SparseElement *takeElement() override { return take(elements_); }
  SparseElement *takeFillIn() override { return take(fillIns_); }
  void zeroValues() override {
    for (const std::unique_ptr<Block> &block : blocks_)
      block->zeroValues();
  }
  void close() override {
    blocks_.clear();
    elements_ = Pool{};
    fillIns_ = Pool{};
  }

private:
  static const int LaterBlock = 31;

  class Block {
  public:
    explicit Block(int capacity)
        : storage_(static_cast<Element *>(
              ::operator new(sizeof(Element) * static_cast<std::size_t>(capacity)))),
          capacity_(capacity) {}
    ~Block() {
      while (used_ > 0)
        storage_[--used_].~Element();
      ::operator delete(storage_);
    }
    Block(const Block &) = delete;
    Block &operator=(const Block &) = delete;
    bool full() const { return used_ == capacity_; }
    void zeroValues() {
      for (int i = 0; i < used_; ++i) {
        SparseElement &e = storage_[i];
        e.real = e.imag = 0.0;
      }
    }
    Element *take() {
      Element *element = new (storage_ + used_) Element;
      ++used_;
      return element;
    }

  private:
    Element *storage_;
    int capacity_;
    int used_ = 0; // storage_[0, used_) are constructed
  };

  struct Pool {
    Block *block = nullptr;
  };
  void addBlock(Pool &pool, int count) {
    blocks_.push_back(std::make_unique<Block>(count));
    pool.block = blocks_.back().get();
  }
  SparseElement *take(Pool &pool) {
    if (!pool.block || pool.block->full())
      addBlock(pool, LaterBlock);
    return pool.block->take();
  }

  std::vector<std::unique_ptr<Block>> blocks_; // everything allocated
  Pool elements_, fillIns_;
};

} // namespace qorsim

#endif
