// QorLib01's module: its class table (in the order of registration) and
// the four server exports.
#include "QorLib01.h"

#include "passive-lib/win32/control-kinds.h"
#include "passive-lib/win32/passive-device.h"
#include "passive-lib/win32/qor-lib.h"

#include "platform/com/win32/server.h"

namespace {

using com::ClassKind;

const com::ClassEntry classes[] = {
    {&CLSID_QorLib, "QorLib", "Netweave Library", passive::createQorLib, nullptr,
     ClassKind::Service},
    {&CLSID_GndOcx, "GndOcx", "Netweave GND OCX", passive::createGndOcx, nullptr,
     ClassKind::Control},
    {&CLSID_PwrOcx, "PwrOcx", "Netweave PWR OCX", passive::createPwrOcx, nullptr,
     ClassKind::Control},
    {&CLSID_ResOcx, "ResOcx", "Netweave Resistor OCX", passive::createResOcx, nullptr,
     ClassKind::Control},
    {&CLSID_IndOcx, "IndOcx", "Netweave Inductor OCX", passive::createIndOcx, nullptr,
     ClassKind::Control},
    {&CLSID_CapOcx, "CapOcx", "Netweave Capacitor OCX", passive::createCapOcx, nullptr,
     ClassKind::Control},
    {&CLSID_VdcOcx, "VdcOcx", "Netweave VDC OCX", passive::createVdcOcx, nullptr,
     ClassKind::Control},
    {&CLSID_GndDev, "GndDev", "Netweave GND DEV", passive::createGndDev, nullptr, ClassKind::Plain},
    {&CLSID_PwrDev, "PwrDev", "Netweave PWR DEV", passive::createPwrDev, nullptr, ClassKind::Plain},
    {&CLSID_ResDev, "ResDev", "Netweave Resistor DEV", passive::createResDev, nullptr,
     ClassKind::Plain},
    {&CLSID_IndDev, "IndDev", "Netweave Inductor DEV", passive::createIndDev, nullptr,
     ClassKind::Plain},
    {&CLSID_CapDev, "CapDev", "Netweave Capacitor DEV", passive::createCapDev, nullptr,
     ClassKind::Plain},
    {&CLSID_VdcDev, "VdcDev", "Netweave VDC DEV", passive::createVdcDev, nullptr, ClassKind::Plain},
};

// The type library stays registered when the library is unregistered, and
// unregistering always succeeds.
const com::Server server = {
    classes, sizeof classes / sizeof classes[0], &LIBID_QorLib01, 1, 0, false, true};

} // namespace

COM_SERVER_EXPORTS(server)
