// Junction equations and step limiting of the semiconductor devices.
#include "semi-lib/core/junction.h"

#include <cmath>

namespace semi {

double thermalVoltage() {
  // Formed once; the library runs on one thread.
  static bool formed = false;
  static double vt = 0.0;
  if (!formed) {
    const double kOverQ = Boltzmann / ElementaryCharge;
    vt = kOverQ * AbsoluteTemperature;
    formed = true;
  }
  return vt;
}

JunctionPoint EvalJunction(double is, double n, double v, double imax, double gmin, bool withGmin) {
  const double nVt = n * thermalVoltage();
  const double vMax = nVt * std::log(imax / is + 1);
  JunctionPoint p;
  if (!(v < vMax)) {
    // Linear above the ceiling; an unordered comparison lands here too.
    const double g = (is + imax) / nVt;
    p.current = g * (v - vMax) + imax;
    p.conductance = g;
  } else {
    const double e = std::exp(v / nVt);
    p.current = is * e - is;
    p.conductance = is * e / nVt;
  }
  if (withGmin) {
    p.current += gmin * v;
    p.conductance += gmin;
  }
  return p;
}

JunctionLimit LimitJunction(double is, double n, double vOld, double delta, double imax) {
  const JunctionLimit unchanged{false, delta};
  if (delta == 0 || std::isnan(delta))
    return unchanged;
  const double nVt = n * thermalVoltage();
  const double vMax = nVt * std::log(imax / is + 1);
  if (!(vOld < vMax))
    return unchanged; // linear above the ceiling: nothing to limit
  const double vNew = vOld + delta;
  const double iOld = is * std::exp(vOld / nVt);
  // A step down by more than nVt makes this NaN; every comparison below is
  // then unordered and the step stays as it is.
  const double vI = nVt * std::log((iOld + iOld / nVt * delta) / is);
  const double vCrit = -nVt * std::log(is * Sqrt2 / nVt);
  const double lo = vI < vNew ? vI : vNew;
  const double hi = vI > vNew ? vI : vNew;
  double vLim;
  if (vCrit < lo)
    vLim = lo;
  else
    vLim = vCrit <= hi ? vCrit : hi;
  if (vLim == vNew)
    return unchanged;
  return {true, vLim - vOld};
}

namespace {

// The power law at x = 1 - v / vj.
ChargePoint powerLaw(double x, double cj, double m, double vj) {
  if (m == 0.5) {
    const double s = std::sqrt(x);
    return {2 * cj * vj * (1 - s), cj / s};
  }
  if (m == 1) {
    return {-cj * vj * std::log(x), cj / x};
  }
  const double p = std::pow(x, -m);
  return {cj * vj * (p * x - 1) / (m - 1), cj * p};
}

} // namespace

ChargePoint DepletionCap(double v, double cj, double m, double vj, double fc) {
  if (cj == 0)
    return {0.0, 0.0};
  if (v < fc * vj)
    return powerLaw((vj - v) / vj, cj, m, vj);
  const double f = 1 - fc;
  const double d = v - fc * vj;
  const double y = m * d / (f * vj);
  const ChargePoint at = powerLaw(f, cj, m, vj);
  return {at.charge + at.capacitance * (1 + y / 2) * d, at.capacitance * (1 + y)};
}

} // namespace semi
