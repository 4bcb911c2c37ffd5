// Import redirection and the counting stand-ins of the allocation probe.
#include "platform/plugin-host/win32/allocation-probe.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace plugin_host {

AllocationProbe *AllocationProbe::active_;

namespace {

// The import slot of module through which it calls the named function of
// the named library, or null.
void **importSlot(HMODULE module, const char *library, const char *function) {
  auto *base = reinterpret_cast<std::uint8_t *>(module);
  auto *dos = reinterpret_cast<IMAGE_DOS_HEADER *>(base);
  if (!module || dos->e_magic != IMAGE_DOS_SIGNATURE)
    return nullptr;
  auto *nt = reinterpret_cast<IMAGE_NT_HEADERS *>(base + dos->e_lfanew);
  const IMAGE_DATA_DIRECTORY &directory =
      nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  if (!directory.VirtualAddress)
    return nullptr;
  for (auto *import = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR *>(base + directory.VirtualAddress);
       import->Name; ++import) {
    if (_stricmp(reinterpret_cast<const char *>(base + import->Name), library) != 0)
      continue;
    auto *names = reinterpret_cast<IMAGE_THUNK_DATA *>(
        base + (import->OriginalFirstThunk ? import->OriginalFirstThunk : import->FirstThunk));
    auto *slots = reinterpret_cast<IMAGE_THUNK_DATA *>(base + import->FirstThunk);
    for (; names->u1.AddressOfData; ++names, ++slots) {
      if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal))
        continue;
      auto *byName = reinterpret_cast<IMAGE_IMPORT_BY_NAME *>(base + names->u1.AddressOfData);
      if (std::strcmp(reinterpret_cast<const char *>(byName->Name), function) == 0)
        return reinterpret_cast<void **>(&slots->u1.Function);
    }
  }
  return nullptr;
}

bool redirect(HMODULE module, const char *library, const char *function, void *replacement) {
  void **slot = importSlot(module, library, function);
  if (!slot)
    return false;
  DWORD previous = 0;
  if (!VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &previous))
    return false;
  *slot = replacement;
  VirtualProtect(slot, sizeof *slot, previous, &previous);
  return true;
}

template <typename Function> void *address(Function function) {
  return reinterpret_cast<void *>(function);
}

// The guard's pages: one reserved range, handed out from its start and
// never reused. Blocks smaller than a bitmap row or two stay on the heap.
const std::size_t guardedMinimum = 256;
const std::size_t pageBytes = 4096;
std::uint8_t *arenaBase, *arenaNext, *arenaEnd;
std::map<void *, std::size_t> guardedBlocks;
PVOID faultHandler;
HMODULE guardedModule;

bool reserveArena() {
  if (arenaBase)
    return true;
  std::size_t bytes = sizeof(void *) == 8 ? (std::size_t(1) << 32) : (std::size_t(256) << 20);
  arenaBase = static_cast<std::uint8_t *>(VirtualAlloc(nullptr, bytes, MEM_RESERVE, PAGE_NOACCESS));
  arenaNext = arenaBase;
  arenaEnd = arenaBase ? arenaBase + bytes : nullptr;
  return arenaBase != nullptr;
}

std::size_t pagesOf(std::size_t bytes) { return (bytes + pageBytes - 1) / pageBytes * pageBytes; }

void *allocateBlock(std::size_t bytes, bool clear) {
  if (bytes >= guardedMinimum && reserveArena() &&
      std::size_t(arenaEnd - arenaNext) >= pagesOf(bytes)) {
    void *data = VirtualAlloc(arenaNext, pagesOf(bytes), MEM_COMMIT, PAGE_READWRITE);
    if (data) {
      arenaNext += pagesOf(bytes);
      guardedBlocks[data] = bytes; // committed pages read as zeros
      return data;
    }
  }
  return clear ? std::calloc(bytes, 1) : std::malloc(bytes);
}

// A freed guarded block is filled and its pages taken away; its range
// stays reserved, so its addresses are never handed out again.
void releaseBlock(void *data) {
  auto block = guardedBlocks.find(data);
  if (block == guardedBlocks.end()) {
    std::free(data);
    return;
  }
  std::memset(data, 0xDD, block->second);
  VirtualFree(data, pagesOf(block->second), MEM_DECOMMIT);
  guardedBlocks.erase(block);
}

void *reallocateBlock(void *data, std::size_t bytes) {
  auto block = data ? guardedBlocks.find(data) : guardedBlocks.end();
  if (block == guardedBlocks.end() && bytes < guardedMinimum)
    return std::realloc(data, bytes);
  if (!bytes) {
    releaseBlock(data);
    return nullptr;
  }
  void *moved = allocateBlock(bytes, false);
  if (moved && data) {
    std::size_t old = block != guardedBlocks.end() ? block->second : _msize(data);
    std::memcpy(moved, data, old < bytes ? old : bytes);
    releaseBlock(data);
  }
  return moved;
}

