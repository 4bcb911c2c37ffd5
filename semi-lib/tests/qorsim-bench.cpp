// The semiconductor benchmark in the real QorSim under Wine: the 40-stage
// transistor chain and the 500-diode ladder of semi-bench, drawn on a page
// of the stand-in host with QorLib02's devices and solved by QorSim. Times
// the circuit's build from the page, the first DC solve, a second one
// after ResetDC (the matrix kept) and a repeated SolveDC with nothing
// changed, which only advises the controls (best of three pages each),
// counts the Newton passes through the test ground, checks every node
// against the device core's native solve and writes the netlist and the
// page's node voltages for bench-semi.sh to hand to ngspice. The phases
// QorSim reports for the first solve (best of three each) show where its
// time goes.
//
//   qorsim-bench <existing scratch dir>   (run beside the four DLLs)
#include "semi-lib/tests/qorsim-page.h"

#include "circuit-sim/tests/host-seams.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace {

using namespace semi_test;

using Clock = std::chrono::steady_clock;

double seconds(Clock::time_point from) {
  return std::chrono::duration<double>(Clock::now() - from).count();
}

// The best time of each phase over the runs, in the order first seen.
struct PhaseTimes {
  std::vector<std::string> order;
  std::map<std::string, double> best;

  void take() {
    std::map<std::string, double> run;
    for (const auto &[name, seconds] : qorsim_test::workPhases) {
      if (!run.count(name) && !best.count(name))
        order.push_back(name);
      run[name] += seconds;
    }
    for (const auto &[name, seconds] : run) {
      auto known = best.find(name);
      best[name] = known == best.end() ? seconds : std::min(known->second, seconds);
    }
    qorsim_test::workPhases.clear();
  }

  std::string text() const {
    std::string line;
    for (const std::string &name : order) {
      char part[96];
      std::snprintf(part, sizeof part, "%s%s %.3f ms", line.empty() ? "" : ", ", name.c_str(),
                    best.at(name) * 1e3);
      line += part;
    }
    return line;
  }
};

bool bench(const BenchCircuit &b, const std::string &dir, QorServers &servers,
           drawhost::StandInHost &host, IQorLib *lib) {
  TestCircuit native;
  b.build(native, b.size);
  const SolveReport report = native.SolveDC();
  double build = 1e9, solve = 1e9, resolve = 1e9, advise = 1e9, worst = 0;
  LONG passes = 0;
  HRESULT solved = E_FAIL;
  PhaseTimes firstPhases;
  for (int run = 0; run < 3; ++run) {
    QorSimPage page(host, lib, "Bench" + std::to_string(b.size) + "-" + std::to_string(run));
    if (!page.ready())
      return false;
    page.draw(native.parts);
    Clock::time_point start = Clock::now();
    base::ComPtr<IQorDev> built;
    page.circuit()->GetDev(page.parts.front().shape, built.receive());
    build = std::min(build, seconds(start));
    const LONG before = servers.testDeviceLoads();
    qorsim_test::workPhases.clear();
    start = Clock::now();
    solved = page.circuit()->SolveDC();
    solve = std::min(solve, seconds(start));
    passes = servers.testDeviceLoads() - before;
    firstPhases.take();
    page.circuit()->ResetDC(VARIANT_FALSE);
    start = Clock::now();
    page.circuit()->SolveDC();
    resolve = std::min(resolve, seconds(start));
    start = Clock::now();
    page.circuit()->SolveDC();
    advise = std::min(advise, seconds(start));
    if (run == 0) {
      for (const std::string &net : native.netNames())
        worst = std::max(worst, std::fabs(page.netVoltage(net) - native.netVoltage(net)));
      writeCheckFiles(
          dir + "/bench-" + std::to_string(b.size), native.netlist(b.name), b.name,
          std::to_string(passes),
          nodeVoltages(native, [&](const std::string &net) { return page.netVoltage(net); }),
          "rusage all\n");
    }
  }
  std::printf("%s: %zu parts\n  QorSim: %.3f ms solve (%ld passes, %s), %.3f ms again after "
              "ResetDC, of which %.3f ms advising the controls; %.3f ms building the circuit "
              "from the page; nodes within %.3g V of the native core (%d passes)\n",
              b.name, native.parts.size(), solve * 1e3, static_cast<long>(passes),
              solved == S_OK ? "converged" : "NOT converged", resolve * 1e3, advise * 1e3,
              build * 1e3, worst, report.passes);
  std::printf("  first solve's phases: %s\n", firstPhases.text().c_str());
  return solved == S_OK && worst < 1e-9;
}

} // namespace

int main(int argc, char **argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: qorsim-bench <scratch dir>\n");
    return 2;
  }
  CoInitialize(nullptr);
  bool ok = true;
  {
    QorServers servers("QorSim.dll", "QorLib01.dll", "QorLib02.dll", "qorsim-test-devices.dll");
    if (!servers.ready()) {
      std::fprintf(stderr, "the servers could not be loaded and registered\n");
      return 1;
    }
    drawhost::StandInHost host;
    base::ComPtr<IQorLib> lib;
    if (FAILED(CoCreateInstance(CLSID_QorLib, nullptr, CLSCTX_INPROC_SERVER, IID_IQorLib,
                                lib.receiveVoid())))
      return 1;
    for (const BenchCircuit &b : BenchCircuits)
      ok = bench(b, argv[1], servers, host, lib.get()) && ok;
  }
  CoUninitialize();
  return ok ? 0 : 1;
}
