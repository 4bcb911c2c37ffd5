// The passive devices in the real QorSim: components of the test on pages
// of the stand-in host, devices created by QorSim from each template's
// DEVPROGID, results read back from the component XML. Twins of the
// devices installed on a TestCircuit show the fix rules, the ResetDC calls
// and the netlist lines; the netlists go to ngspice (ngspice-compare.sh).
#include "passive-lib/tests/control-page.h"
#include "passive-lib/tests/netlist-kinds.h"
#include "passive-lib/tests/test-component.h"

#include "passive-lib/core/component-templates.h"

#include "circuit-sim/tests/host-seams.h"

#include "platform/drawing-host/win32/stand-in-host.h"
#include "testing/test-paths.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <set>
#include <limits>
#include <sstream>

namespace {

using passive::ComponentKind;
using passive_test::ansi;
using passive_test::Bstr;
using passive_test::ComPtr;
using passive_test::TestCircuit;
using passive_test::TestComponent;
using passive_test::TopologyCall;

const double Inf = std::numeric_limits<double>::infinity();

std::string exactText(double value) {
  std::ostringstream text;
  text.precision(17);
  text << value;
  return text.str();
}

struct Part : passive_test::DroppedControl {
  ComponentKind kind;
  ComPtr<com::Object<TestComponent>> control;
  std::string key;
  const std::vector<std::string> &pins() const { return passive_test::kindOf(kind).pins; }
};

std::string lower(std::string text) {
  for (char &ch : text)
    ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
  return text;
}

// A page drawn from netlist lines: its parts by line name, in line order,
// and the lines.
struct Drawing : circuit_test::NamedParts<Part> {
  std::vector<circuit_test::NetlistPart> lines;
};

class PassiveCircuit : public passive_test::ControlPage {
protected:
  static void SetUpTestSuite() { startServers({QORSIM_DLL, QORLIB01_DLL}); }
  static void TearDownTestSuite() { stopServers(); }
  void SetUp() override {
    ControlPage::SetUp();
    circuit_ = circuit();
    ASSERT_TRUE(circuit_);
    vectors_ = circuit_.query<IQorSimDC>();
    ASSERT_TRUE(vectors_);
  }

