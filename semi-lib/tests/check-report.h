// What the ngspice cross-check compares for one circuit and how it is
// written: per circuit a netlist (the devices' own SPICE lines, options
// that make ngspice's thermal voltage equal ours, a control block printing
// every compared value) and beside it our values with their tolerances,
// for compare-ngspice.py. Node voltages 1e-5 V + 1e-6 |V|; source currents
// 1e-5 relative; per transistor Ic, Ib, gm, gpi, go, cmu (cpi in
// forward-active operation, gmu with a forward-biased collector junction)
// to LastLoadTolerance, conductances to GMIN. ngspice counts PNP currents
// the other way round.
#ifndef SEMI_LIB_TESTS_CHECK_REPORT_H
#define SEMI_LIB_TESTS_CHECK_REPORT_H

#include "semi-lib/tests/check-circuits.h"

#include <functional>
#include <string>
#include <vector>

namespace semi_test {

// A transistor's results are those of its last load, and the solver's
// final step moves past it by up to its voltage tolerance (1e-6 of the
// spread plus 1 V: 1.1e-5 V on a 10 V page). A junction's current moves
// by that step over its thermal voltage, 4.2e-4 of itself at 26 mV.
const double LastLoadTolerance = 5e-4;

const int MostCheckPasses = 50;

struct Compared {
  std::string what, peerName;
  double ours;
  double sign;     // ngspice's sign relative to ours; 0: a control that must differ
  double relative; // tolerance
  double absolute;
  // Where the value comes from: a node voltage (part empty, item the net),
  // a source's current (item "I") or a transistor's RESULT item (the
  // reciprocal when inverse is set).
  std::string part, item;
  bool inverse = false;
};

// Part identifiers as ngspice prints them ("@q1[ic]", "i(v1)").
std::string lower(std::string text);

// Every node's voltage as voltage gives it (1e-5 V + 1e-6 |V|).
std::vector<Compared> nodeVoltages(TestCircuit &c,
                                   const std::function<double(const std::string &net)> &voltage);
// The compared quantities with the values of the solved native circuit.
std::vector<Compared> checkQuantities(TestCircuit &c, const CheckCircuit &cc);

// Writes <base>.cir (the netlist with options and a control block that
// prints every row, after extraControl) and <base>.ours (title, Newton
// passes, the rows). The benchmark's files are the node voltages with
// "rusage all\n" as the extra control.
void writeCheckFiles(const std::string &base, std::string netlist, const std::string &title,
                     const std::string &passes, const std::vector<Compared> &list,
                     const std::string &extraControl = "");

// The benchmark's circuits (scripts/bench-semi.sh): a 40-stage transistor
// chain and a 500-diode ladder.
struct BenchCircuit {
  const char *name;
  void (*build)(TestCircuit &, int);
  int size;
};
const BenchCircuit BenchCircuits[] = {{"40-stage transistor chain", transistorChain, 40},
                                      {"500-diode ladder", diodeLadder, 500}};

} // namespace semi_test

#endif
