// The test host's watch over a plug-in's memory: Pixtune.dll's imports of
// GlobalAlloc, GlobalFree and the C heap's malloc, calloc, realloc and
// free, and the adapter's GlobalAlloc and GlobalFree, are redirected to
// counting stand-ins. Pixtune's n-th allocation can be made to fail;
// the blocks Pixtune leaves behind are counted; and the adapter's largest
// block when Pixtune first allocates (the host bitmap it hands Pixtune) is
// fingerprinted then and compared when the adapter frees it, so a bitmap
// not put back shows whatever ended the export. With the freed-block guard,
// Pixtune's heap blocks come from pages of their own that are never used
// again: freeing one fills it and takes its pages away, so a later read or
// write of it faults at once instead of seeing whatever took its place.
#ifndef PLATFORM_PLUGIN_HOST_ALLOCATION_PROBE_H
#define PLATFORM_PLUGIN_HOST_ALLOCATION_PROBE_H

#include <windows.h>

#include <cstdint>
#include <map>
#include <set>
#include <vector>

namespace plugin_host {

class AllocationProbe {
public:
  // failAt: the number of Pixtune's allocation that fails (0: none).
  // runtimeSites: return addresses (offsets from Pixtune's base) of the
  // calls by which the C and thread runtime linked into Pixtune allocate
  // for themselves (lazy per-thread and once-only state); those are
  // neither counted, failed nor watched, so that only Pixtune's own
  // handling of a failure is put to the test.
  AllocationProbe(HMODULE adapter, HMODULE pixtune, int failAt,
                  std::set<std::uintptr_t> runtimeSites, bool guardFreed = false);
  ~AllocationProbe();
  AllocationProbe(const AllocationProbe &) = delete;
  AllocationProbe &operator=(const AllocationProbe &) = delete;

  bool Installed() const { return installed_; }
  int Calls() const { return calls_; }
  bool Failed() const { return failed_; }
  // Where in Pixtune (offset from its base) the failed allocation and the
  // blocks still live were asked for.
  std::uintptr_t FailedCaller() const { return failedCaller_; }
  std::vector<std::uintptr_t> LiveCallers() const;
  // Pixtune's blocks not freed yet (those it made while watched).
  std::size_t Live() const { return pixtuneBlocks_.size() + pixtuneHeap_.size(); }
  // Whether the bitmap was fingerprinted, and compared at its release, and
  // whether it came back with other contents.
  bool Watched() const { return watched_; }
  bool Compared() const { return compared_; }
  bool Changed() const { return changed_; }
  // Guard: where Pixtune touched a freed block (offset of the faulting
  // instruction from Pixtune's base); reported and the process ended.
  static bool InFreedBlock(const void *address);

private:
  static HGLOBAL WINAPI pixtuneAlloc(UINT flags, SIZE_T bytes);
  static HGLOBAL WINAPI pixtuneFree(HGLOBAL block);
  static void *pixtuneMalloc(std::size_t bytes);
  static void *pixtuneCalloc(std::size_t count, std::size_t bytes);
  static void *pixtuneRealloc(void *data, std::size_t bytes);
  static void pixtuneRelease(void *data);
  static HGLOBAL WINAPI adapterAlloc(UINT flags, SIZE_T bytes);
  static HGLOBAL WINAPI adapterFree(HGLOBAL block);
  static std::uint64_t fingerprint(HGLOBAL block);
  bool Own(void *caller) const;
  bool Admit(void *caller);
  std::uintptr_t Offset(void *caller) const;

  static AllocationProbe *active_;
  HMODULE adapter_, pixtune_;
  int failAt_;
  std::set<std::uintptr_t> runtimeSites_;
  bool installed_ = false;
  int calls_ = 0;
  bool failed_ = false;
  bool watched_ = false, compared_ = false, changed_ = false;
  std::uintptr_t failedCaller_ = 0;
  std::map<HGLOBAL, std::uintptr_t> pixtuneBlocks_;
  std::map<void *, std::uintptr_t> pixtuneHeap_;
  std::set<HGLOBAL> adapterBlocks_;
  bool guardFreed_;
  HGLOBAL bitmap_ = nullptr;
  std::uint64_t bitmapFingerprint_ = 0;
};

} // namespace plugin_host

#endif