  Part add(ComponentKind kind, double x, double y = 0.0) {
    Part part;
    part.kind = kind;
    part.shape = page_->addShape(2, "Component");
    for (const std::string &pin : part.pins())
      part.shape->addConnectionPoint(pin);
    part.shape->cell("User.QOR", true)->setQuietly("1");
    part.shape->cell("PinX", true)->setQuietly(exactText(x));
    part.shape->cell("PinY", true)->setQuietly(exactText(y));
    part.key = part.shape->uniqueId(true);
    parts_.push_back(part.shape);
    part.control = ComPtr<com::Object<TestComponent>>::adopt(new com::Object<TestComponent>(
        lib_.get(), part.shape, passive::filledTemplate(kind, "1.00.419", "9 Dec 2026")));
    part.control->circuit = circuit_;
    // The letter of the kind's SPICE element, as the stencil's parts carry.
    part.control->partId = kind == ComponentKind::PowerRail
                               ? "V?"
                               : std::string(1, passive_test::kindOf(kind).letter) + "?";
    EXPECT_EQ(circuit_->OcxMapInsert(ansi(part.key).get(), part.shape,
                                     static_cast<IQorOcx *>(part.control.get()), VARIANT_TRUE),
              S_OK);
    return part;
  }
  // The parts of netlist lines (circuit-sim/tests/test-netlist.h): G, P
  // (the power rail), R, L, C and V, one unit apart in line order, each
  // value set as the part's parameter, each pin wired to the first pin on
  // its net.
  Drawing draw(const std::string &netlist) {
    Drawing drawing;
    drawing.lines = circuit_test::parseNetlist(netlist);
    for (const circuit_test::NetlistPart &line : drawing.lines) {
      const passive_test::NetlistKind &kind = passive_test::netlistKind(line);
      Part part = add(kind.kind, static_cast<double>(drawing.parts.size()));
      if (!line.value.empty())
        part.control->setParam(kind.param, circuit_test::plainValue(line.value));
      drawing.parts.emplace_back(line.name, part);
    }
    for (const auto &[from, to] : circuit_test::netJoins(drawing.lines))
      wire(drawing.parts[from.part].second, static_cast<short>(from.pin),
           drawing.parts[to.part].second, static_cast<short>(to.pin));
    return drawing;
  }
  // Builds the circuit from the page (GetDev), then solves it. A first
  // SolveDC that has to build a page of a later test in the process can
  // find no devices in the present simulator; building first avoids that.
  HRESULT solve() {
    if (!parts_.empty()) {
      ComPtr<IQorDev> built;
      circuit_->GetDev(parts_.front(), built.receive());
    }
    return circuit_->SolveDC();
  }
  LONG index(const std::string &net) {
    LONG found = -2;
    EXPECT_EQ(circuit_->IndexMapFind(ansi(net).get(), &found), S_OK) << net;
    return found;
  }
  double solution(LONG at) {
    double value = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(vectors_->get_Solution(at, &value), S_OK);
    return value;
  }
  ComPtr<IQorDev> device(const Part &part) {
    ComPtr<IQorDev> found;
    EXPECT_EQ(circuit_->GetDev(part.shape, found.receive()), S_OK);
    return found;
  }
  // A second device of the part's kind, installed on the recording circuit
  // under the part's name: it finds the nets the real device registered.
  ComPtr<IQorDev> twin(const Part &part, TestCircuit *recorder) {
    CLSID clsid;
    EXPECT_EQ(CLSIDFromProgID(ansi(passive_test::kindOf(part.kind).deviceProgId()).get(), &clsid),
              S_OK);
    ComPtr<IQorDev> created;
    EXPECT_EQ(
        CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IQorDev, created.receiveVoid()),
        S_OK);
    EXPECT_EQ(created->InstallDevice(ansi(part.key).get(),
                                     static_cast<IQorOcx *>(part.control.get()), recorder),
              S_OK);
    return created;
  }
  ComPtr<com::Object<TestCircuit>> recorder() {
    return ComPtr<com::Object<TestCircuit>>::adopt(new com::Object<TestCircuit>(circuit_.get()));
  }

  ComPtr<IQorSimCkt> circuit_;
  ComPtr<IQorSimDC> vectors_;
  std::vector<drawhost::Shape *> parts_;
};

TEST_F(PassiveCircuit, RailResistorAndGround) {
  Drawing d = draw("P1 a; R1 a 0; G1 0");
  const Part &rail = d["P1"], &r = d["R1"], &ground = d["G1"];
  ASSERT_EQ(solve(), S_OK);
  EXPECT_NEAR(solution(index(rail.key + "A")), 6.0, 1e-12);
  EXPECT_NEAR(rail.control->result("Idc"), -0.006, 1e-15);
  EXPECT_NEAR(rail.control->result("Pdc"), 0.036, 1e-15);
  EXPECT_NEAR(ground.control->result("Idc"), 0.006, 1e-15);
  EXPECT_NEAR(r.control->result("Vdc"), 6.0, 1e-12);
  EXPECT_NEAR(r.control->result("Idc"), 0.006, 1e-15);
  EXPECT_NEAR(r.control->result("Pdc"), 0.036, 1e-15);
  for (const Part *part : {&rail, &r, &ground}) {
    EXPECT_EQ(part->control->lastUpdate, S_OK);
    EXPECT_EQ(part->control->dirty, VARIANT_TRUE);
  }
  // The label texts the controls will show from these results.
  Bstr label;
  ComPtr<IXMLElement> idc = ground.control->item("RESULT", "Idc");
  ASSERT_EQ(lib_->FormatItem(idc.get(), nullptr, label.receive()), S_OK);
  EXPECT_EQ(label.toAnsi(), "Idc = 6.00 mA");
}

