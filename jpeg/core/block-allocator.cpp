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
  void *allocateZeroed(std::size_t bytes) override { return std::calloc(bytes ? bytes : 1, 1); }
};

} // namespace

void *BlockAllocator::allocateZeroed(std::size_t bytes) {
  void *block = allocate(bytes);
  if (block)
    std::memset(block, 0, bytes);
  return block;
}

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

void *allocateOrThrow(BlockAllocator &allocator, std::uint64_t bytes, bool zeroed) {
  if (bytes > MaxBlockBytes)
    throw TVMError(ErrorOutOfMemory);
  auto size = static_cast<std::size_t>(bytes);
  void *block = zeroed ? allocator.allocateZeroed(size) : allocator.allocate(size);
  if (!block)
    throw TVMError(ErrorOutOfMemory);
  return block;
}

} // namespace pixtune
