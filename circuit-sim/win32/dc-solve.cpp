// The DC operating point: matrix and vectors made once per structure, the
// Newton iteration of the core over the COM devices, and the advice to
// every registered control afterwards.
#include "circuit-sim/win32/qor-calls.h"
#include "circuit-sim/win32/sim-ckt.h"
#include "circuit-sim/win32/work-phases.h"

#include "platform/base/win32/com-error.h"

#include <limits>

namespace qorsim {

// Builds the circuit from the page and checks its topology.
void SimCkt::rebuildAndCheck() {
  ClearCircuit();
  {
    WorkPhase phase("page-scan");
    BuildFromPage();
  }
  WorkPhase phase("topology-check");
  topologyOk_ = !checkTopologyAndMark();
}

void SimCkt::createMatrix() {
  WorkPhase phase("matrix-set-up");
  solved_ = false;
  const long nets = netCount();
  matrix_.matrix().Create(nets);
  if (!matrix_.matrix().created())
    return;
  dc_.assign(static_cast<std::size_t>(nets) + 1);
  try {
    for (auto &[name, device] : devices_)
      qor::check(qor::dev(device.get())->SetUpDeviceDC());
    for (auto &[name, wire] : wires_)
      qor::check(qor::dev(wire.get())->SetUpDeviceDC());
  } catch (...) {
    // Devices that were not set up hold no handles: the next solve makes
    // the matrix again and sets every device up.
    DropMatrix();
    throw;
  }
}

// No solution: every node but the reference shows plus infinity.
void SimCkt::publishInfinity() {
  dc_.solution.assign(static_cast<std::size_t>(netCount()) + 1,
                      std::numeric_limits<double>::infinity());
  dc_.solution[0] = 0.0;
  solved_ = false;
}

// A control entry without a control (its shape registered by the scan,
// its control not bound yet) has nobody to advise.
void SimCkt::adviseControls() {
  WorkPhase phase("advice");
  for (auto &[name, entry] : ocxMap_) {
    if (entry->control)
      qor::onAdvise(entry->control.get(), qorMaskDC);
  }
}

// The passes call every device several times: flat lists in map order
// spare the walks through the maps' trees.
void SimCkt::listSolveDevices() {
  solveDevices_.clear();
  for (auto &[name, device] : devices_)
    solveDevices_.push_back(device.get());
  solveWires_.clear();
  for (auto &[name, wire] : wires_)
    solveWires_.push_back(wire.get());
}

void SimCkt::loadStart() {
  for (IQorDev *device : solveDevices_)
    qor::check(device->LoadDevicePWL());
  for (IQorDev *wire : solveWires_)
    qor::check(wire->LoadDevicePWL());
}

void SimCkt::loadNewton() {
  for (IQorDev *device : solveDevices_)
    qor::check(device->LoadDeviceDC());
  for (IQorDev *wire : solveWires_)
    qor::check(wire->LoadDeviceDC());
}

void SimCkt::limitDelta() {
  for (IQorDev *device : solveDevices_)
    qor::check(device->LimitDeltaDC());
}

HRESULT SimCkt::solve() {
  if (neverNumbered_)
    NumberPartIDs();
  if (neverChecked_)
    rebuildAndCheck();
  if (!topologyOk_) {
    // The plus-infinity results are the failed check's report.
    publishInfinity();
    adviseControls();
    return S_OK;
  }
  if (!matrix_.matrix().created() && !devices_.empty())
    createMatrix();
  HRESULT result = S_OK;
  if (!solved_) {
    // Without a matrix (no device, no net, or more nets than a matrix
    // holds) there is nothing to iterate on.
    if (!matrix_.matrix().created()) {
      publishInfinity();
      adviseControls();
      return S_FALSE;
    }
    std::vector<int> types(varTypes_.begin(), varTypes_.end());
    listSolveDevices();
    try {
      WorkPhase phase("newton");
      timer_.start();
      const DcOutcome outcome = solveNewton(matrix_.matrix(), dc_, types, *this);
      timer_.stop();
      // The pass limit publishes the last iterate, flagged as unconverged.
      result = outcome.converged ? S_OK : S_FALSE;
      solved_ = true;
      converged_ = outcome.converged;
    } catch (CSparse::Error) {
      // A singular circuit has no operating point to show.
      publishInfinity();
      adviseControls();
      return S_FALSE;
    }
  } else {
    result = converged_ ? S_OK : S_FALSE;
  }
  adviseControls();
  return result;
}

HRESULT STDMETHODCALLTYPE SimCkt::SolveDC() {
  // A device failing half-way leaves the circuit unsolved: the flag is set
  // only once an iteration has finished.
  return base::guardCom(IID_IQorSimCkt, [&] { return solve(); });
}

HRESULT STDMETHODCALLTYPE SimCkt::ResetDC(VARIANT_BOOL RebuildMatrix) {
  solved_ = false;
  if (RebuildMatrix)
    DropMatrix();
  return S_OK;
}

} // namespace qorsim