TEST_F(PassiveCircuit, DcSourceAcrossAResistor) {
  Drawing d = draw("V1 a 0; R1 a 0; G1 0");
  const Part &source = d["V1"], &r = d["R1"], &ground = d["G1"];
  ASSERT_EQ(solve(), S_OK);
  EXPECT_NEAR(source.control->result("Idc"), -0.006, 1e-15);
  EXPECT_NEAR(source.control->result("Pdc"), 0.036, 1e-15);
  EXPECT_NEAR(r.control->result("Idc"), 0.006, 1e-15);
  EXPECT_NEAR(ground.control->result("Idc"), 0.0, 1e-15);
}

TEST_F(PassiveCircuit, CapacitorAndInductorResults) {
  Drawing d = draw("P1 a; C1 a 0; R1 a b; L1 b 0; G1 0");
  const Part &c = d["C1"], &l = d["L1"];
  ASSERT_EQ(solve(), S_OK);
  EXPECT_NEAR(c.control->result("Vdc"), 6.0, 1e-12);
  EXPECT_NEAR(c.control->result("Qdc"), 6E-12, 1e-24);
  EXPECT_NEAR(c.control->result("Edc"), 1.8E-11, 1e-23);
  EXPECT_NEAR(l.control->result("Idc"), 0.006, 1e-15);
  EXPECT_NEAR(l.control->result("Phi"), 6E-12, 1e-24);
  EXPECT_NEAR(l.control->result("Edc"), 1.8E-14, 1e-26);
  // The inductor holds its two nets at one voltage.
  EXPECT_NEAR(solution(index(l.key + "A")), solution(index(l.key + "B")), 1e-15);
}

TEST_F(PassiveCircuit, ZeroOhmResistorShowsQuestionMarksAndThePageRecovers) {
  Drawing d = draw("P1 a; R1 a 0 0; G1 0");
  const Part &rail = d["P1"], &r = d["R1"];
  solve();
  for (const char *name : {"Idc", "Pdc"})
    EXPECT_EQ(r.control->result(name), Inf) << name;
  EXPECT_FALSE(std::isfinite(rail.control->result("Idc")));
  Bstr label;
  ASSERT_EQ(lib_->FormatItem(r.control->item("RESULT", "Idc").get(), nullptr, label.receive()),
            S_OK);
  EXPECT_EQ(label.toAnsi(), "Idc = ?");
  r.control->setParam("R", "1000");
  EXPECT_EQ(device(r)->UpdateParams(), S_OK);
  ASSERT_EQ(solve(), S_OK);
  EXPECT_NEAR(r.control->result("Idc"), 0.006, 1e-15);
  EXPECT_NEAR(rail.control->result("Idc"), -0.006, 1e-15);
}

TEST_F(PassiveCircuit, ResetDcOnlyForAChangedResistanceOrVoltage) {
  Drawing d = draw("P1 a; R1 a b; C1 a 0; L1 b 0; V1 s 0; R2 s 0; G1 0");
  const Part &rail = d["P1"], &r = d["R1"], &c = d["C1"], &l = d["L1"], &source = d["V1"];
  ASSERT_EQ(solve(), S_OK);
  struct Case {
    const Part *part;
    const char *param, *changed;
    int resetsOnChange;
  };
  const Case cases[] = {{&r, "R", "2200", 1},
                        {&rail, "Vdc", "9", 1},
                        {&source, "Vdc", "1", 1},
                        {&c, "C", "1E-6", 0},
                        {&l, "L", "1E-3", 0}};
  for (const Case &k : cases) {
    auto counter = recorder();
    ComPtr<IQorDev> dev = twin(*k.part, counter.get());
    const int first = counter->resets; // the first read always stores
    EXPECT_EQ(first, k.resetsOnChange) << k.param;
    EXPECT_EQ(dev->UpdateParams(), S_OK);
    EXPECT_EQ(counter->resets, first) << k.param << ": unchanged value";
    k.part->control->setParam(k.param, k.changed);
    EXPECT_EQ(dev->UpdateParams(), S_OK);
    EXPECT_EQ(counter->resets, first + k.resetsOnChange) << k.param << ": changed value";
    if (counter->resets) {
      EXPECT_EQ(counter->lastRebuild, VARIANT_FALSE);
    }
  }
  // The capacitance changed without a new solve: the next advise writes
  // results with the new value (6 V over 1 uF).
  EXPECT_EQ(device(c)->UpdateParams(), S_OK);
  EXPECT_EQ(solve(), S_OK);
  EXPECT_NEAR(c.control->result("Qdc"), 6.0 * 1E-6, 1e-18);
}

