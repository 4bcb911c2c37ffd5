// QorSim's module: its class table and the four server exports.
#include "QorSim.h"
#include "circuit-sim/win32/sim-ckt.h"
#include "circuit-sim/win32/sim-root.h"
#include "circuit-sim/win32/wire-dev.h"

#include "platform/com/win32/module.h"
#include "platform/com/win32/server.h"

namespace {

// The one simulator root of the process (see SimRoot).
IUnknown *simRoot;

const com::ClassEntry classes[] = {
    {&CLSID_SimRoot, "SimRoot", "Netweave SimRoot", qorsim::createSimRoot, &simRoot,
     com::ClassKind::Plain},
    {&CLSID_SimCkt, "SimCkt", "Netweave SimCkt", qorsim::createSimCkt, nullptr,
     com::ClassKind::Plain},
    {&CLSID_WireDev, "WireDev", "Netweave Wire DEV", qorsim::createWireDev, nullptr,
     com::ClassKind::Plain},
};

const com::Server server = {classes, 3, &LIBID_QORSIMLib, 1, 0, true, false};

} // namespace

COM_SERVER_EXPORTS(server)
