// The Newton iteration of the DC operating point, apart from where the
// equations come from: the devices stamp through DcDevices, the matrix and
// the vectors are the circuit's. The circuit object drives its COM devices
// through it; tests and the benchmark drive devices of their own.
#ifndef CIRCUIT_SIM_DC_NEWTON_H
#define CIRCUIT_SIM_DC_NEWTON_H

#include "circuit-sim/core/sparse-matrix.h"

#include <vector>

namespace qorsim {

// The variable type of a node voltage (qorVarVoltage of the contract): only
// such nodes take part in the convergence test and the step compression.
const int VoltageVariable = 17;

const double RelPivotThreshold = 1e-3;
const double AbsPivotThreshold = 0.0;
const int MostNewtonPasses = 1000;
const double RelTolerance = 1e-6;
const double ToleranceOffset = 1.0; // volt
const double CompressionKnee = 2.0; // volt

// The four vectors of a solve, indexed by node index 0..N.
struct DcVectors {
  std::vector<double> solution, rhs, absSum, delta;
  void assign(std::size_t length) {
    solution.assign(length, 0.0);
    rhs.assign(length, 0.0);
    absSum.assign(length, 0.0);
    delta.assign(length, 0.0);
  }
};

// The devices of a circuit as the iteration calls them, each call going to
// every device in the circuit's order. A failure is thrown by the callee.
class DcDevices {
public:
  virtual ~DcDevices() = default;
  virtual void loadStart() = 0;  // LoadDevicePWL
  virtual void loadNewton() = 0; // LoadDeviceDC
  virtual void limitDelta() = 0; // LimitDeltaDC (component devices only)
};

struct DcOutcome {
  bool converged = false;
  int passes = 0; // Newton passes after the start pass
};

// True when no voltage node's step exceeds its tolerance; types holds the
// variable type of each node index (missing entries take no part).
bool voltageStepsConverged(const std::vector<double> &solution, const std::vector<double> &delta,
                           const std::vector<int> &types);
// Shrinks voltage steps above the knee logarithmically.
void compressVoltageSteps(std::vector<double> &delta, const std::vector<int> &types);

// One start pass and at most MostNewtonPasses Newton passes on a created
// matrix whose elements the devices hold. Throws CSparse::Error when the
// matrix cannot be factored, and whatever the devices throw.
DcOutcome solveNewton(CSparse &matrix, DcVectors &vectors, const std::vector<int> &types,
                      DcDevices &devices);

} // namespace qorsim

#endif
