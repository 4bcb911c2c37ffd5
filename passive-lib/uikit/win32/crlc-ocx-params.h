// The "Parameters" page of the resistor, inductor and capacitor sheets:
// standard series and digits to step, "ID" and "POS" entry checks, message
// boxes captioned with the component's name.
#ifndef PASSIVE_LIB_UIKIT_CRLC_OCX_PARAMS_H
#define PASSIVE_LIB_UIKIT_CRLC_OCX_PARAMS_H

#include "passive-lib/uikit/win32/params-page.h"

namespace uikit {

class CRLCOcxParams : public ParamsPage {
public:
  CRLCOcxParams();
};

} // namespace uikit

#endif
