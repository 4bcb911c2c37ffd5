// QorLib02's module: its class table (in the order of registration) and
// the four server exports.
#include "QorLib02.h"

#include "semi-lib/win32/semi-controls.h"
#include "semi-lib/win32/semi-dev.h"

#include "platform/com/win32/server.h"

namespace {

using com::ClassKind;

const com::ClassEntry classes[] = {
    {&CLSID_DiodeDev, "DiodeDev", "Netweave Diode DEV", semi_win32::createDiodeDev, nullptr,
     ClassKind::Plain},
    {&CLSID_BjtNpnDev, "BjtNpnDev", "Netweave NPN Transistor DEV", semi_win32::createBjtNpnDev,
     nullptr, ClassKind::Plain},
    {&CLSID_BjtPnpDev, "BjtPnpDev", "Netweave PNP Transistor DEV", semi_win32::createBjtPnpDev,
     nullptr, ClassKind::Plain},
    {&CLSID_DiodeOcx, "DiodeOcx", "Netweave Diode OCX", semi_win32::createDiodeOcx, nullptr,
     ClassKind::Control},
    {&CLSID_BjtNpnOcx, "BjtNpnOcx", "Netweave NPN Transistor OCX", semi_win32::createBjtNpnOcx,
     nullptr, ClassKind::InvisibleControl},
    {&CLSID_BjtPnpOcx, "BjtPnpOcx", "Netweave PNP Transistor OCX", semi_win32::createBjtPnpOcx,
     nullptr, ClassKind::InvisibleControl},
};

// The type library stays registered when the library is unregistered.
const com::Server server = {
    classes, sizeof classes / sizeof classes[0], &LIBID_QorLib02, 1, 0, false, false};

} // namespace

COM_SERVER_EXPORTS(server)
