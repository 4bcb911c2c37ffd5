#include "passive-lib/uikit/win32/cvsrc-ocx-params.h"

#include "passive-lib/uikit/win32/pages-resource.h"

namespace uikit {
namespace {

const DWORD HelpIds[] = {IDC_PARAMS_AUTO_APPLY,
                         0x807000CC,
                         IDC_PARAMS_ROUND,
                         0x807000CA,
                         IDC_PARAMS_LIST,
                         0x807000C9,
                         IDC_PARAMS_SPIN,
                         0x807000CB,
                         0,
                         0};

} // namespace

CVsrcOcxParams::CVsrcOcxParams() : ParamsPage(passive::ParamsFlavour::Source, HelpIds) {}

} // namespace uikit
