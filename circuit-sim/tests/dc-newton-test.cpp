// The Newton iteration: step compression, the convergence test on voltage
// nodes, a diode circuit against its equation solved by bisection, and a
// singular circuit (the pass limit is checked through the server, in
// circuit-test.cpp).
#include "circuit-sim/core/dc-newton.h"
#include "circuit-sim/tests/native-devices.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

using namespace qorsim_test;
using qorsim::VoltageVariable;
const int Current = 18;

TEST(StepCompression, ShrinksVoltageStepsAboveTheKnee) {
  std::vector<double> delta = {0.0, 3.0, -3.0, 2.0, -2.0, 1.5, 50.0, 3.0};
  std::vector<int> types = {VoltageVariable, VoltageVariable, VoltageVariable, VoltageVariable,
                            VoltageVariable, VoltageVariable, Current,         0};
  qorsim::compressVoltageSteps(delta, types);
  EXPECT_NEAR(delta[1], 2.0 + std::log(2.0), 1e-15);
  EXPECT_NEAR(delta[2], -2.0 - std::log(2.0), 1e-15);
  EXPECT_EQ(delta[3], 2.0);
  EXPECT_EQ(delta[4], -2.0);
  EXPECT_EQ(delta[5], 1.5);
  EXPECT_EQ(delta[6], 50.0); // branch currents are never compressed
  EXPECT_EQ(delta[7], 3.0);  // nor nodes without a type
}

TEST(Convergence, ToleranceFollowsTheVoltageSpread) {
  const std::vector<int> volts(4, VoltageVariable);
  // All at 0 V: 1e-6 V per node.
  EXPECT_TRUE(qorsim::voltageStepsConverged({0, 0, 0, 0}, {0, 0.9e-6, 0, -0.9e-6}, volts));
  EXPECT_FALSE(qorsim::voltageStepsConverged({0, 0, 0, 0}, {0, 0, 1.1e-6, 0}, volts));
  // Between 0 and 10 V a node at 4 V allows (6 + 1) x 1e-6.
  EXPECT_TRUE(qorsim::voltageStepsConverged({0, 0, 4, 10}, {0, 0, 6.9e-6, 0}, volts));
  EXPECT_FALSE(qorsim::voltageStepsConverged({0, 0, 4, 10}, {0, 0, 7.1e-6, 0}, volts));
  // Node 0 is reference and takes no part.
  EXPECT_TRUE(qorsim::voltageStepsConverged({0, 0, 0, 0}, {5, 0, 0, 0}, volts));
}

TEST(Convergence, BranchCurrentsAndNanStepsNeverBlock) {
  const std::vector<int> types = {VoltageVariable, VoltageVariable, Current};
  EXPECT_TRUE(qorsim::voltageStepsConverged({0, 1, 0.001}, {0, 0, 1.0}, types));
  // The test is "greater than the tolerance"; a NaN is never greater. The
  // NaN then shows in the published solution, not as a converged value.
  EXPECT_TRUE(qorsim::voltageStepsConverged({0, 0, 0}, {0, NAN, 0}, types));
}

// 10 V through 1 kOhm into a diode to ground: nets 1 (source), 2 (anode),
// branch 3.
double diodeVoltageByBisection(double volts, double ohms, double is, double vt) {
  double lo = 0.0, hi = volts;
  for (int i = 0; i < 200; ++i) {
    const double v = (lo + hi) / 2;
    const double excess = (volts - v) / ohms - is * (std::exp(v / vt) - 1.0);
    (excess > 0 ? lo : hi) = v;
  }
  return (lo + hi) / 2;
}

// Sets the circuit up on a matrix of its own and runs the Newton loop.
qorsim::DcOutcome solve(NativeCircuit &circuit, DcVectors &v, const std::vector<int> &types) {
  qorsim::CSparse matrix;
  circuit.setUp(matrix, v);
  return qorsim::solveNewton(matrix, v, types, circuit);
}

// Nets 1 and 2, and the source's branch 3.
const std::vector<int> twoNetsAndABranch = {VoltageVariable, VoltageVariable, VoltageVariable,
                                            Current};

TEST(Newton, DiodeCircuitConvergesToItsOperatingPoint) {
  const double is = 1e-14, vt = 0.025852;
  NativeCircuit circuit(3);
  circuit.add<VoltageSource>(1, 0, 3, 10.0);
  circuit.add<Resistor>(1, 2, 1000.0);
  circuit.add<Diode>(2, is, vt);
  DcVectors v;
  const qorsim::DcOutcome outcome = solve(circuit, v, twoNetsAndABranch);
  EXPECT_TRUE(outcome.converged);
  EXPECT_GT(outcome.passes, 3); // a real Newton iteration, limited
  EXPECT_LT(outcome.passes, 200);
  const double vd = diodeVoltageByBisection(10.0, 1000.0, is, vt);
  EXPECT_NEAR(v.solution[2], vd, 1e-6);
  EXPECT_DOUBLE_EQ(v.solution[1], 10.0);
  EXPECT_NEAR(v.solution[3], -(10.0 - vd) / 1000.0, 1e-9);
}

TEST(Newton, LinearCircuitConvergesOnTheFirstPass) {
  NativeCircuit circuit(3);
  circuit.add<VoltageSource>(1, 0, 3, 9.0);
  circuit.add<Resistor>(1, 2, 2000.0);
  circuit.add<Resistor>(2, 0, 1000.0);
  DcVectors v;
  const qorsim::DcOutcome outcome = solve(circuit, v, twoNetsAndABranch);
  EXPECT_TRUE(outcome.converged);
  EXPECT_EQ(outcome.passes, 1);
  EXPECT_NEAR(v.solution[2], 3.0, 1e-12);
  EXPECT_NEAR(v.solution[3], -3e-3, 1e-15);
}

TEST(Newton, FloatingNetThrowsTheMatrixError) {
  // Net 2 hangs on a current source of nothing: its row is empty.
  NativeCircuit circuit(3);
  circuit.add<VoltageSource>(1, 0, 3, 1.0);
  circuit.add<Resistor>(1, 1, 10.0);
  DcVectors v;
  EXPECT_THROW(solve(circuit, v, std::vector<int>(4, VoltageVariable)), qorsim::CSparse::Error);
}

} // namespace
