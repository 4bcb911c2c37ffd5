// The SPICE element and model lines of the semiconductor devices: model
// names from the TYPE item, the parameters exported, and the pin nets
// named with and without a series resistance.
#include "semi-lib/core/spice-lines.h"
#include "semi-lib/tests/circuit-builder.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace semi_test;
using semi::SpiceKind;

struct NameCase {
  SpiceKind kind;
  const char *type, *partId, *name;
};

TEST(SemiSpiceModelName, FromTheTypeText) {
  const NameCase cases[] = {
      {SpiceKind::Diode, "DEFAULT", "D1", "DMOD"},
      {SpiceKind::Npn, "DEFAULT", "Q1", "QMOD"},
      // The default PNP's own name: never the NPN's.
      {SpiceKind::Pnp, "DEFAULT", "Q2", "QPMOD"},
      {SpiceKind::Npn, "CUSTOM", "Q2", "Q2MOD"},
      {SpiceKind::Diode, "CUSTOM", "D1", "D1MOD"},
      // A custom part named like a default gets no default name.
      {SpiceKind::Npn, "CUSTOM", "Q", "QMODC"},
      {SpiceKind::Diode, "CUSTOM", "D", "DMODC"},
      {SpiceKind::Pnp, "CUSTOM", "qp", "qpMODC"},
      {SpiceKind::Pnp, "CUSTOM", "Q", "QMODC"},
      {SpiceKind::Diode, "1N4148", "D1", "D1N4148"},
      {SpiceKind::Npn, "2N3904", "Q1", "Q2N3904"},
      {SpiceKind::Pnp, "MJE350", "Q1", "MJE350"},
      {SpiceKind::Diode, "BAT85", "D3", "BAT85"},
  };
  for (const NameCase &c : cases)
    EXPECT_EQ(semi::spiceModelName(c.kind, c.type, c.partId), c.name) << c.type << " " << c.partId;
}

// V1 5 V into R1 into the device; the lines the netlist writer receives.
TestCircuit &diodePage(TestCircuit &c, std::vector<semi::ParamItem> params) {
  addNetlist(c, "V1 a gnd 5; R1 a x 1k; D1 x gnd; G1 gnd", sameModel(std::move(params)));
  c.build();
  return c;
}

TEST(SemiSpiceInfo, DefaultDiode) {
  TestCircuit c;
  diodePage(c, diodeParams());
  std::string element, model;
  c.device("D1").SpiceInfo(element, model);
  // Nets: x is the first effort net (1), gnd joins the reference.
  EXPECT_EQ(element, "D1 1 0 DMOD");
  EXPECT_EQ(model, ".MODEL DMOD D()");
  EXPECT_EQ(c.netlist("page"), "page\n"
                               "D1 1 0 DMOD\n"
                               ".MODEL DMOD D()\n"
                               "R1 2 1 1000\n"
                               "V1 2 0 DC 5\n"
                               ".OP\n.END\n");
}

TEST(SemiSpiceInfo, LibraryDiodeExportsEveryTextButGminAndImax) {
  TestCircuit c;
  diodePage(c, diode1N4148());
  std::string element, model;
  c.device("D1").SpiceInfo(element, model);
  EXPECT_EQ(element, "D1 1 0 D1N4148");
  EXPECT_EQ(model,
            ".MODEL D1N4148 D(IS=2.67E-9 N=1.82 RS=562E-3 TT=11.5E-9 CJO=4.02E-12 VJ=0.5 M=0.332)");
  // An empty TEXT is left out.
  c.component("D1").setText("TT", "");
  c.device("D1").SpiceInfo(element, model);
  EXPECT_EQ(model, ".MODEL D1N4148 D(IS=2.67E-9 N=1.82 RS=562E-3 CJO=4.02E-12 VJ=0.5 M=0.332)");
}

TEST(SemiSpiceInfo, CustomTransistorNamesItsModelAfterThePart) {
  TestCircuit c;
  addNetlist(c, "V1 vcc gnd 5; R1 vcc c 1k; R2 vcc b 100k; Q2 c b gnd; G1 gnd",
             sameModel(withModel(transistorParams(), "CUSTOM", {{"BF", "150"}})));
  c.build();
  std::string element, model;
  c.device("Q2").SpiceInfo(element, model);
  EXPECT_EQ(element.substr(0, 3), "Q2 ");
  EXPECT_EQ(element.substr(element.size() - 6), " Q2MOD");
  const std::string start = ".MODEL Q2MOD NPN(IS=1E-16 BF=150 NF=1 ";
  EXPECT_EQ(model.substr(0, start.size()), start);
  EXPECT_EQ(model.find("GMIN"), std::string::npos);
  EXPECT_EQ(model.find("IMAX"), std::string::npos);
}

TEST(SemiSpiceInfo, SeriesResistanceKeepsThePinNet) {
  // The same page with RC 0 and RC 10 names the same collector net, before
  // and after the matrix put the junction on one node or the other.
  std::string lines[2][2];
  const char *rc[2] = {"0", "10"};
  for (int i = 0; i < 2; ++i) {
    TestCircuit c;
    addNetlist(c, "V1 vcc gnd 5; R1 vcc c 1k; R2 vcc b 100k; Q1 c b gnd; G1 gnd");
    c.component("Q1").setText("RC", rc[i]);
    c.component("Q1").setText("RB", rc[i]);
    c.build();
    std::string model;
    c.device("Q1").SpiceInfo(lines[i][0], model);
    ASSERT_TRUE(c.SolveDC().converged);
    c.device("Q1").SpiceInfo(lines[i][1], model);
  }
  for (const auto &pair : lines)
    for (const std::string &line : pair)
      EXPECT_EQ(line, "Q1 1 2 0 QMOD");
}

TEST(SemiSpiceInfo, DefaultNpnAndPnpOnOnePageGetTwoModels) {
  TestCircuit c;
  addNetlist(c, "V1 vcc gnd 5; R1 vcc x 1k; Q1 x x y; Q2 gnd gnd y PNP; G1 gnd");
  c.build();
  std::string e1, m1, e2, m2;
  c.device("Q1").SpiceInfo(e1, m1);
  c.device("Q2").SpiceInfo(e2, m2);
  EXPECT_EQ(m1, ".MODEL QMOD NPN()");
  EXPECT_EQ(m2, ".MODEL QPMOD PNP()");
  EXPECT_EQ(e1.substr(e1.size() - 5), " QMOD");
  EXPECT_EQ(e2.substr(e2.size() - 6), " QPMOD");
}

} // namespace