TEST_F(PassiveCircuit, InstallRecordsEachKindsBranch) {
  Drawing d = draw("G1 g; P1 p; R1 r1 r2; C1 c1 c2; L1 l1 l2; V1 v1 v2");
  const Part &ground = d["G1"], &rail = d["P1"], &r = d["R1"], &c = d["C1"], &l = d["L1"],
             &source = d["V1"];
  device(ground); // builds the circuit from the page
  struct Case {
    const Part *part;
    TopologyCall expected;
  };
  const Case cases[] = {
      {&ground, {0, index(ground.key + "A"), index(ground.key + "BE"), qorPathGndWire}},
      {&rail, {0, index(rail.key + "A"), index(rail.key + "BE"), qorPathVSource}},
      {&r, {index(r.key + "A"), index(r.key + "B"), index(r.key + "A"), qorPathDcResist}},
      {&c, {index(c.key + "A"), index(c.key + "B"), index(c.key + "A"), qorPathDcOpen}},
      {&l, {index(l.key + "A"), index(l.key + "B"), index(l.key + "A"), qorPathDcShort}},
      {&source,
       {index(source.key + "P"), index(source.key + "M"), index(source.key + "BE"),
        qorPathVSource}},
  };
  for (const Case &k : cases) {
    auto counter = recorder();
    twin(*k.part, counter.get());
    ASSERT_EQ(counter->topology.size(), 1u);
    EXPECT_TRUE(counter->topology[0] == k.expected) << passive_test::kindOf(k.part->kind).server;
  }
  QorVariableTypes type = qorVarNoType;
  EXPECT_EQ(circuit_->get_VarType(index(l.key + "BE"), &type), S_OK);
  EXPECT_EQ(type, qorVarCurrent);
  EXPECT_EQ(circuit_->get_VarType(index(l.key + "B"), &type), S_OK);
  EXPECT_EQ(type, qorVarVoltage);
}

TEST_F(PassiveCircuit, NakedPinFixRules) {
  Drawing d = draw("R1 r1 r2; C1 c1 c2; L1 l1 l2; V1 v1 v2; P1 p");
  const Part &r = d["R1"], &c = d["C1"], &l = d["L1"], &source = d["V1"], &rail = d["P1"];
  device(r);
  auto fix = [&](const Part &part, bool nakedA, bool nakedB) {
    auto counter = recorder();
    ComPtr<IQorDev> dev = twin(part, counter.get());
    counter->topology.clear();
    const LONG a = index(part.key + part.pins()[0]), b = index(part.key + part.pins()[1]);
    if (nakedA)
      counter->naked.insert(a);
    if (nakedB)
      counter->naked.insert(b);
    EXPECT_EQ(dev->TopologyFix(), S_OK);
    return std::make_pair(counter, std::make_pair(a, b));
  };
  // Per-pin rule: one naked pin gets the fix between the pins only.
  for (bool aNaked : {true, false}) {
    auto [counter, pins] = fix(c, aNaked, !aNaked);
    EXPECT_TRUE(counter->naked.empty());
    ASSERT_EQ(counter->topology.size(), 1u);
    EXPECT_TRUE(counter->topology[0] ==
                (TopologyCall{pins.first, pins.second, pins.first, qorPathDcResist}));
  }
  {
    auto [counter, pins] = fix(c, true, true);
    EXPECT_TRUE(counter->naked.empty());
    ASSERT_EQ(counter->topology.size(), 2u);
    EXPECT_TRUE(counter->topology[1] == (TopologyCall{pins.first, 0, pins.first, qorPathDcResist}));
  }
  // Both-pins rule: one naked pin stays flagged, both give the fix to ground.
  for (const Part *part : {&r, &l, &source}) {
    auto [one, pinsOne] = fix(*part, false, true);
    EXPECT_EQ(one->naked.count(pinsOne.second), 1u);
    EXPECT_TRUE(one->topology.empty());
    auto [both, pins] = fix(*part, true, true);
    EXPECT_TRUE(both->naked.empty());
    ASSERT_EQ(both->topology.size(), 1u);
    EXPECT_TRUE(both->topology[0] == (TopologyCall{pins.first, 0, pins.first, qorPathDcResist}));
  }
  auto counter = recorder();
  ComPtr<IQorDev> dev = twin(rail, counter.get());
  counter->topology.clear();
  counter->naked.insert(index(rail.key + "A"));
  EXPECT_EQ(dev->TopologyFix(), S_OK);
  EXPECT_TRUE(counter->topology.empty());
  EXPECT_EQ(counter->naked.size(), 1u);
}

