// QorLib02's three shape-side controls: the shared component control
// (passive-lib-control) with the semiconductor kinds' templates, model
// library items, pins and sheets.
#ifndef SEMI_LIB_WIN32_SEMI_CONTROLS_H
#define SEMI_LIB_WIN32_SEMI_CONTROLS_H

#include <windows.h>

namespace semi_win32 {

HRESULT createDiodeOcx(REFIID riid, void **out);
HRESULT createBjtNpnOcx(REFIID riid, void **out);
HRESULT createBjtPnpOcx(REFIID riid, void **out);

} // namespace semi_win32

#endif
