// The DC benchmark: a square grid of resistors fed by a 10 V source at one
// corner and loaded by 1 kOhm to ground at the other, solved natively
// through our matrix and Newton loop. The same grid is written as a SPICE
// netlist for the peer, whose ASCII raw file netlist-ngspice.py compares
// with our answer afterwards.
//
//   circuit-grid-bench solve <n> <dir>   writes grid-<n>.cir, solves, writes grid-<n>.expect
#include "circuit-sim/core/dc-newton.h"
#include "circuit-sim/tests/native-devices.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

namespace {

using namespace qorsim_test;

// Resistor values vary a little so that the answer is not symmetric.
struct GridResistor {
  int a, b;
  double ohms;
};

std::vector<GridResistor> gridResistors(int n) {
  std::vector<GridResistor> list;
  int k = 0;
  for (int r = 0; r < n; ++r) {
    for (int c = 0; c < n; ++c) {
      const int i = r * n + c + 1;
      if (c + 1 < n) {
        ++k;
        list.push_back({i, i + 1, 1000.0 + k % 7});
      }
      if (r + 1 < n) {
        ++k;
        list.push_back({i, i + n, 1000.0 + k % 5});
      }
    }
  }
  return list;
}

void writeNetlist(int n, const std::string &dir) {
  std::ofstream out(dir + "/grid-" + std::to_string(n) + ".cir");
  out << "grid " << n << "x" << n << "\n";
  int k = 0;
  for (const GridResistor &r : gridResistors(n))
    out << "R" << ++k << " n" << r.a << " n" << r.b << " " << r.ohms << "\n";
  out << "V1 n1 0 DC 10\nRG n" << n * n << " 0 1000\n"
      << ".control\nset filetype=ascii\nop\nwrite " << dir << "/grid-" << n
      << ".raw all\n"
      // Without an explicit quit a batch run with a control section ends
      // with status 1.
      << "quit 0\n.endc\n.end\n";
}

int solve(int n, const std::string &dir) {
  writeNetlist(n, dir);
  const int nodes = n * n;
  const auto start = std::chrono::steady_clock::now();
  NativeCircuit circuit(nodes + 1);
  for (const GridResistor &r : gridResistors(n))
    circuit.add<Resistor>(r.a, r.b, r.ohms);
  circuit.add<VoltageSource>(1, 0, nodes + 1, 10.0);
  circuit.add<Resistor>(nodes, 0, 1000.0);
  // The 200 x 200 grid has more unknowns than a circuit's matrix may hold;
  // the benchmark raises the limit as far as Markowitz products stay
  // within 32 bits.
  qorsim::CSparse matrix(std::make_unique<qorsim::ElementPools<qorsim::SparseElement>>(), 46340);
  qorsim::DcVectors v;
  circuit.setUp(matrix, v);
  std::vector<int> types(nodes + 2, qorsim::VoltageVariable);
  types[nodes + 1] = 18;
  const qorsim::DcOutcome outcome = qorsim::solveNewton(matrix, v, types, circuit);
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  // Our answer for netlist-ngspice.py: every node, and the source's
  // current, which both count as flowing from its plus node into it.
  std::ofstream out(dir + "/grid-" + std::to_string(n) + ".expect");
  out.precision(17);
  out << "tolerance 1e-9\n";
  for (int i = 1; i <= nodes; ++i)
    out << "n" << i << " " << v.solution[i] << "\n";
  out << "i(v1) " << v.solution[nodes + 1] << "\n";
  std::printf("grid %dx%d: ours %.3f s (%d Newton pass%s, %s, %d fill-ins)\n", n, n, seconds,
              outcome.passes, outcome.passes == 1 ? "" : "es",
              outcome.converged ? "converged" : "NOT converged", matrix.fillIns());
  return outcome.converged ? 0 : 1;
}

} // namespace

int main(int argc, char **argv) {
  const int n = argc == 4 ? std::atoi(argv[2]) : 0;
  if (argc != 4 || std::string(argv[1]) != "solve" || n < 2 || n > 210) {
    std::cerr << "usage: circuit-grid-bench solve <n (2 to 210)> <dir>\n";
    return 2;
  }
  return solve(n, argv[3]);
}
