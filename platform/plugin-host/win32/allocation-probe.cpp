// Import redirection and the counting stand-ins of the allocation probe.
#include "platform/plugin-host/win32/allocation-probe.h"

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

} // namespace

const char kernel[] = "KERNEL32.dll";
const char runtime[] = "msvcrt.dll";

AllocationProbe::AllocationProbe(HMODULE adapter, HMODULE pixtune, int failAt,
                                 std::set<std::uintptr_t> runtimeSites)
    : adapter_(adapter), pixtune_(pixtune), failAt_(failAt),
      runtimeSites_(std::move(runtimeSites)) {
  active_ = this;
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
  redirect(pixtune_, runtime, "realloc", address(std::realloc));
  redirect(pixtune_, runtime, "free", address(std::free));
  redirect(adapter_, kernel, "GlobalAlloc", address(GlobalAlloc));
  redirect(adapter_, kernel, "GlobalFree", address(GlobalFree));
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
  void *data = std::malloc(bytes);
  if (data)
    self.pixtuneHeap_[data] = self.Offset(__builtin_return_address(0));
  return data;
}

void *AllocationProbe::pixtuneCalloc(std::size_t count, std::size_t bytes) {
  AllocationProbe &self = *active_;
  if (!self.Own(__builtin_return_address(0)))
    return std::calloc(count, bytes);
  if (!self.Admit(__builtin_return_address(0)))
    return nullptr;
  void *data = std::calloc(count, bytes);
  if (data)
    self.pixtuneHeap_[data] = self.Offset(__builtin_return_address(0));
  return data;
}

void *AllocationProbe::pixtuneRealloc(void *data, std::size_t bytes) {
  AllocationProbe &self = *active_;
  if (!self.Own(__builtin_return_address(0)) && !self.pixtuneHeap_.count(data))
    return std::realloc(data, bytes);
  if (bytes && !self.Admit(__builtin_return_address(0)))
    return nullptr; // the old block stays
  void *moved = std::realloc(data, bytes);
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
  std::free(data);
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
