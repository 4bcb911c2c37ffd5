// The numerical core the three semiconductor devices share: the physical
// constants with the cached thermal voltage, the exponential pn-junction
// with its linear continuation above the current ceiling, the depletion
// charge and capacitance of a junction, and the Newton step limit of a
// junction voltage. Everything is a pure function of its arguments; NaN and
// infinities flow through unchanged (the comparisons are written so that an
// unordered one falls on the documented side).
#ifndef SEMI_LIB_JUNCTION_H
#define SEMI_LIB_JUNCTION_H

namespace semi {

const double AbsoluteTemperature = 273.15 + 27; // K; there is no temperature parameter
const double Boltzmann = 1.38062259e-23;        // J/K
const double ElementaryCharge = 1.60217733e-19; // C
const double TwoPi = 2 * 3.141592653589793;
const double Sqrt2 = 1.4142135623730951;
// Forward-bias coefficient of the depletion model: a constant, no parameter.
const double DepletionFc = 0.5;

// (k / q) * T, formed on first use and kept.
double thermalVoltage();

struct JunctionPoint {
  double current;     // A
  double conductance; // S
};

// The current and its derivative at junction voltage v. Above
// Vmax = N Vt ln(imax / is + 1) the exponential continues as its tangent,
// so the current is imax at Vmax with a continuous slope. gmin is added as
// a shunt only when withGmin is set.
JunctionPoint EvalJunction(double is, double n, double v, double imax, double gmin, bool withGmin);

struct JunctionLimit {
  bool changed;
  double delta; // the replacement step when changed
};

// Whether the Newton step delta of a junction now at vOld is to be replaced,
// and by what: the step is pulled back to the voltage where the exponential
// gives the current its linearisation at vOld predicts, but never below the
// critical voltage where the exponential turns steep.
JunctionLimit LimitJunction(double is, double n, double vOld, double delta, double imax);

struct ChargePoint {
  double charge;      // C
  double capacitance; // F
};

// Depletion charge and capacitance at v: the power law below fc * vj, its
// tangent (and the integral of the tangent) above.
ChargePoint DepletionCap(double v, double cj, double m, double vj, double fc);

} // namespace semi

#endif
