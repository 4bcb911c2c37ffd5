// The cross-check and benchmark circuits.
#include "semi-lib/tests/check-circuits.h"

namespace semi_test {

// The library row gives RB twice; the later value wins when a model is
// taken from the library.
std::vector<semi::ParamItem> npn2N3904() {
  return withModel(transistorParams(), "2N3904",
                   {{"IS", "6.81E-15"},
                    {"BF", "412"},
                    {"ISE", "6.81E-15"},
                    {"NE", "1.27"},
                    {"VAF", "73.2"},
                    {"IKF", "66.5E-3"},
                    {"BR", "0.732"},
                    {"RB", "7.5"},
                    {"TF", "301E-12"},
                    {"CJE", "4.53E-12"},
                    {"MJE", "0.261"},
                    {"TR", "237E-9"},
                    {"CJC", "3.65E-12"},
                    {"MJC", "0.309"}});
}

std::vector<semi::ParamItem> pnp2N3906() {
  return withModel(transistorParams(), "2N3906",
                   {{"IS", "1.40E-15"},
                    {"BF", "182"},
                    {"VAF", "18.7"},
                    {"IKF", "80.6E-3"},
                    {"BR", "4.99"},
                    {"RC", "2.49"},
                    {"RB", "7.5"},
                    {"TF", "178E-12"},
                    {"CJE", "8.06E-12"},
                    {"MJE", "0.365"},
                    {"TR", "33.2E-9"},
                    {"CJC", "9.76E-12"},
                    {"MJC", "0.576"}});
}

std::vector<semi::ParamItem> everyTermNpn() {
  return withModel(transistorParams(), "GPALL",
                   {{"IS", "1E-15"},  {"BF", "120"},    {"NF", "1.05"},  {"ISE", "2E-14"},
                    {"NE", "1.6"},    {"VAF", "60"},    {"IKF", "0.01"}, {"BR", "3"},
                    {"NR", "1.1"},    {"ISC", "5E-14"}, {"NC", "1.8"},   {"VAR", "15"},
                    {"IKR", "0.005"}, {"RC", "10"},     {"RE", "2"},     {"RB", "50"},
                    {"TF", "3E-10"},  {"CJE", "5E-12"}, {"VJE", "0.8"},  {"MJE", "0.4"},
                    {"TR", "1E-8"},   {"CJC", "3E-12"}, {"VJC", "0.6"},  {"MJC", "0.5"}});
}

NamedModel checkModel(char kind, const std::string &name) {
  using semi::Polarity;
  if (kind == 'D' && name == "1N4148")
    return {Polarity::Npn, diode1N4148()};
  if (name == "2N3904")
    return {Polarity::Npn, npn2N3904()};
  if (name == "2N3906")
    return {Polarity::Pnp, pnp2N3906()};
  if (name == "GPALL")
    return {Polarity::Npn, everyTermNpn()};
  return defaultModel(kind, name);
}

namespace {

// Each circuit's netlist; the ground is G1 on "gnd" in all of them.
const struct {
  const char *name, *netlist;
} checkNetlists[] = {
    {"1N4148 forward", "V1 in gnd 5; R1 in a 1k; D1 a gnd 1N4148"},
    {"default diode forward", "V1 in gnd 5; R1 in a 1k; D1 a gnd"},
    {"1N4148 hard-driven", "V1 in gnd 5; R1 in a 10; D1 a gnd 1N4148"},
    {"default diode hard-driven", "V1 in gnd 5; R1 in a 10; D1 a gnd"},
    {"1N4148 reversed", "V1 in gnd 5; R1 in k 1k; D1 gnd k 1N4148"},
    {"default diode reversed", "V1 in gnd 5; R1 in k 1k; D1 gnd k"},
    {"2N3904 common-emitter stage",
     "V1 vcc gnd 12; R1 vcc b 47k; R2 b gnd 10k; R3 vcc c 2.2k; R4 e gnd 470; Q1 c b e 2N3904"},
    {"2N3906 bias stage",
     "V1 vcc gnd 12; R1 vcc b 10k; R2 b gnd 47k; R3 vcc e 1k; R4 c gnd 3.3k; Q1 c b e 2N3906"},
    {"NPN current mirror",
     "V1 vcc gnd 10; R1 vcc ref 10k; R2 vcc out 2k; Q1 ref ref gnd 2N3904; Q2 out ref gnd 2N3904"},
    {"PNP current mirror",
     "V1 vcc gnd 10; R1 ref gnd 10k; R2 out gnd 2k; Q1 ref ref vcc 2N3906; Q2 out ref vcc 2N3906"},
    {"saturated switch", "V1 vcc gnd 5; R1 vcc b 1k; R2 vcc c 1k; Q1 c b gnd 2N3904"},
    // Collector and emitter swapped: the transistor runs reverse-active.
    {"every Gummel-Poon term, reverse-active",
     "V1 vcc gnd 10; R1 vcc b 100k; R2 vcc e 2k; Q1 gnd b e GPALL"},
    // Driven far beyond the knee current IKF.
    {"every Gummel-Poon term, high injection",
     "V1 vcc gnd 10; R1 vcc b 2k; R2 vcc c 20; R3 e gnd 1; Q1 c b e GPALL"},
    {"Darlington follower", "V1 vcc gnd 12; V2 in gnd 6; R1 in b 10k; R2 out gnd 100;"
                            "Q1 vcc b mid 2N3904; Q2 vcc mid out 2N3904"},
    // A default NPN and a default PNP on one page, each an emitter follower
    // that conducts: a PNP read as an NPN would not.
    {"default NPN and PNP on one page",
     "V1 vcc gnd 5; V2 vee gnd -5; V3 in gnd 1; R1 in b1 1k; R2 e1 vee 1k; R3 in b2 1k;"
     "R4 vcc e2 1k; Q1 vcc b1 e1 NPN; Q2 vee b2 e2 PNP"},
};

// Netlist lines repeated count times after the first lines, "#" standing
// for the repeat's number (from 1), "@" for the one before it.
std::string repeated(std::string netlist, const std::string &lines, int count) {
  for (int i = 1; i <= count; ++i) {
    netlist += ";";
    for (char ch : lines)
      netlist += ch == '#'   ? std::to_string(i)
                 : ch == '@' ? std::to_string(i - 1)
                             : std::string(1, ch);
  }
  return netlist;
}

} // namespace

std::vector<CheckCircuit> checkCircuits() {
  std::vector<CheckCircuit> circuits;
  for (const auto &[name, text] : checkNetlists) {
    const std::string netlist = std::string(text) + "; G1 gnd";
    CheckCircuit circuit{
        name, [netlist](TestCircuit &c) { addNetlist(c, netlist, checkModel); }, {}, {}};
    for (const circuit_test::NetlistPart &part : circuit_test::parseNetlist(netlist)) {
      if (part.kind() == 'Q')
        circuit.transistors.push_back(part.name);
      if (part.kind() == 'V')
        circuit.sources.push_back(part.name);
    }
    circuits.push_back(circuit);
  }
  return circuits;
}

// Each stage an inverter with its collector load and emitter degeneration,
// then a divider that biases the next stage.
void transistorChain(TestCircuit &c, int stages) {
  addNetlist(c,
             repeated("V1 vcc gnd 12; V2 n0 gnd 2; G1 gnd",
                      "RA# n@ b# 10k; Q# c# b# e# 2N3904; RC# vcc c# 4.7k; RE# e# gnd 1k;"
                      "RD# c# n# 22k; RF# n# gnd 10k",
                      stages),
             checkModel);
}

// Odd rungs a 1N4148, even ones the default diode: each diode's model is
// its rung's number.
void diodeLadder(TestCircuit &c, int rungs) {
  addNetlist(c, repeated("V1 n0 gnd 50; G1 gnd", "RS# n@ n# 10; D# n# gnd #", rungs),
             [](char kind, const std::string &rung) {
               return checkModel(kind, std::stoi(rung) % 2 ? "1N4148" : "");
             });
}

} // namespace semi_test
