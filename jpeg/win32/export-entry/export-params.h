// The record a plug-in adapter hands to Pixtune's EXPORT, and the two
// exports' signatures. The adapter fills the record on its stack; the
// bitmap stays the adapter's and Pixtune only reads it.
#ifndef JPEG_WIN32_EXPORT_ENTRY_EXPORT_PARAMS_H
#define JPEG_WIN32_EXPORT_ENTRY_EXPORT_PARAMS_H

#include "platform/plugin-host/core/plugin-interface.h"

#include <windows.h>

struct ExportParams {
  void *dib; // the locked host bitmap
  HWND hwnd; // parent of every dialog and message box
  plugin::DisplayPixelsProc displayPixels;
  plugin::ProgressProc progressProc;                    // used while the files are written
  plugin::PIDescriptorParameters *descriptorParameters; // or null
  plugin::HandleProcs *handleProcs;                     // or null
  const char *name; // document title or export file name, or null
};

// EXPORT(params, status) and ABOUT(parent, status): both return TRUE
// exactly when the status is 0.
using ExportEntry = BOOL(WINAPI *)(ExportParams *params, int *status);
using AboutEntry = BOOL(WINAPI *)(HWND parent, int *status);

#endif
