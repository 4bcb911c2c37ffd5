// The work-event benchmark under Wine: a square grid of resistors on a
// stand-in page (n x n nodes, neighbours joined by resistors of 1000 to
// 1006 ohms), fed by a 10 V source at one corner and loaded by one more
// such resistor to ground at the other, made of the test devices and solved by the real
// QorSim.dll as a host would have it solved: every control registered,
// then one work event that numbers, rebuilds, checks and solves.
//
// Prints one line "work <seconds> <phase>=<seconds> ..." with the whole
// event and the phases QorSim reports, one line with the count of
// unknowns and whether the grid was solved, then writes the netlist
// through QorSim's own CreateNetlist and, beside it, our solution at every
// SPICE node (through SpiceNet) for the comparison with ngspice.
//
//   qorsim-work-bench <n> <folder>   writes grid-<n>.cir and grid-<n>.expect
#include "QorSim.h"
#include "testing/server-exports.h"
#include "circuit-sim/tests/host-seams.h"
#include "circuit-sim/tests/test-control.h"
#include "circuit-sim/tests/test-netlist.h"

#include "platform/com/win32/object.h"
#include "platform/drawing-host/win32/stand-in-host.h"
#include "testing/test-paths.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

using qorsim_test::Bstr;
using qorsim_test::ComPtr;

using qorsim_test::netlistSavePath;
using qorsim_test::workPhases;

using testing_support::callExport;