// What Pixtune frees or resizes once the probe has gone (its static state,
// at unload) may still be a guarded block.
void *reallocateLate(void *data, std::size_t bytes) {
  if (data && guardedBlocks.count(data))
    return reallocateBlock(data, bytes);
  return std::realloc(data, bytes);
}

// A read or write of a freed block: reported, and the run ends there.
LONG CALLBACK onFault(EXCEPTION_POINTERS *info) {
  const EXCEPTION_RECORD &record = *info->ExceptionRecord;
  if (record.ExceptionCode != EXCEPTION_ACCESS_VIOLATION || record.NumberParameters < 2 ||
      !AllocationProbe::InFreedBlock(
          reinterpret_cast<const void *>(record.ExceptionInformation[1])))
    return EXCEPTION_CONTINUE_SEARCH;
  std::printf(
      "alloc.freed.touched=%llx\n",
      static_cast<unsigned long long>(reinterpret_cast<std::uintptr_t>(record.ExceptionAddress) -
                                      reinterpret_cast<std::uintptr_t>(guardedModule)));
  std::fflush(stdout);
  TerminateProcess(GetCurrentProcess(), 4);
  return EXCEPTION_CONTINUE_SEARCH;
}

} // namespace

bool AllocationProbe::InFreedBlock(const void *address) {
  auto *at = static_cast<const std::uint8_t *>(address);
  if (!arenaBase || at < arenaBase || at >= arenaNext)
    return false;
  MEMORY_BASIC_INFORMATION page{};
  return VirtualQuery(address, &page, sizeof page) && page.State != MEM_COMMIT;
}

const char kernel[] = "KERNEL32.dll";
const char runtime[] = "msvcrt.dll";

AllocationProbe::AllocationProbe(HMODULE adapter, HMODULE pixtune, int failAt,
                                 std::set<std::uintptr_t> runtimeSites, bool guardFreed)
    : adapter_(adapter), pixtune_(pixtune), failAt_(failAt), runtimeSites_(std::move(runtimeSites)),
      guardFreed_(guardFreed) {
  active_ = this;
  if (guardFreed_) {
    guardedModule = pixtune_;
    faultHandler = AddVectoredExceptionHandler(1, onFault);
  }
  installed_ = redirect(pixtune_, kernel, "GlobalAlloc", address(pixtuneAlloc)) &&
               redirect(pixtune_, kernel, "GlobalFree", address(pixtuneFree)) &&
               redirect(pixtune_, runtime, "malloc", address(pixtuneMalloc)) &&
               redirect(pixtune_, runtime, "calloc", address(pixtuneCalloc)) &&
               redirect(pixtune_, runtime, "realloc", address(pixtuneRealloc)) &&
               redirect(pixtune_, runtime, "free", address(pixtuneRelease)) &&
               redirect(adapter_, kernel, "GlobalAlloc", address(adapterAlloc)) &&
               redirect(adapter_, kernel, "GlobalFree", address(adapterFree));
}

AllocationProbe::~AllocationProbe() {
  redirect(pixtune_, kernel, "GlobalAlloc", address(GlobalAlloc));
  redirect(pixtune_, kernel, "GlobalFree", address(GlobalFree));
  redirect(pixtune_, runtime, "malloc", address(std::malloc));
  redirect(pixtune_, runtime, "calloc", address(std::calloc));
  bool guardedLeft = !guardedBlocks.empty();
  redirect(pixtune_, runtime, "realloc", address(guardedLeft ? reallocateLate : std::realloc));
  redirect(pixtune_, runtime, "free", address(guardedLeft ? releaseBlock : std::free));
  redirect(adapter_, kernel, "GlobalAlloc", address(GlobalAlloc));
  redirect(adapter_, kernel, "GlobalFree", address(GlobalFree));
  // Guarded blocks Pixtune still holds stay mapped; freed ones stay
  // reserved, so their addresses are never handed out again.
  if (faultHandler)
    RemoveVectoredExceptionHandler(faultHandler);
  faultHandler = nullptr;
  active_ = nullptr;
}

std::uint64_t AllocationProbe::fingerprint(HGLOBAL block) {
  SIZE_T bytes = GlobalSize(block);
  const auto *data = static_cast<const std::uint8_t *>(GlobalLock(block));
  std::uint64_t hash = 1469598103934665603ull ^ bytes;
  for (SIZE_T i = 0; data && i < bytes; ++i)
    hash = (hash ^ data[i]) * 1099511628211ull;
  if (data)
    GlobalUnlock(block);
  return hash;
}

