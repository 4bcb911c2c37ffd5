// The "Parameters" page of the power rail and DC source sheets: steps at
// the 2nd to 4th digit, every number checked, message boxes captioned
// "Power Supply".
#ifndef PASSIVE_LIB_UIKIT_CVSRC_OCX_PARAMS_H
#define PASSIVE_LIB_UIKIT_CVSRC_OCX_PARAMS_H

#include "passive-lib/uikit/win32/params-page.h"

namespace uikit {

class CVsrcOcxParams : public ParamsPage {
public:
  CVsrcOcxParams();
};

} // namespace uikit

#endif