// A resistor whose both pins are naked stamps its conductance and then
// the 1-siemens fix to ground through entries of the real matrix.
TEST_F(PassiveCircuit, FloatingResistorStampsItsFixToGround) {
  Drawing d = draw("P1 a; R1 a 0; G1 0");
  const Part &r = d["R1"];
  ASSERT_EQ(solve(), S_OK);
  auto counter = recorder();
  ComPtr<IQorDev> dev = twin(r, counter.get());
  const LONG a = index(r.key + "A"), b = index(r.key + "B");
  counter->naked = {a, b};
  ASSERT_EQ(dev->TopologyFix(), S_OK);
  ASSERT_EQ(dev->SetUpDeviceDC(), S_OK);
  ComPtr<IQorSparseMatrix> matrix;
  ASSERT_EQ(vectors_->get_Matrix(matrix.receive()), S_OK);
  ComPtr<IQorSparseEntry> diagonal;
  ASSERT_EQ(matrix->InstallMatrixEntry(a, a, diagonal.receive()), S_OK);
  double entryBefore = 0, entryAfter = 0, rhsBefore = 0, rhsAfter = 0;
  ASSERT_EQ(diagonal->get_RealValue(&entryBefore), S_OK);
  ASSERT_EQ(vectors_->get_Rhs(a, &rhsBefore), S_OK);
  ASSERT_EQ(dev->LoadDeviceDC(), S_OK);
  ASSERT_EQ(diagonal->get_RealValue(&entryAfter), S_OK);
  ASSERT_EQ(vectors_->get_Rhs(a, &rhsAfter), S_OK);
  const double va = solution(a), vb = solution(b);
  EXPECT_NEAR(entryAfter - entryBefore, 0.001 + 1.0, 1e-12);
  EXPECT_NEAR(rhsAfter - rhsBefore, -(va - vb) * 0.001 - va, 1e-12);
  EXPECT_EQ(dev->LimitDeltaDC(), S_OK);
}

TEST_F(PassiveCircuit, SpiceLinesOfEveryKind) {
  Drawing d = draw("G1 g; P1 p; R1 r1 r2; V1 v1 v2");
  const Part &ground = d["G1"], &rail = d["P1"], &r = d["R1"], &source = d["V1"];
  device(ground);
  auto counter = recorder();
  counter->partIds = {{rail.key, "V1"}, {r.key, "R1"}, {source.key, "V2"}};
  source.control->setParam("Vdc", "6.25");
  r.control->setParam("R", "4700");
  auto line = [&](const Part &part) {
    Bstr element, model;
    EXPECT_EQ(twin(part, counter.get())->SpiceInfo(element.receive(), model.receive()), S_OK);
    EXPECT_EQ(model.get(), nullptr);
    return element.get() ? element.toAnsi() : std::string("(null)");
  };
  const auto net = [&](const Part &part, const char *pin) {
    return "N" + std::to_string(index(part.key + pin));
  };
  EXPECT_EQ(line(ground), "(null)");
  EXPECT_EQ(line(rail), "V1 " + net(rail, "A") + " 0 DC 6");
  EXPECT_EQ(line(r), "R1 " + net(r, "A") + " " + net(r, "B") + " 4.7K");
  EXPECT_EQ(line(source), "V2 " + net(source, "P") + " " + net(source, "M") + " DC 6.25");
  Bstr element;
  EXPECT_EQ(twin(r, counter.get())->SpiceInfo(element.receive(), nullptr), E_POINTER);
}