std::uintptr_t AllocationProbe::Offset(void *caller) const {
  return reinterpret_cast<std::uintptr_t>(caller) - reinterpret_cast<std::uintptr_t>(pixtune_);
}

std::vector<std::uintptr_t> AllocationProbe::LiveCallers() const {
  std::vector<std::uintptr_t> callers;
  for (const auto &block : pixtuneBlocks_)
    callers.push_back(block.second);
  for (const auto &block : pixtuneHeap_)
    callers.push_back(block.second);
  return callers;
}

bool AllocationProbe::Own(void *caller) const { return runtimeSites_.count(Offset(caller)) == 0; }

// Counts one of Pixtune's allocations; false when this one must fail.
bool AllocationProbe::Admit(void *caller) {
  // Pixtune's first allocation comes after the adapter filled the bitmap
  // and before anything could turn it.
  if (calls_ == 0) {
    for (HGLOBAL block : adapterBlocks_)
      if (!bitmap_ || GlobalSize(block) > GlobalSize(bitmap_))
        bitmap_ = block;
    if (bitmap_) {
      bitmapFingerprint_ = fingerprint(bitmap_);
      watched_ = true;
    }
  }
  if (++calls_ != failAt_)
    return true;
  failed_ = true;
  failedCaller_ = Offset(caller);
  return false;
}

HGLOBAL WINAPI AllocationProbe::pixtuneAlloc(UINT flags, SIZE_T bytes) {
  AllocationProbe &self = *active_;
  if (!self.Own(__builtin_return_address(0)))
    return GlobalAlloc(flags, bytes);
  if (!self.Admit(__builtin_return_address(0))) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  HGLOBAL block = GlobalAlloc(flags, bytes);
  if (block)
    self.pixtuneBlocks_[block] = self.Offset(__builtin_return_address(0));
  return block;
}

HGLOBAL WINAPI AllocationProbe::pixtuneFree(HGLOBAL block) {
  active_->pixtuneBlocks_.erase(block);
  return GlobalFree(block);
}

void *AllocationProbe::pixtuneMalloc(std::size_t bytes) {
  AllocationProbe &self = *active_;
  if (!self.Own(__builtin_return_address(0)))
    return std::malloc(bytes);
  if (!self.Admit(__builtin_return_address(0)))
    return nullptr;
  void *data = self.guardFreed_ ? allocateBlock(bytes, false) : std::malloc(bytes);
  if (data)
    self.pixtuneHeap_[data] = self.Offset(__builtin_return_address(0));
  return data;
}

void *AllocationProbe::pixtuneCalloc(std::size_t count, std::size_t bytes) {
  AllocationProbe &self = *active_;
  if (count && bytes > SIZE_MAX / count)
    return nullptr;
  if (!self.Own(__builtin_return_address(0)))
    return std::calloc(count, bytes);
  if (!self.Admit(__builtin_return_address(0)))
    return nullptr;
  void *data = self.guardFreed_ ? allocateBlock(count * bytes, true) : std::calloc(count, bytes);
  if (data)
    self.pixtuneHeap_[data] = self.Offset(__builtin_return_address(0));
  return data;
}

void *AllocationProbe::pixtuneRealloc(void *data, std::size_t bytes) {
  AllocationProbe &self = *active_;
  if (!self.Own(__builtin_return_address(0)) && !self.pixtuneHeap_.count(data))
    return reallocateLate(data, bytes);
  if (bytes && !self.Admit(__builtin_return_address(0)))
    return nullptr; // the old block stays
  void *moved = self.guardFreed_ ? reallocateBlock(data, bytes) : reallocateLate(data, bytes);
  if (moved || !bytes) {
    if (data)
      self.pixtuneHeap_.erase(data);
    if (moved)
      self.pixtuneHeap_[moved] = self.Offset(__builtin_return_address(0));
  }
  return moved;
}

void AllocationProbe::pixtuneRelease(void *data) {
  active_->pixtuneHeap_.erase(data);
  releaseBlock(data);
}

HGLOBAL WINAPI AllocationProbe::adapterAlloc(UINT flags, SIZE_T bytes) {
  HGLOBAL block = GlobalAlloc(flags, bytes);
  if (block)
    active_->adapterBlocks_.insert(block);
  return block;
}

HGLOBAL WINAPI AllocationProbe::adapterFree(HGLOBAL block) {
  AllocationProbe &self = *active_;
  self.adapterBlocks_.erase(block);
  if (block && block == self.bitmap_) {
    self.compared_ = true;
    self.changed_ = fingerprint(block) != self.bitmapFingerprint_;
    self.bitmap_ = nullptr;
  }
  return GlobalFree(block);
}

} // namespace plugin_host
