// The devices through the solve contract: ResetDC counted on parameter
// changes, the inert transistor, results of an unsolved circuit, zero
// parameters, unconnected pins and the result formulas at known points.
#include "semi-lib/tests/circuit-builder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

using namespace semi_test;
const double Inf = std::numeric_limits<double>::infinity();

// A common-emitter stage around Q1: 5 V supply, 470 kOhm base feed and
// 1 kOhm collector load (forward active for a beta up to about 500); then
// the lines more.
void commonEmitter(TestCircuit &c, const std::string &more = "") {
  addNetlist(c, "V1 vcc gnd 5; RB1 vcc b 470k; RC1 vcc c 1k; Q1 c b gnd; G1 gnd;" + more);
}

struct ResetCase {
  const char *item;
  const char *from;
  const char *to;
  std::vector<bool> expected; // RebuildMatrix of each ResetDC call
};

TEST(SemiUpdateParams, ResetDcFollowsTheKindOfParameter) {
  const ResetCase cases[] = {
      {"RC", "0", "10", {true}}, {"RC", "10", "20", {false}},
      {"RC", "10", "0", {true}}, {"RB", "5", "5", {}},
      {"TF", "0", "1E-9", {}},   {"IS", "1E-16", "2E-16", {false}},
      {"CJC", "0", "1E-12", {}}, {"GMIN", "1E-12", "1E-11", {false}},
      {"RE", "0", "0.0", {}},
  };
  for (const ResetCase &rc : cases) {
    TestCircuit c;
    commonEmitter(c);
    c.component("Q1").setText(rc.item, rc.from);
    c.build();
    TestComponent &q = c.component("Q1");
    ASSERT_TRUE(c.device("Q1").UpdateParams());
    c.resetCalls.clear();
    q.setText(rc.item, rc.to);
    ASSERT_TRUE(c.device("Q1").UpdateParams());
    EXPECT_EQ(c.resetCalls, rc.expected) << rc.item << " " << rc.from << " to " << rc.to;
  }
}

TEST(SemiUpdateParams, StructuralChangeRebuildsTheMatrixAndSolvesAgain) {
  TestCircuit c;
  commonEmitter(c);
  ASSERT_TRUE(c.SolveDC().converged);
  EXPECT_EQ(c.setUpCount, 1);
  const double vc = c.netVoltage("c");
  c.component("Q1").setText("RC", "10");
  c.device("Q1").UpdateParams();
  EXPECT_FALSE(c.hasMatrix());
  EXPECT_THROW(c.Solution(1), semi::HostError); // no vectors until the next solve
  ASSERT_TRUE(c.SolveDC().converged);
  EXPECT_EQ(c.setUpCount, 2);
  // 10 Ohm more in the collector at a few mA changes the pin only slightly.
  EXPECT_NEAR(c.netVoltage("c"), vc, 0.05);
  EXPECT_NE(c.netVoltage("c"), vc);
}

TEST(SemiUpdateParams, ValueReadFromIeeeTextOrDefault) {
  TestCircuit c;
  commonEmitter(c);
  c.build();
  TestComponent &q = c.component("Q1");
  // An "IEEE" value wins over TEXT; one that cannot be read is +infinity;
  // an item with none of the three reads +infinity.
  for (semi::ParamItem &item : q.params) {
    if (item.name == "BF") {
      item.hasIeee = true;
      item.ieee = passive::ieeeText(250.0);
      item.hasText = true;
      item.text = "1";
    }
  }
  c.resetCalls.clear();
  c.device("Q1").UpdateParams();
  EXPECT_EQ(c.resetCalls, std::vector<bool>{false});
  ASSERT_TRUE(c.SolveDC().converged);
  // GMIN's share of the reverse-biased collector junction shows at 1e-7.
  EXPECT_NEAR(q.result("beta(DC)"), 250.0, 1e-3);
}

TEST(SemiInstallDevice, NullComponentOrCircuitIsAnInvalidArgument) {
  TestCircuit c;
  TestComponent component(transistorParams(), transistorResultNames());
  std::vector<std::unique_ptr<semi::SimDevice>> devices;
  devices.push_back(std::make_unique<semi::BjtDevice>(semi::Polarity::Pnp));
  devices.push_back(std::make_unique<semi::DiodeDevice>());
  for (const std::unique_ptr<semi::SimDevice> &device : devices) {
    try {
      device->InstallDevice("X1", nullptr, &c);
      ADD_FAILURE() << "a null component was accepted";
    } catch (const semi::HostError &e) {
      EXPECT_EQ(e.code(), semi::ResultInvalidArg);
    }
    EXPECT_THROW(device->InstallDevice("X1", &component, nullptr), semi::HostError);
    EXPECT_EQ(c.nodeCount(), 1); // nothing registered
  }
}

