// What the ActiveX control framework keeps for one control: its extent, the
// client site the container gave it, the view's advise sink and the
// requires-save state that the persistence reports as dirty.
#ifndef PLATFORM_COM_CONTROL_STATE_H
#define PLATFORM_COM_CONTROL_STATE_H

#include "platform/base/win32/com-ptr.h"

#include <windows.h>
#include <ole2.h>

namespace com {

struct ControlState {
  SIZEL extent = {2540, 2540}; // 0.01 mm
  base::ComPtr<IOleClientSite> site;
  base::ComPtr<IAdviseSink> viewSink;
  DWORD viewAspects = 0, viewAdviseFlags = 0;
  bool requiresSave = false;
};

// The registry's MiscStatus of the add-on's controls: recompose on resize,
// cannot link inside, inside-out, activate when visible, set client site
// first.
const DWORD ControlMiscStatus = 131473;

} // namespace com

#endif
