// The export flow.
#include "jpeg/win32/run-export.h"

#include "jpeg/core/compress-and-write.h"
#include "jpeg/core/export-names.h"
#include "jpeg/core/host-bitmap-check.h"
#include "jpeg/core/host-signature.h"
#include "jpeg/core/step-progress.h"
#include "jpeg/win32/export-dialogs.h"
#include "jpeg/win32/main-window.h"
#include "jpeg/win32/registry-settings.h"
#include "jpeg/win32/script-parameters.h"
#include "jpeg/win32/windows-platform.h"

#include <cstdint>

namespace pixtune {

namespace {

// The bytes of the block the bitmap lives in, when it is a global memory
// block as the adapters make it; SIZE_MAX when that cannot be told.
std::size_t bitmapBlockBytes(void *dib) {
  HGLOBAL block = GlobalHandle(dib);
  SIZE_T bytes = block ? GlobalSize(block) : 0;
  return bytes ? static_cast<std::size_t>(bytes) : SIZE_MAX;
}

int writeFiles(std::uint8_t *dib, std::size_t dibBytes, const ExportParams &params,
               TSettings &settings, const std::string &path) {
  THostProgress progress(params.progressProc);
  return CompressAndWrite(dib, dibBytes, &progress, settings, FullPathName(path), windowsFileApi(),
                          globalMemoryAllocator());
}

} // namespace

int RunExport(ExportParams &params, HINSTANCE module) {
  auto *dib = static_cast<std::uint8_t *>(params.dib);
  std::size_t dibBytes = 0;
  // The header must fit the mode and the block before any pixel is read.
  if (!CheckHostBitmap(dib, bitmapBlockBytes(dib), dibBytes))
    return StatusBadArguments;

  TSettings settings;
  LoadSettings(settings);
  settings.Validate();
  bool noDialog = ReadScriptParameters(params.descriptorParameters, params.handleProcs, settings);
  settings.Validate();
  if (!settings.options.saveCrop) {
    settings.options.cropLeft = 0;
    settings.options.cropTop = 0;
    settings.options.cropRight = 100;
    settings.options.cropBottom = 100;
  }

  int status = StatusOk;
  if (!noDialog) {
    HostDrawing host{params.displayPixels, IsKnownHost(RunningHostSignature())};
    TMainWindow window(dib, dibBytes, host, module, settings);
    INT_PTR answer = window.RunModal(params.hwnd);
    // A window that cannot be shown is a failure, not the user's cancel.
    if (answer == -1)
      status = StatusException;
    else if (answer != MainWindowOk)
      status = StatusCancelled;
  }
  if (status == StatusOk && noDialog) {
    settings.Validate();
    status = writeFiles(dib, dibBytes, params, settings,
                        ScriptedOutputPath(settings.lastPath, params.name));
  } else if (status == StatusOk) {
    std::string path, folder = settings.lastPath;
    if (AskSaveFileName(module, params.hwnd, path, folder, DefaultJpegName(params.name))) {
      settings.Validate();
      status = writeFiles(dib, dibBytes, params, settings, path);
      settings.lastPath = folder;
    } else {
      // A cancelled save dialog is a cancelled export, not a success.
      status = StatusCancelled;
    }
  }

  WriteScriptParameters(params.descriptorParameters, params.handleProcs, settings);
  SaveSettings(settings);
  return status;
}

} // namespace pixtune
