// Pixtune.dll's exports. Nothing thrown inside may leave the module: each
// export turns any escaping exception into status -1.
#include "jpeg/core/compress-and-write.h"
#include "jpeg/win32/export-dialogs.h"
#include "jpeg/win32/export-entry/export-params.h"
#include "jpeg/win32/pixtune-module.h"
#include "jpeg/win32/run-export.h"

namespace {

template <typename Body> BOOL guardStatus(int *result, Body &&body) noexcept {
  int status;
  try {
    status = body();
  } catch (...) {
    status = pixtune::StatusException;
  }
  if (result)
    *result = status;
  return status == pixtune::StatusOk;
}

} // namespace

extern "C" BOOL WINAPI EXPORT(ExportParams *params, int *result) {
  return guardStatus(result, [&] {
    if (!params || !params->dib || !params->hwnd)
      return static_cast<int>(pixtune::StatusBadArguments);
    return pixtune::RunExport(*params, pixtune::moduleInstance());
  });
}

extern "C" BOOL WINAPI ABOUT(HWND parent, int *result) {
  return guardStatus(result, [&] {
    if (!parent)
      return static_cast<int>(pixtune::StatusBadArguments);
    pixtune::ShowAbout(pixtune::moduleInstance(), parent);
    return static_cast<int>(pixtune::StatusOk);
  });
}
