// Start, continue and prepare of the two adapters.
#include "plugin-adapters/win32/adapter-starts.h"

#include "plugin-adapters/win32/host-image.h"
#include "plugin-adapters/win32/pixtune-binding.h"

#include <algorithm>
#include <string>

namespace adapters {

namespace {

// Pixtune's export statuses.
enum : int { statusOk = 0, statusCannotCreate = 2, statusWriteFailed = 3, statusCancelled = 5 };

constexpr std::size_t MaxTitleBytes = 1024;

HWND parentWindow(const plugin::PlatformData *platform) {
  if (platform && platform->hwnd)
    return reinterpret_cast<HWND>(platform->hwnd);
  return GetActiveWindow();
}

bool offersTitle(const plugin::PropertyProcs *properties, const plugin::HandleProcs *handles) {
  return properties && properties->propertyProcsVersion == plugin::kCurrentPropertyProcsVersion &&
         properties->numPropertyProcs >= 2 && properties->getPropertyProc &&
         properties->setPropertyProc && handles &&
         handles->handleProcsVersion == plugin::kCurrentHandleProcsVersion &&
         handles->numHandleProcs >= 4 && handles->newProc && handles->disposeProc &&
         handles->getSizeProc && handles->setSizeProc;
}

bool hasLockCalls(const plugin::HandleProcs *handles) {
  return handles->numHandleProcs > 5 && handles->lockProc && handles->unlockProc;
}

// The document title as a terminated copy: the host's text holds as many
// bytes as its handle and need not end with a zero. The handle is
// unlocked and disposed of here.
bool fetchTitle(const plugin::PropertyProcs *properties, const plugin::HandleProcs *handles,
                std::string &title) {
  std::intptr_t simple = 0;
  plugin::HostHandle handle = nullptr;
  if (properties->getPropertyProc(plugin::propertySignature, plugin::propertyTitle, 0, &simple,
                                  &handle) != plugin::noErr ||
      !handle)
    return false;
  std::int32_t size = handles->getSizeProc(handle);
  bool suiteLock = hasLockCalls(handles);
  auto *text = static_cast<const char *>(suiteLock ? handles->lockProc(handle, 0)
                                                   : GlobalLock(static_cast<HGLOBAL>(handle)));
  if (text && size > 0) {
    std::size_t length = std::min<std::size_t>(static_cast<std::size_t>(size), MaxTitleBytes);
    title.assign(text, std::find(text, text + length, '\0'));
  }
  if (text && suiteLock)
    handles->unlockProc(handle);
  else if (text)
    GlobalUnlock(static_cast<HGLOBAL>(handle));
  handles->disposeProc(handle);
  return text != nullptr;
}

int callExport(void *dib, const plugin::PlatformData *platform, plugin::DisplayPixelsProc display,
               plugin::ProgressProc progress, plugin::PIDescriptorParameters *descriptor,
               plugin::HandleProcs *handles, const char *name) {
  ExportParams params = {dib, parentWindow(platform), display, progress, descriptor, handles, name};
  int status = -1;
  pixtuneExport()(&params, &status);
  return status;
}

// The host bitmap of the filter record's image. The filter has then asked
// for everything it needs, so its rectangles are cleared whatever the
// outcome.
plugin::OSErr BuildDibFromFilterRecord(plugin::FilterRecord *record, HostDib &dib) {
  ImageRequest request = {record->imageWidth,    record->imageHeight,        record->imageMode,
                          &record->inRect,       &record->inLoPlane,         &record->inHiPlane,
                          &record->inData,       &record->inRowBytes,        record->advanceState,
                          plugin::filterBadMode, plugin::filterBadParameters};
  plugin::OSErr result = record->imageMode == plugin::plugInModeGrayScale ||
                                 record->imageMode == plugin::plugInModeRGBColor
                             ? BuildHostDib(request, dib)
                             : plugin::filterBadMode;
  record->inRect = record->outRect = record->maskRect = plugin::PlugInRect{};
  return result;
}

// The host bitmap of the export record's image.
plugin::OSErr BuildDibFromExportRecord(plugin::ExportRecord *record, HostDib &dib) {
  ImageRequest request = {record->imageWidth,    record->imageHeight,        record->imageMode,
                          &record->theRect,      &record->loPlane,           &record->hiPlane,
                          &record->data,         &record->rowBytes,          record->advanceState,
                          plugin::exportBadMode, plugin::exportBadParameters};
  return BuildHostDib(request, dib);
}

} // namespace

plugin::OSErr HostResultForStatus(int status, plugin::OSErr badParameters) {
  switch (status) {
  case statusOk:
    return plugin::noErr;
  case statusCancelled:
    return plugin::userCanceledErr;
  case statusCannotCreate:
  case statusWriteFailed:
    return plugin::ioErr;
  default:
    return badParameters;
  }
}

plugin::OSErr DoFilterStart(plugin::FilterRecord *record) {
  if (!record)
    return plugin::filterBadParameters;
  std::string title;
  bool named = offersTitle(record->propertyProcs, record->handleProcs) &&
               fetchTitle(record->propertyProcs, record->handleProcs, title);

  HostDib dib;
  plugin::OSErr result = BuildDibFromFilterRecord(record, dib);
  if (result != plugin::noErr)
    return result;
  int status = callExport(dib.data(), record->platformData, record->displayPixels,
                          record->progressProc, record->descriptorParameters, record->handleProcs,
                          named ? title.c_str() : nullptr);
  return HostResultForStatus(status, plugin::filterBadParameters);
}

void DoFilterContinue(plugin::FilterRecord *record) {
  if (record)
    record->inRect = plugin::PlugInRect{};
}

plugin::OSErr DoExportStart(plugin::ExportRecord *record) {
  if (!record)
    return plugin::exportBadParameters;
  // The host's name has a length byte and no terminator; a terminated copy
  // leaves its record as it was.
  std::string fileName(reinterpret_cast<const char *>(record->filename + 1), record->filename[0]);
  HostDib dib;
  plugin::OSErr result = BuildDibFromExportRecord(record, dib);
  record->theRect = plugin::PlugInRect{};
  if (result != plugin::noErr)
    return result;
  int status =
      callExport(dib.data(), record->platformData, record->displayPixels, record->progressProc,
                 record->descriptorParameters, record->handleProcs, fileName.c_str());
  return HostResultForStatus(status, plugin::exportBadParameters);
}

void DoExportContinue(plugin::ExportRecord *record) {
  if (record)
    record->theRect = plugin::PlugInRect{};
}

void DoExportPrepare(plugin::ExportRecord *record) {
  if (record)
    record->maxData /= 2; // signed division: rounds toward zero
}

} // namespace adapters
