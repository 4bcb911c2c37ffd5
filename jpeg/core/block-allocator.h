// Where the compressor's large blocks come from: bitmaps, coefficient planes
// and memory streams. The DLL backs this with movable global memory; the
// default here uses the C heap; tests substitute one that fails on the Nth
// request to prove that every failure becomes a clean error.
#ifndef JPEG_CORE_BLOCK_ALLOCATOR_H
#define JPEG_CORE_BLOCK_ALLOCATOR_H

#include <cstddef>
#include <cstdint>

namespace pixtune {

class BlockAllocator {
public:
  // Each returns null on failure; reallocate keeps the old block then.
  virtual void *allocate(std::size_t bytes) = 0;
  virtual void *reallocate(void *block, std::size_t bytes) = 0;
  virtual void release(void *block) = 0;
  // A block of zero bytes, or null. The C heap's form leaves pages fresh
  // from the system as they are (zero already) rather than writing them all
  // before the caller writes them again.
  virtual void *allocateZeroed(std::size_t bytes);

protected:
  ~BlockAllocator() = default;
};

// The C heap. Blocks are not cleared: the coefficient planes are written
// before they are read, bitmaps ask for zeroed blocks, and memory streams
// clear what they hand out themselves.
BlockAllocator &defaultAllocator();

// The largest block the compressor asks for. The shipped DLL is 32-bit, so
// every size is computed in 64 bits and refused above this, on every build
// alike, instead of wrapping.
constexpr std::uint64_t MaxBlockBytes = 0x7FFFFFFFu;

// Sums and products of block sizes that report overflow instead of wrapping.
// Both return false when the result passes MaxBlockBytes.
bool addSize(std::uint64_t a, std::uint64_t b, std::uint64_t &result);
bool multiplySize(std::uint64_t a, std::uint64_t b, std::uint64_t &result);

// Allocates through allocator (cleared when zeroed) or throws TVMError
// 1005; bytes above MaxBlockBytes are refused the same way.
void *allocateOrThrow(BlockAllocator &allocator, std::uint64_t bytes, bool zeroed = false);

} // namespace pixtune

#endif
