// The C-heap allocator and the checked size arithmetic.
#include "jpeg/core/block-allocator.h"

#include "jpeg/core/jpeg-errors.h"

#include <cstdlib>
#include <cstring>

namespace pixtune {

namespace {

class HeapAllocator final : public BlockAllocator {
public:
  constexpr HeapAllocator() = default;
  void *allocate(std::size_t bytes) override { return std::malloc(bytes ? bytes : 1); }
  void *reallocate(void *block, std::size_t bytes) override {
    return std::realloc(block, bytes ? bytes : 1);
  }
  void release(void *block) override { std::free(block); }
};

} // namespace

BlockAllocator &defaultAllocator() {
  static HeapAllocator heap; // stateless, constant-initialised
  return heap;
}

bool addSize(std::uint64_t a, std::uint64_t b, std::uint64_t &result) {
  if (a > MaxBlockBytes || b > MaxBlockBytes - a)
    return false;
  result = a + b;
  return true;
}

bool multiplySize(std::uint64_t a, std::uint64_t b, std::uint64_t &result) {
  if (a != 0 && b > MaxBlockBytes / a)
    return false;
  result = a * b;
  return true;
}

void *allocateOrThrow(BlockAllocator &allocator, std::uint64_t bytes) {
  if (bytes > MaxBlockBytes)
    throw TVMError(ErrorOutOfMemory);
  void *block = allocator.allocate(static_cast<std::size_t>(bytes));
  if (!block)
    throw TVMError(ErrorOutOfMemory);
  return block;
}

} // namespace pixtune