TEST(SemiTransistor, WithNoPinConnectedIsInert) {
  TestCircuit c;
  addNetlist(c, "V1 vcc gnd 5; R1 vcc gnd 1k; G1 gnd");
  c.add("Q9", "Q9", std::make_unique<semi::BjtDevice>(semi::Polarity::Npn),
        std::make_unique<TestComponent>(transistorParams(), transistorResultNames()), {});
  const SolveReport report = c.SolveDC();
  ASSERT_TRUE(report.solved);
  EXPECT_TRUE(report.converged);
  // Its internal nodes are the reference; the pins hang on the unit
  // conductance and carry nothing.
  EXPECT_THROW(c.netIndex("Q9iC"), std::out_of_range);
  const TestComponent &q = c.component("Q9");
  EXPECT_EQ(q.result("Vc"), 0.0);
  EXPECT_EQ(q.result("Vb"), 0.0);
  EXPECT_EQ(q.result("Ic"), 0.0);
  EXPECT_NEAR(c.netVoltage("vcc"), 5.0, 1e-12);
  EXPECT_NEAR(c.Solution(static_cast<VoltageSourceDevice &>(c.device("V1")).branch()), -5e-3,
              1e-15);
}

TEST(SemiResults, UnsolvedCircuitGivesInfinityEverywhere) {
  // A resistor pin that nothing else touches fails the topology check.
  TestCircuit c;
  commonEmitter(c, "D1 c gnd; RX c dangling 1k");
  const SolveReport report = c.SolveDC();
  EXPECT_FALSE(report.solved);
  for (const char *name : {"Q1", "D1"}) {
    const TestComponent &comp = c.component(name);
    EXPECT_TRUE(comp.dirty);
    for (std::size_t i = 0; i < comp.results.size(); ++i)
      EXPECT_EQ(comp.results[i], Inf) << name << " " << comp.resultNames[i];
  }
}

TEST(SemiResults, ZeroEmissionCoefficientGivesInfinitiesNotACrash) {
  TestCircuit c;
  commonEmitter(c, "D1 c gnd");
  c.component("Q1").setText("NF", "0");
  c.component("D1").setText("N", "0");
  // The infinite slopes reach the matrix, which cannot be factored: the
  // solve fails and the circuit stays usable.
  const SolveReport report = c.SolveDC();
  EXPECT_TRUE(report.factorFailed);
  EXPECT_FALSE(report.converged);
  c.component("Q1").setText("NF", "1");
  c.component("D1").setText("N", "1");
  c.device("Q1").UpdateParams();
  c.device("D1").UpdateParams();
  const SolveReport again = c.SolveDC();
  EXPECT_TRUE(again.converged);
  EXPECT_TRUE(std::isfinite(c.component("Q1").result("Ic")));
}

TEST(SemiResults, TransistorFormulasAtTheSolvedPoint) {
  TestCircuit c;
  commonEmitter(c);
  ASSERT_TRUE(c.SolveDC().converged);
  const TestComponent &q = c.component("Q1");
  // Ebers-Moll with qbInv 1: Ic = BF Ib, gm = Ic / Vt, rpi = BF / gm.
  const double vt = semi::thermalVoltage();
  // The stored values are those of the last load, one converged step
  // before the published solution.
  const double ib = (5.0 - c.netVoltage("b")) / 470e3;
  EXPECT_NEAR(q.result("Ib") / ib, 1.0, 1e-4);
  EXPECT_NEAR(q.result("Ic") / (100 * q.result("Ib")), 1.0, 1e-5);
  EXPECT_NEAR(q.result("Ie"), -(q.result("Ic") + q.result("Ib")), 1e-15);
  EXPECT_NEAR(q.result("gm") * vt / q.result("Ic"), 1.0, 1e-6);
  EXPECT_NEAR(q.result("rpi") * q.result("gm") / 100, 1.0, 1e-6);
  EXPECT_NEAR(q.result("Vce"), c.netVoltage("c"), 1e-12);
  EXPECT_NEAR(q.result("Vbe"), q.result("Vbe(int)"), 1e-5);
  EXPECT_NEAR(q.result("beta(DC)"), 100, 1e-3);
  EXPECT_NEAR(q.result("Pdc") /
                  (q.result("Ic") * q.result("Vce(int)") + q.result("Ib") * q.result("Vbe(int)")),
              1.0, 1e-6);
}

// What a load stores is what the results show, bit for bit: the solution
// moved after the last load (as the solver's last step moves it) changes
// only the results read from the solution itself.
TEST(SemiResults, StoredResultsAreThoseOfTheLastLoad) {
  TestCircuit c;
  commonEmitter(c, "D1 c gnd");
  ASSERT_TRUE(c.SolveDC().converged);
  const struct {
    const char *device;
    std::vector<const char *> stored;
  } cases[] = {{"Q1",
                {"Pdc", "Ic", "Ib", "Ie", "Vbe(int)", "Vbc(int)", "Vce(int)", "beta(DC)",
                 "beta(AC)", "gm", "rpi", "rmu", "ro"}},
               {"D1", {"Pdc"}}};
  for (const auto &test : cases) {
    c.device(test.device).UpdateResult();
    std::vector<double> before;
    for (const char *name : test.stored)
      before.push_back(c.component(test.device).result(name));
    for (double &v : c.vectors().solution)
      v *= 1 + 1e-3;
    c.device(test.device).UpdateResult();
    for (std::size_t i = 0; i < before.size(); ++i)
      EXPECT_EQ(c.component(test.device).result(test.stored[i]), before[i])
          << test.device << " " << test.stored[i];
  }
}

