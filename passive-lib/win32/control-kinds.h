// QorLib01's six component control classes.
#ifndef PASSIVE_LIB_CONTROL_KINDS_H
#define PASSIVE_LIB_CONTROL_KINDS_H

#include "passive-lib/win32/control-kind.h"

namespace passive {

HRESULT createGndOcx(REFIID riid, void **out);
HRESULT createPwrOcx(REFIID riid, void **out);
HRESULT createResOcx(REFIID riid, void **out);
HRESULT createIndOcx(REFIID riid, void **out);
HRESULT createCapOcx(REFIID riid, void **out);
HRESULT createVdcOcx(REFIID riid, void **out);

} // namespace passive

#endif
