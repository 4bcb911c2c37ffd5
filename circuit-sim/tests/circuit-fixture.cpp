// The fixture's shared state: one QorSim.dll, one test device server and
// one stand-in host for the whole run.
#include "circuit-sim/tests/circuit-fixture.h"

namespace qorsim_test {

HMODULE Circuit::qorSim_, Circuit::devices_;
drawhost::StandInHost *Circuit::host_;

namespace {

// Closes the host and unregisters the servers once every suite has run.
class ShutDown : public testing::Environment {
public:
  void TearDown() override { Circuit::shutDown(); }
};

const testing::Environment *const shutDown = testing::AddGlobalTestEnvironment(new ShutDown);

} // namespace

} // namespace qorsim_test
