// The topology check on stand-in pages through the real QorSim.dll: the
// marks on components and connectors and whether the circuit is solved,
// for each kind of fault, with and without the stencil that holds the
// error line's master.
#include "circuit-sim/tests/circuit-fixture.h"

#include <limits>

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
  // A source wired to ground on its minus pin.
  Part groundedSource(const std::string &volts, double x) {
    Part source = add("TestVdc", volts, x, 1);
    ground_ = add("TestGnd", "0", x, 0);
    wire(source, 1, ground_, 0);
    return source;
  }
  Part ground_;
};

TEST_F(Topology, DanglingPinIsMarkedAndTheCircuitStillSolved) {
  OpenStencil stencil(host_);
  Part source = groundedSource("5", 0);
  Part r = add("TestRes", "1000", 1, 1);
  wire(source, 0, r, 0);
  host_->fireIdle();
  EXPECT_EQ(r.control->marks, std::vector<std::string>{"B"});
  EXPECT_TRUE(source.control->marks.empty());
  EXPECT_TRUE(ground_.control->marks.empty());
  EXPECT_NEAR(volts(r, "A"), 5.0, 1e-12);
  EXPECT_NEAR(volts(r, "B"), 5.0, 1e-12);
}

// Without "netweave.vss" the components are marked and the circuit is
// solved all the same; only the connectors' error lines are left out.
TEST_F(Topology, MissingStencilSkipsOnlyTheConnectorLines) {
  ASSERT_EQ(host_->findDocument("netweave.vss"), nullptr);
  Part source = groundedSource("5", 0);
  Part r = add("TestRes", "1000", 1, 1);
  wire(source, 0, r, 0);
  Shape *loose = page_->addShape(3, "Loose");
  loose->setOneD(true);
  page_->glue(loose, 9, r.shape, 1);
  host_->fireIdle();
  EXPECT_TRUE(r.control->marks.empty()); // B is reached by the loose wire
  EXPECT_EQ(line(loose), "");
  EXPECT_NEAR(volts(r, "B"), 5.0, 1e-12);
  // And with a fault that marks a component and fails the check.
  Part c = add("TestCap", "1e-6", 2, 1);
  wire(r, 1, c, 0);
  host_->fireIdle();
  EXPECT_EQ(c.control->marks, std::vector<std::string>{"B"});
  EXPECT_EQ(line(loose), "");
}

TEST_F(Topology, FreeWireEndGetsTheErrorLine) {
  OpenStencil stencil(host_);
  Part source = groundedSource("5", 0);
  Part r = add("TestRes", "1000", 1, 1);
  wire(source, 0, r, 0);
  wire(r, 1, ground_, 0);
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
  Part r2 = add("TestRes", "1000", 2, 1);
  wire(r2, 1, ground_, 0);
  page_->glue(loose, 12, r2.shape, 0);
  host_->fireIdle();
  EXPECT_EQ(line(loose), "1");
  EXPECT_EQ(loose->cellAt(1, 2, 3, false)->formula(), "");
}

// A net reached only through DC-open branches (the midpoint of two
// capacitors): its owners are marked whole and nothing is solved.
TEST_F(Topology, NodeWithoutDcPathMarksItsBranches) {
  OpenStencil stencil(host_);
  Part source = groundedSource("5", 0);
  Part c = add("TestCap", "1e-6", 1, 1);
  Part r = add("TestCap", "1e-6", 2, 1);
  wire(source, 0, c, 0);
  Shape *middle = wire(c, 1, r, 0);
  wire(r, 1, ground_, 0);
  host_->fireIdle();
  EXPECT_EQ(c.control->marks, std::vector<std::string>{"*"});
  EXPECT_EQ(r.control->marks, std::vector<std::string>{"*"});
  EXPECT_EQ(line(middle), ErrorLine);
  EXPECT_TRUE(source.control->marks.empty());
  EXPECT_EQ(volts(source, "P"), Infinity);
  EXPECT_EQ(r.control->advises, 1);
}

TEST_F(Topology, ParallelSourcesAreALoopOfShorts) {
  OpenStencil stencil(host_);
  Part v1 = groundedSource("5", 0);
  Part v2 = add("TestVdc", "5", 1, 1);
  Shape *plus = wire(v1, 0, v2, 0);
  Shape *minus = wire(v1, 1, v2, 1);
  host_->fireIdle();
  EXPECT_EQ(v1.control->marks, std::vector<std::string>{"*"});
  EXPECT_EQ(v2.control->marks, std::vector<std::string>{"*"});
  EXPECT_EQ(line(plus), ErrorLine);
  EXPECT_EQ(line(minus), ErrorLine);
  EXPECT_EQ(volts(v1, "P"), Infinity);
}

TEST_F(Topology, WireAcrossASourceIsALoop) {
  OpenStencil stencil(host_);
  Part source = groundedSource("5", 0);
  Shape *across = wire(source, 0, source, 1);
  host_->fireIdle();
  EXPECT_EQ(source.control->marks, std::vector<std::string>{"*"});
  EXPECT_EQ(line(across), ErrorLine);
  EXPECT_EQ(volts(source, "P"), Infinity);
}

// A pin both dangling and without DC path is marked once, as dangling,
// and the check still fails.
TEST_F(Topology, DanglingAndPathlessPinIsMarkedOnlyAsDangling) {
  OpenStencil stencil(host_);
  Part source = groundedSource("5", 0);
  Part c = add("TestCap", "1e-6", 1, 1);
  wire(source, 0, c, 0);
  host_->fireIdle();
  EXPECT_EQ(c.control->marks, std::vector<std::string>{"B"});
  EXPECT_EQ(volts(source, "P"), Infinity);
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
  Part source = groundedSource("5", 0);
  Part r = add("TestRes", "1000", 1, 1);
  wire(source, 0, r, 0);
  host_->fireIdle();
  ASSERT_EQ(r.control->errorMark, "B");
  wire(r, 1, ground_, 0);
  host_->fireIdle();
  EXPECT_EQ(r.control->marks, (std::vector<std::string>{"B", ""}));
  EXPECT_NEAR(volts(r, "A"), 5.0, 1e-12);
}

} // namespace
