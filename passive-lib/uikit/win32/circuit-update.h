// The simulator's part of an Apply that changed parameters: the circuit of
// the shape's page (SimRoot, FindSim) gives the shape's device (GetDev);
// when it does, the control's part ID goes to the circuit under its device
// name (OcxMapPartID put), the device re-reads its parameters
// (UpdateParams) and the circuit solves again (SolveDC), under the wait
// cursor. No shape, or no device for it, skips all of that: false.
#ifndef PASSIVE_LIB_UIKIT_CIRCUIT_UPDATE_H
#define PASSIVE_LIB_UIKIT_CIRCUIT_UPDATE_H

#include "passive-lib/uikit/win32/sheet-owner.h"

namespace uikit {

bool updateCircuitOf(SheetOwner &owner);

} // namespace uikit

#endif