TEST(SemiDiode, SeriesResistanceZeroReportsVdcEqualToVj) {
  TestCircuit c;
  addNetlist(c, "V1 a gnd 5; R1 a x 1k; D1 x gnd; G1 gnd");
  const TestComponent &d = c.component("D1");
  ASSERT_TRUE(c.SolveDC().converged);
  EXPECT_EQ(d.result("Vdc"), d.result("Vj"));
  EXPECT_NEAR(d.result("Vj"), c.netVoltage("x"), 1e-12);
  EXPECT_NEAR(d.result("Idc") / ((5.0 - c.netVoltage("x")) / 1e3), 1.0, 1e-6);
  EXPECT_NEAR(d.result("rd") * d.result("gd"), 1.0, 1e-15);
}

TEST(SemiDiode, ResistanceAtZeroVoltsIsNVtOverIs) {
  TestCircuit c;
  addNetlist(c, "V1 a gnd 0; D1 a gnd; G1 gnd");
  TestComponent &d = c.component("D1");
  d.setText("GMIN", "0");
  d.setText("N", "1.5");
  ASSERT_TRUE(c.SolveDC().converged);
  EXPECT_DOUBLE_EQ(d.result("rd"), 1.5 * semi::thermalVoltage() / 1e-14);
  // No charge terms by default: CJO and TT are 0.
  EXPECT_EQ(d.result("Qj"), 0.0);
  EXPECT_EQ(d.result("cd"), 0.0);
}

TEST(SemiDiode, UnconnectedPinIsAUnitConductanceAndNeverLimited) {
  // D1's cathode touches nothing: the junction becomes 1 S, which keeps the
  // matrix regular, and the limit leaves its steps alone. D2 beside it is
  // connected and limited.
  TestCircuit c;
  addNetlist(c, "V1 a gnd 3; G1 gnd; D2 a gnd");
  c.add("D1", "D1", std::make_unique<semi::DiodeDevice>(),
        std::make_unique<TestComponent>(diodeParams(), diodeResultNames()), {{"A", "a"}});
  c.prepareMatrix();
  ASSERT_TRUE(c.topologyOk());
  std::vector<double> &v = c.vectors().solution;
  std::vector<double> &delta = c.vectors().delta;
  v[c.netIndex("a")] = 0.5;
  delta[c.netIndex("a")] = 4.5;
  c.device("D1").LimitDeltaDC();
  EXPECT_EQ(delta[c.netIndex("a")], 4.5);
  c.device("D2").LimitDeltaDC();
  EXPECT_NEAR(delta[c.netIndex("a")], 0.2303, 1e-4);
  // The unit conductance: 1 V across D1's junction draws 1 A into it.
  std::fill(v.begin(), v.end(), 0.0);
  v[c.netIndex("a")] = 1.0;
  c.clearLoad();
  c.device("D1").LoadDeviceDC();
  EXPECT_EQ(c.vectors().rhs[c.netIndex("a")], -1.0);
  EXPECT_EQ(c.matrixValue(c.netIndex("a"), c.netIndex("a")), 1.0);
  // Solved, nothing flows through the floating diode.
  c.resetCalls.clear();
  c.ResetDC(false);
  const SolveReport report = c.SolveDC();
  ASSERT_TRUE(report.converged);
  EXPECT_NEAR(c.component("D1").result("Vj"), 0.0, 1e-12);
  EXPECT_NEAR(c.netVoltage("D1K"), 3.0, 1e-12);
}

TEST(SemiDiode, ChargeAddsTransitAndDepletionTerms) {
  TestCircuit c;
  addNetlist(c, "V1 a gnd 5; R1 a x 1k; D1 x gnd; G1 gnd", sameModel(diode1N4148()));
  const TestComponent &d = c.component("D1");
  ASSERT_TRUE(c.SolveDC().converged);
  const double vj = d.result("Vj");
  const semi::ChargePoint dep = semi::DepletionCap(vj, 4.02e-12, 0.332, 0.5, 0.5);
  EXPECT_NEAR(d.result("Qj") / (11.5e-9 * d.result("Idc") + dep.charge), 1.0, 1e-12);
  EXPECT_NEAR(d.result("cd") / (11.5e-9 * d.result("gd") + dep.capacitance), 1.0, 1e-12);
  EXPECT_NEAR(d.result("Vdc") - vj, 0.562 * d.result("Idc"), 1e-9);
}

} // namespace
