// The DC benchmark: a square grid of resistors fed by a 10 V source at one
// corner and loaded by 1 kOhm to ground at the other, solved natively
// through our matrix and Newton loop. The same grid is written as a SPICE
// netlist for the peer, and the peer's ASCII raw file is compared with our
// answer afterwards.
//
//   circuit-grid-bench solve <n> <dir>    writes grid-<n>.cir, solves, writes ours-<n>.txt
//   circuit-grid-bench compare <n> <dir>  compares ours-<n>.txt with grid-<n>.raw
#include "circuit-sim/core/dc-newton.h"
#include "circuit-sim/tests/native-devices.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <sstream>
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
  std::ofstream out(dir + "/ours-" + std::to_string(n) + ".txt");
  out.precision(17);
  for (int i = 1; i <= nodes + 1; ++i)
    out << v.solution[i] << "\n";
  std::printf("grid %dx%d: ours %.3f s (%d Newton pass%s, %s, %d fill-ins)\n", n, n, seconds,
              outcome.passes, outcome.passes == 1 ? "" : "es",
              outcome.converged ? "converged" : "NOT converged", matrix.fillIns());
  return outcome.converged ? 0 : 1;
}

// The raw file lists "v(n<i>)" and "i(v1)" variables, then one value each.
bool readRaw(const std::string &path, int nodes, std::vector<double> &peer) {
  std::ifstream in(path);
  std::string line;
  std::vector<std::string> names;
  while (std::getline(in, line) && line.rfind("Variables:", 0) != 0) {
  }
  while (std::getline(in, line) && line.rfind("Values:", 0) != 0) {
    std::istringstream fields(line);
    std::string index, name;
    fields >> index >> name;
    names.push_back(name);
  }
  peer.assign(nodes + 2, NAN);
  std::string token;
  in >> token; // the point number
  for (const std::string &name : names) {
    double value;
    if (!(in >> value))
      return false;
    if (name.rfind("v(n", 0) == 0)
      peer[std::atoi(name.c_str() + 3)] = value;
    else if (name == "i(v1)")
      peer[nodes + 1] = value;
  }
  return true;
}

int compare(int n, const std::string &dir) {
  const int nodes = n * n;
  std::vector<double> peer;
  if (!readRaw(dir + "/grid-" + std::to_string(n) + ".raw", nodes, peer)) {
    std::printf("grid %dx%d: no answer from the peer\n", n, n);
    return 1;
  }
  std::ifstream in(dir + "/ours-" + std::to_string(n) + ".txt");
  double worst = 0.0;
  int worstAt = 0;
  std::vector<double> ours(nodes + 2, NAN);
  for (int i = 1; i <= nodes + 1; ++i)
    in >> ours[i];
  for (int i = 1; i <= nodes + 1; ++i) {
    // Both count the source's current as flowing from its plus node into it.
    const double theirs = peer[i];
    const double scale = std::max(std::fabs(ours[i]), std::fabs(theirs));
    const double relative = scale == 0.0 ? 0.0 : std::fabs(ours[i] - theirs) / scale;
    if (!(relative <= worst)) {
      worst = relative;
      worstAt = i;
    }
  }
  std::printf("grid %dx%d: V(far corner) ours %.12f, ngspice %.12f; source current ours "
              "%.12e, ngspice %.12e\n",
              n, n, ours[nodes], peer[nodes], ours[nodes + 1], peer[nodes + 1]);
  const bool same = worst <= 1e-9;
  std::printf("grid %dx%d: largest relative difference %.3g at unknown %d: %s\n", n, n, worst,
              worstAt, same ? "same to 1e-9" : "DIFFERENT");
  return same ? 0 : 1;
}

} // namespace

int main(int argc, char **argv) {
  if (argc != 4) {
    std::cerr << "usage: circuit-grid-bench solve|compare <n> <dir>\n";
    return 2;
  }
  const std::string mode = argv[1];
  const int n = std::atoi(argv[2]);
  if (n < 2 || n > 210) {
    std::cerr << "grid size out of range\n";
    return 2;
  }
  if (mode == "solve")
    return solve(n, argv[3]);
  if (mode == "compare")
    return compare(n, argv[3]);
  std::cerr << "unknown mode " << mode << "\n";
  return 2;
}
