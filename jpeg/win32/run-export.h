// The export flow behind EXPORT: check the bitmap, settings, scripted
// parameters, the window, the file name, the writing step, and recording
// and saving the settings.
#ifndef JPEG_WIN32_RUN_EXPORT_H
#define JPEG_WIN32_RUN_EXPORT_H

#include "jpeg/win32/export-entry/export-params.h"

namespace pixtune {

// Returns the export status (see compress-and-write.h).
int RunExport(ExportParams &params, HINSTANCE module);

} // namespace pixtune

#endif
