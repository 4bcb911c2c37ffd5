// The cross-check against ngspice, our half: every circuit of
// check-circuits.cpp is solved by our devices on the native circuit host
// and written as a netlist from the devices' own SPICE lines, with options
// that make ngspice's thermal voltage equal ours and a control block that
// prints every compared value; beside it go our values with their
// tolerances: node voltages 1e-5 V + 1e-6 |V|, source currents 1e-5
// relative, and per transistor Ic, Ib, gm, gpi, go, cmu (and cpi in
// forward-active operation, gmu with a forward-biased collector junction)
// 1e-4 relative. ngspice counts PNP currents the other way round. Each
// solve must converge within 50 Newton passes; the counts are printed.
// compare-ngspice.py runs ngspice on the netlists and compares, so the same
// program serves the native build and the Windows build under Wine.
//
//   semi-ngspice-check <existing scratch dir>   exit 0, or 1 when a solve
//                                               did not converge in time
#include "semi-lib/tests/check-circuits.h"

#include <cmath>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

namespace {

using namespace semi_test;

const int MostPasses = 50;
const double Gmin = 1e-12;
const char *Options = ".options temp=26.99423 tnom=26.99423 reltol=1e-9 vntol=1e-12 abstol=1e-18";

struct Compared {
  std::string what, peerName;
  double ours;
  double sign;     // ngspice's sign relative to ours
  double relative; // tolerance
  double absolute;
};

std::string lower(std::string s) {
  for (char &ch : s)
    ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
  return s;
}

std::vector<Compared> quantities(TestCircuit &c, const CheckCircuit &cc) {
  std::vector<Compared> list;
  for (const std::string &net : c.netNames()) {
    const std::string spice = c.SpiceNet(c.netIndex(net));
    if (spice == "0")
      continue;
    list.push_back({"V(" + net + ")", "v(" + spice + ")", c.netVoltage(net), 1.0, 1e-6, 1e-5});
  }
  for (const std::string &id : cc.sources) {
    const int branch = static_cast<VoltageSourceDevice &>(c.device(id)).branch();
    list.push_back({"I(" + id + ")", "i(" + lower(id) + ")", c.Solution(branch), 1.0, 1e-5, 0});
  }
  for (const std::string &id : cc.transistors) {
    const TestComponent &q = c.component(id);
    const bool pnp =
        dynamic_cast<semi::BjtDevice &>(c.device(id)).polarity() == semi::Polarity::Pnp;
    const double currentSign = pnp ? -1.0 : 1.0;
    const std::string at = "@" + lower(id) + "[";
    list.push_back({id + " Ic", at + "ic]", q.result("Ic"), currentSign, 1e-4, 0});
    list.push_back({id + " Ib", at + "ib]", q.result("Ib"), currentSign, 1e-4, 0});
    // Conductances agree to GMIN: ngspice puts it across each junction,
    // the device into the junction term that BF and BR divide.
    list.push_back({id + " gm", at + "gm]", q.result("gm"), 1.0, 1e-4, Gmin});
    list.push_back({id + " gpi", at + "gpi]", 1 / q.result("rpi"), 1.0, 1e-4, Gmin});
    list.push_back({id + " go", at + "go]", 1 / q.result("ro"), 1.0, 1e-4, Gmin});
    list.push_back({id + " cmu", at + "cmu]", q.result("cmu"), 1.0, 1e-4, 0});
    const double vbe = q.result("Vbe(int)"), vbc = q.result("Vbc(int)");
    if (vbe > 0 && vbc < 0)
      list.push_back({id + " cpi", at + "cpi]", q.result("cpi"), 1.0, 1e-4, 0});
    if (vbc > 0)
      list.push_back({id + " gmu", at + "gmu]", 1 / q.result("rmu"), 1.0, 1e-4, Gmin});
  }
  return list;
}

void writeFiles(const std::string &base, std::string netlist, const std::string &title, int passes,
                const std::vector<Compared> &list) {
  std::ostringstream control;
  control << Options << "\n.control\nset numdgt=12\nop\n";
  for (const Compared &q : list)
    control << "print " << q.peerName << "\n";
  control << "quit 0\n.endc\n";
  netlist.insert(netlist.rfind(".END"), control.str());
  std::ofstream(base + ".cir") << netlist;
  std::ofstream ours(base + ".ours");
  ours << "# " << title << "\t" << passes << "\n";
  char line[400];
  for (const Compared &q : list) {
    std::snprintf(line, sizeof line, "%s\t%s\t%g\t%g\t%g\t%.17g\n", q.what.c_str(),
                  q.peerName.c_str(), q.sign, q.relative, q.absolute, q.ours);
    ours << line;
  }
}

bool solveCircuit(const CheckCircuit &cc, int number, const std::string &dir) {
  TestCircuit c;
  cc.build(c);
  const SolveReport report = c.SolveDC();
  std::cout << cc.name << ": " << report.passes << " Newton passes";
  if (!report.converged || report.passes > MostPasses) {
    std::cout << " -- FAILED to converge within " << MostPasses << "\n";
    return false;
  }
  std::cout << "\n";
  char base[32];
  std::snprintf(base, sizeof base, "/check-%02d", number);
  writeFiles(dir + base, c.netlist(cc.name), cc.name, report.passes, quantities(c, cc));
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
    writeFiles(dir + "/shared-name", netlist, "one shared default name (must disagree)",
               report.passes, {{"V(e2)", "v(" + spice + ")", c.netVoltage("e2"), 0.0, 0, 0.1}});
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
