// The semiconductor benchmark, our half: a 40-stage transistor chain and a
// 500-diode ladder solved through our devices, the simulator's matrix and
// Newton loop, timed (best of five), and written as netlists with our node
// voltages beside them (bench-<size>.cir and .ours, as the cross-check
// writes them), so that scripts/bench-semi.sh can run ngspice on the same
// circuits, print its own analysis time beside ours and compare the nodes.
// Builds natively and for Windows (run under Wine).
//
//   semi-bench <existing scratch dir>
#include "semi-lib/tests/check-report.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <string>

namespace {

using namespace semi_test;

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
  const std::vector<Compared> nodes =
      nodeVoltages(c, [&](const std::string &net) { return c.netVoltage(net); });
  writeCheckFiles(dir + "/bench-" + std::to_string(b.size), c.netlist(b.name), b.name,
                  std::to_string(report.passes), nodes, "rusage all\n");
  std::printf("%s: %d nodes\n  ours: %.3f ms Newton (%d passes, %s), %.3f ms with matrix "
              "set-up\n",
              b.name, static_cast<int>(nodes.size()), ours.newton * 1e3, report.passes,
              report.converged ? "converged" : "NOT converged", ours.withSetUp * 1e3);
  return report.converged;
}

} // namespace

int main(int argc, char **argv) {
  if (argc != 2) {
    std::cerr << "usage: semi-bench <scratch dir>\n";
    return 2;
  }
  const std::string dir = argv[1];
  bool ok = true;
  for (const BenchCircuit &b : BenchCircuits)
    ok = bench(b, dir) && ok;
  return ok ? 0 : 1;
}
