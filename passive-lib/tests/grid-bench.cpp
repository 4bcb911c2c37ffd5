// The benchmark under Wine: a square grid of resistors on a stand-in page
// (n x n nodes, neighbours joined by resistors of 1000 + k % 7 ohms), fed
// by a 10 V power rail at one corner and loaded by 1 kOhm to ground at the
// other, numbered, scanned, checked and solved by one work event of the
// real QorSim. "passive" uses QorLib01's devices, "test" QorSim's test
// devices (a source and ground in place of the rail) on the same layout.
// Prints the seconds of the work event with QorSim's phases and the far
// corner's voltage, and has QorSim write the page's netlist for ngspice.
//
//   qorlib01-grid-bench <n> <passive|test> <netlist.cir>
#include "passive-lib/tests/test-component.h"
#include "testing/server-exports.h"

#include "passive-lib/core/component-templates.h"

#include "circuit-sim/tests/host-seams.h"
#include "platform/drawing-host/win32/stand-in-host.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using passive_test::ansi;
using passive_test::ComPtr;
using passive_test::TestComponent;

using testing_support::callExport;

struct Pin {
  drawhost::Shape *shape;
  short row;
  std::string net;
};

} // namespace

int main(int argc, char **argv) {
  if (argc != 4)
    return 2;
  const int n = std::atoi(argv[1]);
  const bool passive = std::string(argv[2]) == "passive";
  CoInitialize(nullptr);
  HMODULE modules[] = {LoadLibraryA(QORSIM_DLL), LoadLibraryA(QORLIB01_DLL),
                       LoadLibraryA(TEST_DEVICES_DLL)};
  for (HMODULE module : modules) {
    if (!module || callExport(module, "DllRegisterServer") != S_OK)
      return 3;
  }
  int result = 0;
  {
    ComPtr<IQorLib> lib;
    CoCreateInstance(CLSID_QorLib, nullptr, CLSCTX_INPROC_SERVER, IID_IQorLib, lib.receiveVoid());
    drawhost::StandInHost host;
    drawhost::Page *page = host.addDocument("C:\\Bench\\", "Grid.vsd")->addPage("Page-1");
    ComPtr<IQorSimCkt> circuit = qorsim_test::pageCircuit(page);
    if (!circuit)
      return 4;
    std::vector<ComPtr<com::Object<TestComponent>>> controls;
    int placed = 0;
    // A component with its control; value is the resistance or voltage.
    auto component = [&](const char *kind, const std::string &value, int pins) {
      drawhost::Shape *shape = page->addShape(2, "Component");
      const bool source = std::string(kind) == "Vdc";
      shape->addConnectionPoint(source ? "P" : "A");
      if (pins > 1)
        shape->addConnectionPoint(source ? "M" : "B");
      shape->cell("User.QOR", true)->setQuietly("1");
      shape->cell("PinX", true)->setQuietly(std::to_string(placed % 1000));
      shape->cell("PinY", true)->setQuietly(std::to_string(placed / 1000));
      ++placed;
      std::string xml;
      if (passive) {
        const passive::ComponentKind which =
            std::string(kind) == "Res"   ? passive::ComponentKind::Resistor
            : std::string(kind) == "Pwr" ? passive::ComponentKind::PowerRail
                                         : passive::ComponentKind::Ground;
        xml = passive::filledTemplate(which, "1.00.419", "9 Dec 2026");
      } else {
        xml = "<DEVICE OCXNAME=\"" + value + "\" DEVPROGID=\"QOR.Test" + kind + ".1\"/>";
      }
      auto control = ComPtr<com::Object<TestComponent>>::adopt(
          new com::Object<TestComponent>(lib.get(), shape, xml));
      // The letter of the SPICE element: the rail and the source are V.
      control->partId = std::string(1, kind[0] == 'P' ? 'V' : kind[0]) + "?";
      if (passive && value != "0")
        control->setParam(std::string(kind) == "Pwr" ? "Vdc" : "R", value);
      circuit->OcxMapInsert(ansi(shape->uniqueId(true)).get(), shape,
                            static_cast<IQorOcx *>(control.get()), VARIANT_TRUE);
      controls.push_back(control);
      return shape;
    };
    std::vector<std::vector<Pin>> nodes(static_cast<std::size_t>(n * n));
    int k = 0;
    auto resistor = [&](int a, int b) {
      ++k;
      const std::string ohms = std::to_string(1000 + k % 7);
      drawhost::Shape *shape = component("Res", ohms, 2);
      nodes[a].push_back({shape, 0, ""});
      if (b >= 0)
        nodes[b].push_back({shape, 1, ""});
      return shape;
    };
    for (int r = 0; r < n; ++r)
      for (int c = 0; c < n; ++c) {
        const int i = r * n + c;
        if (c + 1 < n)
          resistor(i, i + 1);
        if (r + 1 < n)
          resistor(i, i + n);
      }
    drawhost::Shape *load = resistor(n * n - 1, -1);
    drawhost::Shape *ground = component("Gnd", "0", 1);
    auto glue = [&](drawhost::Shape *from, short fromRow, drawhost::Shape *to, short toRow) {
      drawhost::Shape *wire = page->addShape(3, "Wire");
      wire->setOneD(true);
      page->glue(wire, 9, from, fromRow);
      page->glue(wire, 12, to, toRow);
    };
    drawhost::Shape *rail = component(passive ? "Pwr" : "Vdc", "10", passive ? 1 : 2);
    if (!passive)
      glue(rail, 1, component("Gnd", "0", 1), 0);
    nodes[0].push_back({rail, 0, ""});
    glue(load, 1, ground, 0);
    for (const std::vector<Pin> &pins : nodes)
      for (std::size_t p = 1; p < pins.size(); ++p)
        glue(pins[0].shape, pins[0].row, pins[p].shape, pins[p].row);
    using Clock = std::chrono::steady_clock;
    const auto start = Clock::now();
    host.fireIdle();
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    LONG corner = -1;
    circuit->IndexMapFind(ansi(load->uniqueId(false) + "A").get(), &corner);
    double volts = 0;
    circuit.query<IQorSimDC>()->get_Solution(corner, &volts);
    std::printf("%-7s devices: %d components, work event %.3f s, far corner %.12g V\n",
                passive ? "passive" : "test", placed, seconds, volts);
    std::printf("  phases:");
    for (const auto &[name, time] : qorsim_test::workPhases)
      std::printf(" %s=%.4f", name.c_str(), time);
    std::printf("\n");
    qorsim_test::netlistSavePath = argv[3];
    const HRESULT solved = std::isfinite(volts) ? circuit->CreateNetlist() : E_FAIL;
    result = solved == S_OK ? 0 : 1;
    circuit->Quit();
    for (auto &control : controls)
      control->circuit.reset();
  }
  for (HMODULE module : modules)
    callExport(module, "DllUnregisterServer");
  CoUninitialize();
  return result;
}
