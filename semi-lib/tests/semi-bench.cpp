// The semiconductor benchmark: a 40-stage transistor chain and a 500-diode
// ladder solved natively through our devices, the simulator's matrix and
// Newton loop, and by ngspice in the same run. ngspice's own analysis time
// (its "rusage" report) stands beside ours, and the node voltages of both
// are compared (1e-5 V + 1e-6 |V|).
//
//   semi-bench <scratch dir>
#include "semi-lib/tests/check-circuits.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>
#include <string>

namespace {

using namespace semi_test;

struct BenchCircuit {
  const char *name;
  void (*build)(TestCircuit &, int);
  int size;
};

struct OurTimes {
  double withSetUp = 1e9; // matrix made, devices set up, start pass and Newton
  double newton = 1e9;    // start pass and Newton passes on a made matrix
};

// The best of several runs of each.
OurTimes ourSeconds(const BenchCircuit &b, SolveReport &report) {
  OurTimes best;
  for (int run = 0; run < 5; ++run) {
    TestCircuit c;
    b.build(c, b.size);
    c.build();
    auto start = std::chrono::steady_clock::now();
    report = c.SolveDC();
    std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    best.withSetUp = std::min(best.withSetUp, took.count());
    c.ResetDC(false);
    start = std::chrono::steady_clock::now();
    report = c.SolveDC();
    took = std::chrono::steady_clock::now() - start;
    best.newton = std::min(best.newton, took.count());
  }
  return best;
}

bool bench(const BenchCircuit &b, const std::string &dir) {
  SolveReport report;
  const OurTimes ours = ourSeconds(b, report);
  TestCircuit c;
  b.build(c, b.size);
  c.SolveDC();
  std::string netlist = c.netlist(b.name);
  std::ostringstream control;
  control << ".options temp=26.99423 tnom=26.99423 reltol=1e-9 vntol=1e-12 abstol=1e-18\n"
          << ".control\nset numdgt=12\nop\nrusage all\n";
  std::vector<std::pair<std::string, std::string>> nets;
  for (const std::string &net : c.netNames()) {
    const std::string spice = c.SpiceNet(c.netIndex(net));
    if (spice != "0") {
      nets.push_back({net, spice});
      control << "print v(" << spice << ")\n";
    }
  }
  control << "quit 0\n.endc\n";
  netlist.insert(netlist.rfind(".END"), control.str());
  const std::string base = dir + "/bench-" + std::to_string(b.size);
  std::ofstream(base + ".cir") << netlist;
  std::system(("ngspice -b " + base + ".cir > " + base + ".log 2>&1").c_str());
  std::ifstream log(base + ".log");
  std::map<std::string, double> values;
  double theirs = NAN;
  for (std::string line; std::getline(log, line);) {
    const std::size_t eq = line.find(" = ");
    if (eq == std::string::npos)
      continue;
    const double v = std::atof(line.c_str() + eq + 3);
    if (line.rfind("Total analysis time (seconds)", 0) == 0)
      theirs = v;
    else
      values[line.substr(0, eq)] = v;
  }
  int disagreements = 0;
  for (const auto &[net, spice] : nets) {
    const auto found = values.find("v(" + spice + ")");
    const double ourV = c.netVoltage(net);
    if (found == values.end() || std::fabs(found->second - ourV) > 1e-5 + 1e-6 * std::fabs(ourV))
      ++disagreements;
  }
  std::printf("%s: %zu nodes\n  ours: %.3f ms Newton (%d passes, %s), %.3f ms with matrix "
              "set-up\n  ngspice: %.3f ms total analysis time (rusage)\n  node voltages: %d "
              "disagree\n",
              b.name, nets.size(), ours.newton * 1e3, report.passes,
              report.converged ? "converged" : "NOT converged", ours.withSetUp * 1e3, theirs * 1e3,
              disagreements);
  return report.converged && disagreements == 0;
}

} // namespace

int main(int argc, char **argv) {
  if (argc != 2) {
    std::cerr << "usage: semi-bench <scratch dir>\n";
    return 2;
  }
  const std::string dir = argv[1];
  std::system(("mkdir -p '" + dir + "'").c_str());
  const BenchCircuit circuits[] = {{"40-stage transistor chain", transistorChain, 40},
                                   {"500-diode ladder", diodeLadder, 500}};
  bool ok = true;
  for (const BenchCircuit &b : circuits)
    ok = bench(b, dir) && ok;
  return ok ? 0 : 1;
}
