#include "passive-lib/uikit/win32/cvsrc-ocx-params.h"

namespace uikit {

CVsrcOcxParams::CVsrcOcxParams() : ParamsPage(passive::ParamsFlavour::Source) {}

} // namespace uikit
