// The plug-in entry of both adapters. PIXTUNE_FILTER_ADAPTER selects the
// filter (1) or the export (0) plug-in; everything else is shared.
#include "plugin-adapters/win32/adapter-starts.h"
#include "plugin-adapters/win32/pixtune-binding.h"

#include <cstring>

#ifndef PIXTUNE_FILTER_ADAPTER
#error "PIXTUNE_FILTER_ADAPTER must be 1 (filter) or 0 (export)"
#endif

namespace {

constexpr bool isFilter = PIXTUNE_FILTER_ADAPTER != 0;
constexpr std::uint32_t stateTag = plugin::fourCC("OTOF");

// The state of the current call, restored from and saved to the block
// that the host keeps in the plug-in's data slot between calls.
struct CallState {
  std::int16_t result;
  void *record;
};
struct DataBlock {
  CallState *state;
  std::uint32_t tag;
};

CallState current; // the call under way; one at a time on the host's thread

// The block of the data slot, allocated on the first call; null when the
// memory cannot be had.
DataBlock *dataBlock(std::intptr_t *data) {
  auto *existing = reinterpret_cast<DataBlock *>(*data);
  if (existing && existing->tag == stateTag)
    return existing;
  current = CallState();
  HGLOBAL outer = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DataBlock));
  HGLOBAL inner = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(CallState));
  auto *block = outer ? static_cast<DataBlock *>(GlobalLock(outer)) : nullptr;
  auto *state = inner ? static_cast<CallState *>(GlobalLock(inner)) : nullptr;
  if (!block || !state) {
    if (block)
      GlobalUnlock(outer);
    if (state)
      GlobalUnlock(inner);
    if (outer)
      GlobalFree(outer);
    if (inner)
      GlobalFree(inner);
    return nullptr;
  }
  block->state = state;
  block->tag = stateTag;
  *data = reinterpret_cast<std::intptr_t>(block);
  return block;
}

void showAbout() {
  int ignored = 0;
  adapters::pixtuneAbout()(GetActiveWindow(), &ignored);
}

std::int16_t runFilter(std::int16_t selector, plugin::FilterRecord *record) {
  switch (selector) {
  case plugin::filterSelectorAbout:
    showAbout();
    return plugin::noErr;
  case plugin::filterSelectorParameters:
  case plugin::filterSelectorPrepare:
  case plugin::filterSelectorFinish:
    return plugin::noErr;
  case plugin::filterSelectorStart:
    return adapters::DoFilterStart(record);
  case plugin::filterSelectorContinue:
    adapters::DoFilterContinue(record);
    return plugin::noErr;
  default:
    return plugin::filterBadParameters;
  }
}

std::int16_t runExport(std::int16_t selector, plugin::ExportRecord *record) {
  switch (selector) {
  case plugin::exportSelectorAbout:
    showAbout();
    return plugin::noErr;
  case plugin::exportSelectorStart:
    return adapters::DoExportStart(record);
  case plugin::exportSelectorContinue:
    adapters::DoExportContinue(record);
    return plugin::noErr;
  case plugin::exportSelectorPrepare:
    adapters::DoExportPrepare(record);
    return plugin::noErr;
  default:
    return plugin::noErr;
  }
}

} // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    DisableThreadLibraryCalls(module);
    // The host's load of the plug-in fails when Pixtune cannot be bound.
    return adapters::BindPixtune() ? TRUE : FALSE;
  }
  if (reason == DLL_PROCESS_DETACH)
    adapters::UnbindPixtune();
  return TRUE;
}

extern "C" void ENTRYPOINT(std::int16_t selector, void *record, std::intptr_t *data,
                           std::int16_t *result) {
  std::int16_t answer = plugin::noErr;
  try {
    DataBlock *block = data ? dataBlock(data) : nullptr;
    if (!block) {
      answer = plugin::memFullErr;
    } else {
      current = *block->state;
      current.record = record;
      current.result = isFilter ? runFilter(selector, static_cast<plugin::FilterRecord *>(record))
                                : runExport(selector, static_cast<plugin::ExportRecord *>(record));
      *block->state = current;
      answer = current.result;
    }
  } catch (...) {
    answer = isFilter ? plugin::filterBadParameters : plugin::exportBadParameters;
  }
  if (result)
    *result = answer;
}
