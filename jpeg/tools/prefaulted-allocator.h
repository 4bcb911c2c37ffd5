// The command-line tools' block allocator: large blocks are mapped with
// their pages populated in the one call, small ones come from the C heap.
//
// The bitmap and the coefficient planes are written whole right after they
// are allocated, so every page of them is touched at once anyway; populating
// them in the mapping call spares a page fault per 4 KiB page, which is
// what a whole short run of the tool mostly paid for (on a virtual machine
// each fault is an exit to the hypervisor).
#ifndef JPEG_TOOLS_PREFAULTED_ALLOCATOR_H
#define JPEG_TOOLS_PREFAULTED_ALLOCATOR_H

#include "jpeg/core/block-allocator.h"

#include <sys/mman.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace pixtune_tools {

class PrefaultedAllocator final : public pixtune::BlockAllocator {
public:
  void *allocate(std::size_t bytes) override {
    if (bytes < MappedFrom)
      return tag(std::malloc(bytes + Header), Heap, bytes);
    // Whole 2 MiB pages where the system gives them on request: one
    // mapping entry instead of 512 to set up on first touch.
    std::size_t length = roundUp(bytes + Header, HugePage) + HugePage;
    void *mapped =
        mmap(nullptr, length, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapped == MAP_FAILED)
      return nullptr;
    auto *start = reinterpret_cast<unsigned char *>(
        roundUp(reinterpret_cast<std::uintptr_t>(mapped), HugePage));
    madvise(start, roundUp(bytes + Header, HugePage), MADV_HUGEPAGE);
    auto *words = reinterpret_cast<std::size_t *>(start);
    words[2] = static_cast<std::size_t>(start - static_cast<unsigned char *>(mapped));
    words[3] = length;
    return tag(start, Mapped, bytes);
  }
  void *reallocate(void *block, std::size_t bytes) override {
    if (!block)
      return allocate(bytes);
    void *grown = allocate(bytes);
    if (!grown)
      return nullptr;
    std::memcpy(grown, block, std::min(bytes, sizeOf(block)));
    release(block);
    return grown;
  }
  void release(void *block) override {
    if (!block)
      return;
    auto *start = static_cast<unsigned char *>(block) - Header;
    if (kindOf(block) == Mapped) {
      auto *words = reinterpret_cast<std::size_t *>(start);
      munmap(start - words[2], words[3]);
    } else
      std::free(start);
  }

private:
  enum Kind : std::size_t { Heap, Mapped };
  static constexpr std::size_t MappedFrom = 256 * 1024;
  static constexpr std::size_t HugePage = 2 * 1024 * 1024;
  // Kind, size and (mapped) the mapping's offset and length ahead of the
  // block; 32 keeps the block's alignment.
  static constexpr std::size_t Header = 32;

  static std::size_t roundUp(std::size_t value, std::size_t step) {
    return (value + step - 1) / step * step;
  }

  static void *tag(void *start, Kind kind, std::size_t bytes) {
    if (!start)
      return nullptr;
    auto *words = static_cast<std::size_t *>(start);
    words[0] = kind;
    words[1] = bytes;
    return static_cast<unsigned char *>(start) + Header;
  }
  static std::size_t kindOf(void *block) {
    return reinterpret_cast<std::size_t *>(static_cast<unsigned char *>(block) - Header)[0];
  }
  static std::size_t sizeOf(void *block) {
    return reinterpret_cast<std::size_t *>(static_cast<unsigned char *>(block) - Header)[1];
  }
};

} // namespace pixtune_tools

#endif