int run(int n, const std::string &folder) {
  drawhost::StandInHost host;
  drawhost::Page *page = host.addDocument("C:\\Bench\\", "Grid.vsd")->addPage("Page-1");
  ComPtr<IQorSimCkt> circuit = qorsim_test::pageCircuit(page);
  if (!circuit)
    return 4;
  // The grid as netlist lines (test-netlist.h), each part a component of
  // the test devices placed in rows of a thousand, each pin wired to the
  // first pin on its net.
  std::ostringstream lines;
  int k = 0;
  auto resistor = [&](int a, int b) { // node -1 is ground
    ++k;
    lines << "R" << k << " n" << a << " " << (b < 0 ? "0" : "n" + std::to_string(b)) << " "
          << 1000 + k % 7 << "\n";
  };
  for (int r = 0; r < n; ++r)
    for (int c = 0; c < n; ++c) {
      const int i = r * n + c;
      if (c + 1 < n)
        resistor(i, i + 1);
      if (r + 1 < n)
        resistor(i, i + n);
    }
  resistor(n * n - 1, -1);
  lines << "V1 n0 0 10\nG1 0 0\n";
  const std::vector<circuit_test::NetlistPart> parts = circuit_test::parseNetlist(lines.str());
  std::vector<ComPtr<com::Object<qorsim_test::TestControl>>> controls;
  for (const circuit_test::NetlistPart &part : parts) {
    const bool source = part.kind() == 'V';
    const char *kind = source ? "Vdc" : part.kind() == 'G' ? "Gnd" : "Res";
    drawhost::Shape *shape = page->addShape(2, "Component");
    shape->addConnectionPoint(source ? "P" : "A");
    shape->addConnectionPoint(source ? "M" : "B");
    shape->cell("User.QOR", true)->setQuietly("1");
    shape->cell("PinX", true)->setQuietly(std::to_string(controls.size() % 1000));
    shape->cell("PinY", true)->setQuietly(std::to_string(controls.size() / 1000));
    controls.push_back(ComPtr<com::Object<qorsim_test::TestControl>>::adopt(
        new com::Object<qorsim_test::TestControl>(shape, std::string("QOR.Test") + kind + ".1",
                                                  part.value, std::string(1, kind[0]) + "?")));
  }
  auto shapeOf = [&](std::size_t part) {
    IDrawShape *shape = nullptr;
    controls[part]->get_CompShape(&shape);
    shape->Release(); // the page keeps it
    return static_cast<drawhost::Shape *>(shape);
  };
  for (const auto &[from, to] : circuit_test::netJoins(parts)) {
    drawhost::Shape *wire = page->addShape(3, "Wire");
    wire->setOneD(true);
    page->glue(wire, 9, shapeOf(from.part), static_cast<short>(from.pin));
    page->glue(wire, 12, shapeOf(to.part), static_cast<short>(to.pin));
  }
  drawhost::Shape *load = shapeOf(parts.size() - 3);
  for (auto &control : controls) {
    IDrawShape *shape = nullptr;
    control->get_CompShape(&shape);
    drawhost::Shape *own = static_cast<drawhost::Shape *>(shape);
    circuit->OcxMapInsert(Bstr(own->uniqueId(true)).get(), shape,
                          static_cast<IQorOcx *>(control.get()), VARIANT_TRUE);
    shape->Release();
  }

  using Clock = std::chrono::steady_clock;
  workPhases.clear();
  const auto start = Clock::now();
  host.fireIdle();
  const double work = std::chrono::duration<double>(Clock::now() - start).count();
  std::printf("work %.4f", work);
  for (const auto &[name, seconds] : workPhases)
    std::printf(" %s=%.4f", name.c_str(), seconds);
  std::printf("\n");

  int result = 0;
  if (controls.front()->advises != 1) {
    std::printf("the work event did not reach the controls\n");
    result = 1;
  }
  // Our solution at every SPICE node; nets of one node agree.
  ComPtr<IQorSimDC> vectors = circuit.query<IQorSimDC>();
  std::map<std::string, double> solution;
  LONG unknowns = 0;
  for (LONG index = 1;; ++index) {
    Bstr node;
    if (circuit->get_SpiceNet(index, node.receive()) != S_OK)
      break;
    unknowns = index;
    double volts = 0.0;
    vectors->get_Solution(index, &volts);
    if (node.toAnsi() != "-1")
      solution[node.toAnsi()] = volts;
  }
  LONG corner = -1;
  circuit->IndexMapFind(Bstr(load->uniqueId(false) + "A").get(), &corner);
  double volts = 0.0;
  vectors->get_Solution(corner, &volts);
  // A circuit with more unknowns than a matrix holds is published as
  // plus infinity: there is nothing to compare then.
  const bool solved = std::isfinite(volts);
  std::printf("unknowns %ld, SPICE nodes %zu, far corner %.12g V, %s\n",
              static_cast<long>(unknowns), solution.size(), volts,
              solved ? "solved" : "not solved");
  if (solved) {
    std::ofstream expect(
        testing_support::hostPath(folder + "/grid-" + std::to_string(n) + ".expect"));
    expect << "tolerance 1e-9\n";
    expect.precision(17);
    for (const auto &[node, value] : solution)
      expect << node << " " << value << "\n";
  }

  netlistSavePath = testing_support::hostPath(folder + "/grid-" + std::to_string(n) + ".cir");
  const auto netlistStart = Clock::now();
  if (circuit->CreateNetlist() != S_OK)
    result = 1;
  std::printf("netlist %.4f\n", std::chrono::duration<double>(Clock::now() - netlistStart).count());
  circuit->Quit();
  return result;
}

} // namespace

int main(int argc, char **argv) {
  if (argc != 3)
    return 2;
  const int n = std::atoi(argv[1]);
  if (n < 2)
    return 2;
  CoInitialize(nullptr);
  HMODULE modules[] = {LoadLibraryA(testing_support::hostPath(QORSIM_DLL).c_str()),
                       LoadLibraryA(testing_support::hostPath(TEST_DEVICES_DLL).c_str())};
  for (HMODULE module : modules) {
    if (!module || callExport(module, "DllRegisterServer") != S_OK)
      return 3;
  }
  const int result = run(n, argv[2]);
  for (HMODULE module : modules)
    callExport(module, "DllUnregisterServer");
  CoUninitialize();
  return result;
}
