#include "passive-lib/uikit/win32/crlc-ocx-params.h"

namespace uikit {

CRLCOcxParams::CRLCOcxParams() : ParamsPage(passive::ParamsFlavour::Passive) {}

} // namespace uikit
