// The junction core: the thermal voltage, the exponential with its ceiling,
// the step limit on the worked examples, and the depletion model's
// continuity where the power law hands over to its tangent.
#include "semi-lib/core/junction.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

namespace {

using semi::DepletionCap;
using semi::EvalJunction;
using semi::LimitJunction;

TEST(SemiThermalVoltage, IsTheProductOfKOverQAndTheTemperature) {
  // 1.38062259e-23 / 1.60217733e-19 * 300.15, rounded once per operation.
  const double expected = 0.025864419788569844;
  const double vt = semi::thermalVoltage();
  EXPECT_EQ(std::memcmp(&vt, &expected, sizeof vt), 0) << vt;
  EXPECT_EQ(semi::thermalVoltage(), vt); // cached
}

TEST(SemiJunction, CeilingAndCriticalVoltageOfTheWorkedExample) {
  // IS 1e-14, N 1, IMAX 1e6: Vmax 1.1911 V (the critical voltage, 0.7303 V,
  // shows in the step limit's first case).
  const double vt = semi::thermalVoltage();
  const double vMax = vt * std::log(1e6 / 1e-14 + 1);
  EXPECT_NEAR(vMax, 1.1911, 5e-5);
  const semi::JunctionPoint at = EvalJunction(1e-14, 1, vMax, 1e6, 0, false);
  EXPECT_DOUBLE_EQ(at.current, 1e6);
  EXPECT_DOUBLE_EQ(at.conductance, (1e-14 + 1e6) / vt);
  // With GMIN the shunt adds on the linear branch too.
  const semi::JunctionPoint withGmin = EvalJunction(1e-14, 1, vMax, 1e6, 1e-12, true);
  EXPECT_DOUBLE_EQ(withGmin.current, 1e6 + 1e-12 * vMax);
  EXPECT_DOUBLE_EQ(withGmin.conductance, (1e-14 + 1e6) / vt + 1e-12);
  // The slope is continuous across the ceiling.
  const semi::JunctionPoint below = EvalJunction(1e-14, 1, vMax - 1e-9, 1e6, 0, false);
  EXPECT_NEAR(below.conductance / at.conductance, 1.0, 1e-6);
  EXPECT_NEAR(below.current, 1e6 - at.conductance * 1e-9, 1e-3);
}

TEST(SemiJunction, ExponentialBelowTheCeilingAndUnorderedAbove) {
  const double vt = semi::thermalVoltage();
  const semi::JunctionPoint p = EvalJunction(1e-14, 2, 0.6, 1e6, 0, false);
  EXPECT_DOUBLE_EQ(p.current, 1e-14 * std::exp(0.6 / (2 * vt)) - 1e-14);
  EXPECT_DOUBLE_EQ(p.conductance, 1e-14 * std::exp(0.6 / (2 * vt)) / (2 * vt));
  // NaN compares unordered and takes the linear branch: NaN out.
  EXPECT_TRUE(std::isnan(EvalJunction(1e-14, 1, NAN, 1e6, 0, false).current));
  // IS 0: the ceiling is infinite and only GMIN conducts.
  const semi::JunctionPoint off = EvalJunction(0, 1, 0.7, 1e6, 1e-12, true);
  EXPECT_DOUBLE_EQ(off.current, 1e-12 * 0.7);
  EXPECT_DOUBLE_EQ(off.conductance, 1e-12);
  // N 0 divides by zero: infinities (or NaN), never a trap.
  const semi::JunctionPoint zeroN = EvalJunction(1e-14, 0, 0.7, 1e6, 0, false);
  EXPECT_FALSE(std::isfinite(zeroN.current));
  EXPECT_FALSE(std::isfinite(zeroN.conductance));
}

struct LimitCase {
  const char *what;
  double vOld, delta;
  bool changed;
  double vLimited; // vOld + the limited step (when changed)
  double tolerance;
};

TEST(SemiJunction, StepLimitCases) {
  const double vt = semi::thermalVoltage();
  const double vCrit = vt * std::log(vt / (1e-14 * std::sqrt(2.0)));
  const LimitCase cases[] = {
      {"0.5 to 5 V: Vi 0.6336 below Vcrit, cut to Vcrit", 0.5, 4.5, true, 0.7303, 5e-5},
      {"0.8 to 5 V: Vi 0.9318 above Vcrit, cut to Vi", 0.8, 4.2, true, 0.9318, 5e-5},
      {"0.6 to 0.75 V: Vi at or below Vcrit, Vnew above: to Vcrit", 0.6, 0.15, true, vCrit, 1e-15},
      {"0.3 to 0.7 V: Vnew not above Vcrit: unchanged", 0.3, 0.4, false, 0, 0},
      {"small step at low bias: unchanged", 0.0, 0.1, false, 0, 0},
      {"zero step: unchanged", 0.6, 0.0, false, 0, 0},
      {"down by more than nVt: NaN target, unchanged", 0.9, -0.5, false, 0, 0},
      {"above the ceiling: never limited", 1.2, 10.0, false, 0, 0},
      {"NaN step: unchanged", 0.6, NAN, false, 0, 0},
      {"NaN voltage compares unordered with Vmax: unchanged", NAN, 0.5, false, 0, 0},
  };
  for (const LimitCase &c : cases) {
    const semi::JunctionLimit limit = LimitJunction(1e-14, 1, c.vOld, c.delta, 1e6);
    EXPECT_EQ(limit.changed, c.changed) << c.what;
    if (c.changed) {
      EXPECT_NEAR(c.vOld + limit.delta, c.vLimited, c.tolerance) << c.what;
    }
  }
  // Exactly nVt down makes Vi minus infinity: min(Vnew, Vcrit).
  const semi::JunctionLimit down = LimitJunction(1e-14, 1, 0.9, -vt, 1e6);
  EXPECT_TRUE(down.changed);
  EXPECT_DOUBLE_EQ(0.9 + down.delta, vCrit);
}

TEST(SemiDepletion, ZeroBiasGivesCjAndNoCharge) {
  for (double m : {0.33, 0.5, 1.0, 0.261}) {
    const semi::ChargePoint p = DepletionCap(0.0, 4e-12, m, 0.75, 0.5);
    EXPECT_DOUBLE_EQ(p.capacitance, 4e-12) << m;
    EXPECT_EQ(p.charge, 0.0) << m;
  }
  const semi::ChargePoint none = DepletionCap(0.3, 0.0, 0.5, 0.75, 0.5);
  EXPECT_EQ(none.charge, 0.0);
  EXPECT_EQ(none.capacitance, 0.0);
}

TEST(SemiDepletion, ChargeAndCapacitanceContinuousAtTheHandOver) {
  const double cj = 4e-12, vj = 0.75, fc = 0.5;
  for (double m : {0.33, 0.5, 1.0}) {
    const double at = fc * vj;
    const semi::ChargePoint below = DepletionCap(std::nextafter(at, 0.0), cj, m, vj, fc);
    const semi::ChargePoint above = DepletionCap(at, cj, m, vj, fc);
    EXPECT_NEAR(below.capacitance / above.capacitance, 1.0, 1e-14) << m;
    EXPECT_NEAR(below.charge / above.charge, 1.0, 1e-14) << m;
    // The capacitance is the charge's derivative on both sides, and its
    // slope is continuous too (the tangent of the power law).
    for (double v : {at - 0.01, at + 0.01, at + 0.2, -1.0}) {
      const double h = 1e-6;
      const double dq =
          (DepletionCap(v + h, cj, m, vj, fc).charge - DepletionCap(v - h, cj, m, vj, fc).charge) /
          (2 * h);
      EXPECT_NEAR(dq / DepletionCap(v, cj, m, vj, fc).capacitance, 1.0, 1e-7) << m << " " << v;
    }
    const double h = 1e-5;
    const double slopeBelow = (DepletionCap(at - h, cj, m, vj, fc).capacitance -
                               DepletionCap(at - 2 * h, cj, m, vj, fc).capacitance) /
                              h;
    const double slopeAbove = (DepletionCap(at + 2 * h, cj, m, vj, fc).capacitance -
                               DepletionCap(at + h, cj, m, vj, fc).capacitance) /
                              h;
    EXPECT_NEAR(slopeBelow / slopeAbove, 1.0, 1e-3) << m;
  }
}

TEST(SemiDepletion, PowerLawBelowTheHandOver) {
  // Against the closed forms: C = CJ (1 - V/VJ)^-M.
  const double cj = 2e-12, vj = 0.8;
  for (double m : {0.33, 0.5, 1.0}) {
    for (double v : {-5.0, -0.4, 0.2}) {
      const double x = 1 - v / vj;
      EXPECT_NEAR(DepletionCap(v, cj, m, vj, 0.5).capacitance / (cj * std::pow(x, -m)), 1.0, 1e-13);
      const double q =
          m == 1 ? -cj * vj * std::log(x) : cj * vj * (1 - std::pow(x, 1 - m)) / (1 - m);
      EXPECT_NEAR(DepletionCap(v, cj, m, vj, 0.5).charge / q, 1.0, 1e-12);
    }
  }
}

} // namespace
