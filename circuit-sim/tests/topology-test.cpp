// The topology check on stand-in pages through the real QorSim.dll: the
// marks on components and connectors and whether the circuit is solved,
// for each kind of fault, with and without the stencil that holds the
// error line's master.
#include "circuit-sim/tests/circuit-fixture.h"

#include <limits>
#include <map>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

namespace {

using namespace qorsim_test;

const std::string ErrorLine = "USE(\"Error Line Pattern\")";
const double Infinity = std::numeric_limits<double>::infinity();

// The stencil "netweave.vss" open for one test.
class OpenStencil {
public:
  explicit OpenStencil(drawhost::StandInHost *host) : host_(host), stencil_(host->openStencil()) {}
  ~OpenStencil() { host_->deleteDocument(stencil_); }
  OpenStencil(const OpenStencil &) = delete;
  OpenStencil &operator=(const OpenStencil &) = delete;

private:
  drawhost::StandInHost *host_;
  drawhost::Document *stencil_;
};

class Topology : public Circuit {
protected:
  std::string line(Shape *connector) {
    drawhost::Cell *cell = connector->cellAt(1, 2, 2, false);
    return cell ? cell->formula() : std::string();
  }
};

// A fault of the drawing: the marks of the parts named (the others'
// unchecked), the wires that get the error line by the pin each joins,
// and the voltages published at pins (+infinity when the check fails).
struct Fault {
  const char *name, *netlist;
  std::map<std::string, std::vector<std::string>> marks;
  std::vector<std::string> errorLines;
  std::vector<std::pair<std::string, double>> volts; // "R1.B", volts
};

const Fault faults[] = {
    // A dangling pin is marked and the circuit still solved.
    {"DanglingPin",
     "V1 a 0 5; G1 0; R1 a open 1k",
     {{"R1", {"B"}}, {"V1", {}}, {"G1", {}}},
     {},
     {{"R1.A", 5.0}, {"R1.B", 5.0}}},
    // A net reached only through DC-open branches (the midpoint of two
    // capacitors): its owners are marked whole and nothing is solved.
    {"NodeWithoutDcPath",
     "V1 a 0 5; G1 0; C1 a mid 1e-6; C2 mid 0 1e-6",
     {{"C1", {"*"}}, {"C2", {"*"}}, {"V1", {}}},
     {"C2.A"},
     {{"V1.P", Infinity}}},
    {"ParallelSources",
     "V1 a 0 5; G1 0; V2 a 0 5",
     {{"V1", {"*"}}, {"V2", {"*"}}},
     {"V2.P", "V2.M"},
     {{"V1.P", Infinity}}},
    {"WireAcrossASource", "V1 0 0 5; G1 0", {{"V1", {"*"}}}, {"V1.M"}, {{"V1.P", Infinity}}},
    // A pin both dangling and without DC path is marked once, as dangling,
    // and the check still fails.
    {"DanglingAndPathlessPin",
     "V1 a 0 5; G1 0; C1 a open 1e-6",
     {{"C1", {"B"}}},
     {},
     {{"V1.P", Infinity}}},
};

void PrintTo(const Fault &fault, std::ostream *out) { *out << fault.name; }

class Faults : public Topology, public testing::WithParamInterface<Fault> {};

TEST_P(Faults, MarkComponentsAndConnectorsAndPublishTheirSolution) {
  OpenStencil stencil(host_);
  const Fault &fault = GetParam();
  Drawing d = draw(fault.netlist);
  host_->fireIdle();
  for (const auto &[name, marks] : fault.marks)
    EXPECT_EQ(d[name].control->marks, marks) << name;
  for (const std::string &pin : fault.errorLines)
    EXPECT_EQ(line(d.wireTo[pin]), ErrorLine) << pin;
  for (const auto &[pin, value] : fault.volts) {
    const double v = volts(d[pin.substr(0, pin.find('.'))], pin.substr(pin.find('.') + 1).c_str());
    if (value == Infinity) {
      EXPECT_EQ(v, Infinity) << pin;
    } else {
      EXPECT_NEAR(v, value, 1e-12) << pin;
    }
  }
  // Solved or not, every control is advised.
  for (const Part *part : d.all())
    EXPECT_EQ(part->control->advises, 1);
}

INSTANTIATE_TEST_SUITE_P(Topology, Faults, testing::ValuesIn(faults),
                         [](const testing::TestParamInfo<Fault> &info) { return info.param.name; });

// Without "netweave.vss" the components are marked and the circuit is
// solved all the same; only the connectors' error lines are left out.
TEST_F(Topology, MissingStencilSkipsOnlyTheConnectorLines) {
  ASSERT_EQ(host_->findDocument("netweave.vss"), nullptr);
  Drawing d = draw("V1 a 0 5; G1 0; R1 a open 1k");
  const Part &r = d["R1"];
  Shape *loose = page_->addShape(3, "Loose");
  loose->setOneD(true);
  page_->glue(loose, 9, r.shape, 1);
  host_->fireIdle();
  EXPECT_TRUE(r.control->marks.empty()); // B is reached by the loose wire
  EXPECT_EQ(line(loose), "");
  EXPECT_NEAR(volts(r, "B"), 5.0, 1e-12);
  // And with a fault that marks a component and fails the check.
  Part c = add("TestCap", "1e-6", 3, 0);
  wire(r, 1, c, 0);
  host_->fireIdle();
  EXPECT_EQ(c.control->marks, std::vector<std::string>{"B"});
  EXPECT_EQ(line(loose), "");
}

TEST_F(Topology, FreeWireEndGetsTheErrorLine) {
  OpenStencil stencil(host_);
  Drawing d = draw("V1 a 0 5; G1 0; R1 a 0 1k");
  const Part &r = d["R1"];
  Shape *loose = page_->addShape(3, "Loose");
  loose->setOneD(true);
  page_->glue(loose, 9, r.shape, 0);
  host_->fireIdle();
  EXPECT_EQ(line(loose), ErrorLine);
  EXPECT_EQ(loose->cellAt(1, 2, 3, false)->formula(), "0.12 pt.");
  EXPECT_NE(document_->findMaster("Error Line Pattern"), nullptr);
  EXPECT_TRUE(r.control->marks.empty());
  // Only a dangling end: solved.
  EXPECT_NEAR(volts(r, "A"), 5.0, 1e-12);
  // Once its end is glued the line comes back.
  Part r2 = add("TestRes", "1000", 3, 0);
  wire(r2, 1, d["G1"], 0);
  page_->glue(loose, 12, r2.shape, 0);
  host_->fireIdle();
  EXPECT_EQ(line(loose), "1");
  EXPECT_EQ(loose->cellAt(1, 2, 3, false)->formula(), "");
}

TEST_F(Topology, EmptyPageMarksNothingAndIsNotSolved) {
  host_->fireIdle();
  EXPECT_EQ(circuit_->SolveDC(), S_OK);
  double value = -1;
  EXPECT_EQ(vectors_->get_Solution(1, &value), E_INVALIDARG);
}

// A fault mended since the last check: the old marks are cleared first.
TEST_F(Topology, MendedFaultClearsTheMarks) {
  OpenStencil stencil(host_);
  Drawing d = draw("V1 a 0 5; G1 0; R1 a open 1k");
  const Part &r = d["R1"];
  host_->fireIdle();
  ASSERT_EQ(r.control->errorMark, "B");
  wire(r, 1, d["G1"], 0);
  host_->fireIdle();
  EXPECT_EQ(r.control->marks, (std::vector<std::string>{"B", ""}));
  EXPECT_NEAR(volts(r, "A"), 5.0, 1e-12);
}

} // namespace
