// The command-line tool's memory for large blocks: whole 2 MiB pages where
// the system gives them on request, small blocks from the C heap.
//
// An encoded 10 MiB attachment is 14 MB of lines that are all written
// once, right after they are reserved. In 4 KiB pages that is some 3,500
// first touches, each a page fault, and on a virtual machine each fault is
// an exit to the hypervisor: those faults cost several times the encoding
// itself. In 2 MiB pages it is seven.
#ifndef BILLPOST_TOOLS_HUGE_PAGE_MEMORY_H
#define BILLPOST_TOOLS_HUGE_PAGE_MEMORY_H

#include <sys/mman.h>

#include <cstddef>
#include <cstdint>
#include <memory_resource>
#include <new>

namespace billpost_tools {

class HugePageMemory final : public std::pmr::memory_resource {
public:
  static constexpr std::size_t HugePage = std::size_t(2) << 20;
  // Smaller blocks would waste most of a page.
  static constexpr std::size_t MappedFrom = std::size_t(1) << 20;

private:
  static std::size_t roundUp(std::size_t value, std::size_t step) {
    return (value + step - 1) / step * step;
  }

  void *do_allocate(std::size_t bytes, std::size_t alignment) override {
    if (bytes < MappedFrom)
      return std::pmr::new_delete_resource()->allocate(bytes, alignment);
    // One page more than needed, so the block can start on a page boundary.
    std::size_t length = roundUp(bytes, HugePage) + HugePage;
    void *mapped =
        mmap(nullptr, length, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapped == MAP_FAILED)
      throw std::bad_alloc();
    auto base = reinterpret_cast<std::uintptr_t>(mapped);
    auto start = roundUp(base, HugePage);
    // The parts before and after the aligned block go back at once.
    if (start > base)
      munmap(mapped, start - base);
    std::size_t kept = roundUp(bytes, HugePage);
    if (base + length > start + kept)
      munmap(reinterpret_cast<void *>(start + kept), base + length - start - kept);
    madvise(reinterpret_cast<void *>(start), kept, MADV_HUGEPAGE);
    return reinterpret_cast<void *>(start);
  }

  void do_deallocate(void *block, std::size_t bytes, std::size_t alignment) override {
    if (bytes < MappedFrom)
      std::pmr::new_delete_resource()->deallocate(block, bytes, alignment);
    else
      munmap(block, roundUp(bytes, HugePage));
  }

  bool do_is_equal(const std::pmr::memory_resource &other) const noexcept override {
    return this == &other;
  }
};

} // namespace billpost_tools

#endif