// Netlists for ngspice-compare.sh, each with our solution of every pin net
// and the branch currents ngspice reports.
class Netlists : public PassiveCircuit {
protected:
  // The drawing's lines through the devices' SpiceInfo (the parts under
  // their line names, the rail a V, the ground none; the nets under
  // theirs, the ground's "0"), then as QorSim itself writes it
  // (CreateNetlist, "<name>-qorsim").
  void writeNetlist(const std::string &name, Drawing &drawing) {
    const std::string dir = testing_support::envOr("TEST_BINARY_DIR", ".") + "/netlists/";
    CreateDirectoryA(testing_support::hostPath(dir).c_str(), nullptr);
    ASSERT_EQ(solve(), S_OK);
    auto counter = recorder();
    std::ofstream cir(testing_support::hostPath(dir + name + ".cir"));
    std::ofstream ours(testing_support::hostPath(dir + name + ".ours"));
    ours.precision(17);
    cir << "* " << name << "\n";
    std::set<std::string> written;
    std::vector<std::string> ids;
    for (std::size_t i = 0; i < drawing.parts.size(); ++i) {
      const Part &part = drawing.parts[i].second;
      const circuit_test::NetlistPart &line = drawing.lines[i];
      ids.push_back(part.kind == ComponentKind::Ground      ? std::string()
                    : part.kind == ComponentKind::PowerRail ? "V" + line.name.substr(1)
                                                            : line.name);
      counter->partIds[part.key] = ids.back();
      for (std::size_t pin = 0; pin < line.nets.size(); ++pin) {
        const LONG at = index(part.key + part.pins()[pin]);
        counter->netNames[at] = line.nets[pin];
        if (line.nets[pin] != "0" && written.insert(line.nets[pin]).second)
          ours << line.nets[pin] << ' ' << solution(at) << "\n";
      }
    }
    std::vector<passive_test::SolvedPart> solved;
    for (std::size_t i = 0; i < drawing.parts.size(); ++i) {
      const Part &part = drawing.parts[i].second;
      Bstr element, model;
      ASSERT_EQ(twin(part, counter.get())->SpiceInfo(element.receive(), model.receive()), S_OK);
      if (element.get())
        cir << element.toAnsi() << "\n";
      if (ids[i][0] == 'V' || ids[i][0] == 'L')
        ours << lower(ids[i]) << "#branch " << part.control->result("Idc") << "\n";
      solved.push_back({part.key, part.pins(), part.control->result("Idc")});
    }
    cir << ".OP\n.END\n";
    qorsim_test::netlistSavePath = testing_support::hostPath(dir + name + "-qorsim.cir");
    ASSERT_EQ(circuit_->CreateNetlist(), S_OK);
    EXPECT_TRUE(std::ifstream(qorsim_test::netlistSavePath).good())
        << "QorSim wrote no netlist " << qorsim_test::netlistSavePath;
    passive_test::writeSolution(testing_support::hostPath(dir + name + "-qorsim.ours"),
                                circuit_.get(), solved);
  }
};

TEST_F(Netlists, DividerWithARail) {
  Drawing d = draw("P1 a 10; R1 a b; R2 b 0 2200; G1 0");
  writeNetlist("divider", d);
  EXPECT_NEAR(solution(index(d["R2"].key + "A")), 10.0 * 2200 / 3200, 1e-12);
}

TEST_F(Netlists, RlcLadder) {
  Drawing d = draw("P1 n0 12.5; G1 0;"
                   "R1 n0 a1 330; L2 a1 b1 2.2E-3; R3 b1 0 4700; C4 b1 0 4.7E-9;"
                   "R5 b1 a2 660; L6 a2 b2 2.2E-3; R7 b2 0 5700; C8 b2 0 4.7E-9;"
                   "R9 b2 a3 990; L10 a3 b3 2.2E-3; R11 b3 0 6700; C12 b3 0 4.7E-9");
  writeNetlist("ladder", d);
}

