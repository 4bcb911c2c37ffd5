// The circuits of the ngspice cross-check and of the benchmark, built from
// our devices with the model rows of the libraries (1N4148, 2N3904, 2N3906
// and the defaults) and one model with every Gummel-Poon term.
#ifndef SEMI_LIB_TESTS_CHECK_CIRCUITS_H
#define SEMI_LIB_TESTS_CHECK_CIRCUITS_H

#include "semi-lib/tests/circuit-builder.h"

#include <functional>
#include <string>
#include <vector>

namespace semi_test {

std::vector<semi::ParamItem> npn2N3904();
std::vector<semi::ParamItem> pnp2N3906();
std::vector<semi::ParamItem> everyTermNpn();
// The models above by name ("1N4148", "2N3904", "2N3906", "GPALL"); any
// other name the defaults, a PNP's for "PNP".
NamedModel checkModel(char kind, const std::string &name);

struct CheckCircuit {
  std::string name;
  std::function<void(TestCircuit &)> build;
  std::vector<std::string> transistors; // part IDs to compare
  std::vector<std::string> sources;     // part IDs of the voltage sources
};

std::vector<CheckCircuit> checkCircuits();

// The benchmark's circuits: a chain of stages emitter followers and
// inverters, and a ladder of series resistors with a diode at each rung.
void transistorChain(TestCircuit &c, int stages);
void diodeLadder(TestCircuit &c, int rungs);

} // namespace semi_test

#endif
