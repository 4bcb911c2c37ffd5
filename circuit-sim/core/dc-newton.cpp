// The Newton iteration of the DC solve: start pass, passes with the
// convergence test on voltage nodes, step compression and device limiting.
#include "circuit-sim/core/dc-newton.h"

#include <algorithm>
#include <cmath>

namespace qorsim {

namespace {

// The nodes 1..N that carry a voltage, N being the last index both vectors
// (and the types) cover.
int lastNode(const std::vector<double> &a, const std::vector<double> &b) {
  return static_cast<int>(std::min(a.size(), b.size())) - 1;
}

bool isVoltage(const std::vector<int> &types, int i) {
  return static_cast<std::size_t>(i) < types.size() && types[i] == VoltageVariable;
}

void addStep(DcVectors &v) {
  for (std::size_t i = 0; i < v.solution.size() && i < v.delta.size(); ++i)
    v.solution[i] += v.delta[i];
}

void solvePass(CSparse &matrix, DcVectors &v) {
  matrix.OrderAndFactor(v.rhs, RelPivotThreshold, AbsPivotThreshold);
  matrix.Solve(v.rhs, v.delta);
}

} // namespace

bool voltageStepsConverged(const std::vector<double> &solution, const std::vector<double> &delta,
                           const std::vector<int> &types) {
  const int n = lastNode(solution, delta);
  double vMax = 0.0, vMin = 0.0;
  for (int i = n; i >= 1; --i) {
    if (!isVoltage(types, i))
      continue;
    vMax = std::max(vMax, solution[i]);
    vMin = std::min(vMin, solution[i]);
  }
  for (int i = n; i >= 1; --i) {
    if (!isVoltage(types, i))
      continue;
    const double v = solution[i];
    const double tolerance = (std::max(vMax - v, v - vMin) + ToleranceOffset) * RelTolerance;
    // A NaN step compares as not greater, as the test is written.
    if (std::fabs(delta[i]) > tolerance)
      return false;
  }
  return true;
}

void compressVoltageSteps(std::vector<double> &delta, const std::vector<int> &types) {
  for (int i = static_cast<int>(delta.size()) - 1; i >= 1; --i) {
    if (!isVoltage(types, i))
      continue;
    const double step = std::fabs(delta[i]);
    if (!(step > CompressionKnee))
      continue;
    const double compressed = CompressionKnee + std::log(step - 1.0);
    delta[i] = delta[i] < 0 ? -compressed : compressed;
  }
}

DcOutcome solveNewton(CSparse &matrix, DcVectors &v, const std::vector<int> &types,
                      DcDevices &devices) {
  std::fill(v.solution.begin(), v.solution.end(), 0.0);
  std::fill(v.rhs.begin(), v.rhs.end(), 0.0);
  std::fill(v.absSum.begin(), v.absSum.end(), 0.0);
  v.delta[0] = 0.0;
  matrix.Clear();
  devices.loadStart();
  solvePass(matrix, v);
  devices.limitDelta();
  addStep(v);

  DcOutcome outcome;
  while (outcome.passes < MostNewtonPasses) {
    ++outcome.passes;
    std::fill(v.rhs.begin(), v.rhs.end(), 0.0);
    std::fill(v.absSum.begin(), v.absSum.end(), 0.0);
    v.delta[0] = 0.0;
    matrix.Clear();
    devices.loadNewton();
    solvePass(matrix, v);
    outcome.converged = voltageStepsConverged(v.solution, v.delta, types);
    if (!outcome.converged) {
      compressVoltageSteps(v.delta, types);
      devices.limitDelta();
    }
    addStep(v);
    if (outcome.converged)
      break;
  }
  return outcome;
}

} // namespace qorsim