TEST_F(Netlists, DcSourceOfSixPointTwoFiveVolts) {
  Drawing d = draw("V1 a 0 6.25; R1 a 0 4700; G1 0");
  writeNetlist("source", d);
  EXPECT_NEAR(d["V1"].control->result("Idc"), -6.25 / 4700, 1e-15);
}

} // namespace

namespace {

// The stencil's drop macro: a dropped component group gets its control
// once, sized and centred on its body by seven formulas written in one
// batch that overwrites guarded cells; the dropped shapes are then selected
// again in the window, from the last to the first.
TEST_F(PassiveCircuit, CompOnDropInsertsTheControlOnce) {
  drawhost::Shape *outer = page_->addShape(2, "Group");
  drawhost::Shape *component = outer->addMember(2, "Resistor");
  component->cell("User.QOR", true)->setQuietly("\"QOR.ResDev\"");
  component->addMember(3, "BODY");
  drawhost::Shape *plain = page_->addShape(3, "Text");
  host_->setActiveWindow(page_, {plain, outer});
  const std::size_t before = host_->record().size();
  ASSERT_EQ(lib_->CompOnDrop(host_->activeWindow()), S_OK);
  ASSERT_EQ(component->members().size(), 2u);
  drawhost::Shape *control = component->members()[1].get();
  EXPECT_EQ(control->name(), "QOR");
  const struct {
    short section, row, column;
    const char *formula;
  } cells[] = {{1, 2, 2, "GUARD(0)"},  {1, 1, 0, "BODY!PinX"}, {1, 1, 1, "BODY!PinY"},
               {1, 1, 2, ".24 pt."},   {1, 1, 3, ".24 pt."},   {1, 1, 4, "Width*0.5"},
               {1, 1, 5, "Height*0.5"}};
  for (const auto &c : cells) {
    drawhost::Cell *cell = control->cellAt(c.section, c.row, c.column, false);
    ASSERT_TRUE(cell) << c.formula;
    EXPECT_EQ(cell->formula(), c.formula);
  }
  int inserts = 0, batches = 0;
  for (std::size_t i = before; i < host_->record().size(); ++i) {
    const std::string &line = host_->record()[i];
    inserts += line.rfind("InsertObject", 0) == 0;
    batches += line == "SetFormulas QOR flags 2 cells 7";
  }
  EXPECT_EQ(inserts, 1);
  EXPECT_EQ(batches, 1);
  EXPECT_TRUE(plain->members().empty());
  const std::vector<std::string> reselected = {"Select Group 2", "Select Text 2"};
  ASSERT_GE(host_->record().size(), 2u);
  EXPECT_EQ(std::vector<std::string>(host_->record().end() - 2, host_->record().end()), reselected);
  // Dropped again: the group already holds its control; only the
  // selection is made again.
  const std::size_t after = host_->record().size();
  ASSERT_EQ(lib_->CompOnDrop(host_->activeWindow()), S_OK);
  EXPECT_EQ(component->members().size(), 2u);
  EXPECT_EQ(std::vector<std::string>(host_->record().begin() + after, host_->record().end()),
            reselected);
  EXPECT_EQ(lib_->CompOnDrop(nullptr), E_POINTER);
}

TEST_F(PassiveCircuit, CompShowPropOpensTheOneSelectedComponent) {
  Part r = add(ComponentKind::Resistor, 0);
  Part c = add(ComponentKind::Capacitor, 1);
  host_->setActiveWindow(page_, {});
  EXPECT_EQ(lib_->CompShowProp(host_->activeWindow()), S_FALSE);
  host_->setActiveWindow(page_, {r.shape, c.shape});
  EXPECT_EQ(lib_->CompShowProp(host_->activeWindow()), S_FALSE);
  EXPECT_EQ(r.control->shown + c.control->shown, 0);
  host_->setActiveWindow(page_, {c.shape});
  EXPECT_EQ(lib_->CompShowProp(host_->activeWindow()), S_OK);
  EXPECT_EQ(c.control->shown, 1);
  EXPECT_EQ(r.control->shown, 0);
  EXPECT_EQ(lib_->CompShowProp(nullptr), E_POINTER);
}

} // namespace
