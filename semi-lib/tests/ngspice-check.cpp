// The cross-check against ngspice, our half: every circuit of
// check-circuits.cpp is solved by our devices on the native circuit host
// and written as a netlist from the devices' own SPICE lines, beside our
// values and their tolerances (check-report.h). Each solve must converge
// within 50 Newton passes; the counts are printed.
// compare-ngspice.py runs ngspice on the netlists and compares, so the same
// program serves the native build and the Windows build under Wine.
//
//   semi-ngspice-check <existing scratch dir>   exit 0, or 1 when a solve
//                                               did not converge in time
#include "semi-lib/tests/check-report.h"

#include <cstdio>
#include <iostream>
#include <string>

namespace {

using namespace semi_test;

bool solveCircuit(const CheckCircuit &cc, int number, const std::string &dir) {
  TestCircuit c;
  cc.build(c);
  const SolveReport report = c.SolveDC();
  std::cout << cc.name << ": " << report.passes << " Newton passes";
  if (!report.converged || report.passes > MostCheckPasses) {
    std::cout << " -- FAILED to converge within " << MostCheckPasses << "\n";
    return false;
  }
  std::cout << "\n";
  char base[32];
  std::snprintf(base, sizeof base, "/check-%02d", number);
  writeCheckFiles(dir + base, c.netlist(cc.name), cc.name, std::to_string(report.passes),
                  checkQuantities(c, cc));
  return true;
}

// The fault the distinct default names mend: with the PNP's model line
// under the NPN's default name, ngspice takes one of the two lines for
// both transistors, and the PNP follower's emitter lands elsewhere. The
// comparer expects this one to disagree (sign 0 marks it).
void writeSharedNameControl(const std::string &dir) {
  for (const CheckCircuit &cc : checkCircuits()) {
    if (cc.name != "default NPN and PNP on one page")
      continue;
    TestCircuit c;
    cc.build(c);
    const SolveReport report = c.SolveDC();
    std::string netlist = c.netlist(cc.name);
    for (std::size_t at; (at = netlist.find("QPMOD")) != std::string::npos;)
      netlist.replace(at, 5, "QMOD");
    const std::string spice = c.SpiceNet(c.netIndex("e2"));
    writeCheckFiles(dir + "/shared-name", netlist, "one shared default name (must disagree)",
                    std::to_string(report.passes),
                    {{"V(e2)", "v(" + spice + ")", c.netVoltage("e2"), 0.0, 0, 0.1, "", "e2"}});
  }
}

} // namespace

int main(int argc, char **argv) {
  if (argc != 2) {
    std::cerr << "usage: semi-ngspice-check <scratch dir>\n";
    return 2;
  }
  const std::string dir = argv[1];
  bool ok = true;
  int number = 0;
  for (const CheckCircuit &cc : checkCircuits())
    ok = solveCircuit(cc, ++number, dir) && ok;
  writeSharedNameControl(dir);
  return ok ? 0 : 1;
}
