// The cross-check and benchmark circuits.
#include "semi-lib/tests/check-circuits.h"

namespace semi_test {

std::vector<semi::ParamItem> diode1N4148() {
  return withModel(diodeParams(), "1N4148",
                   {{"IS", "2.67E-9"},
                    {"N", "1.82"},
                    {"RS", "562E-3"},
                    {"TT", "11.5E-9"},
                    {"CJO", "4.02E-12"},
                    {"VJ", "0.5"},
                    {"M", "0.332"}});
}

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

namespace {

using semi::Polarity;

void diodeForward(TestCircuit &c, std::vector<semi::ParamItem> d, double ohms) {
  addSource(c, "V1", 5.0, "in", "gnd");
  addResistor(c, "R1", ohms, "in", "a");
  addDiode(c, "D1", std::move(d), "a", "gnd");
  addGround(c, "G1", "gnd");
}

void diodeReversed(TestCircuit &c, std::vector<semi::ParamItem> d) {
  addSource(c, "V1", 5.0, "in", "gnd");
  addResistor(c, "R1", 1e3, "in", "k");
  addDiode(c, "D1", std::move(d), "gnd", "k");
  addGround(c, "G1", "gnd");
}

void commonEmitter2N3904(TestCircuit &c) {
  addSource(c, "V1", 12.0, "vcc", "gnd");
  addResistor(c, "R1", 47e3, "vcc", "b");
  addResistor(c, "R2", 10e3, "b", "gnd");
  addResistor(c, "R3", 2.2e3, "vcc", "c");
  addResistor(c, "R4", 470, "e", "gnd");
  addBjt(c, "Q1", Polarity::Npn, npn2N3904(), "c", "b", "e");
  addGround(c, "G1", "gnd");
}

void bias2N3906(TestCircuit &c) {
  addSource(c, "V1", 12.0, "vcc", "gnd");
  addResistor(c, "R1", 10e3, "vcc", "b");
  addResistor(c, "R2", 47e3, "b", "gnd");
  addResistor(c, "R3", 1e3, "vcc", "e");
  addResistor(c, "R4", 3.3e3, "c", "gnd");
  addBjt(c, "Q1", Polarity::Pnp, pnp2N3906(), "c", "b", "e");
  addGround(c, "G1", "gnd");
}

void npnMirror(TestCircuit &c) {
  addSource(c, "V1", 10.0, "vcc", "gnd");
  addResistor(c, "R1", 10e3, "vcc", "ref");
  addResistor(c, "R2", 2e3, "vcc", "out");
  addBjt(c, "Q1", Polarity::Npn, npn2N3904(), "ref", "ref", "gnd");
  addBjt(c, "Q2", Polarity::Npn, npn2N3904(), "out", "ref", "gnd");
  addGround(c, "G1", "gnd");
}

void pnpMirror(TestCircuit &c) {
  addSource(c, "V1", 10.0, "vcc", "gnd");
  addResistor(c, "R1", 10e3, "ref", "gnd");
  addResistor(c, "R2", 2e3, "out", "gnd");
  addBjt(c, "Q1", Polarity::Pnp, pnp2N3906(), "ref", "ref", "vcc");
  addBjt(c, "Q2", Polarity::Pnp, pnp2N3906(), "out", "ref", "vcc");
  addGround(c, "G1", "gnd");
}

void saturatedSwitch(TestCircuit &c) {
  addSource(c, "V1", 5.0, "vcc", "gnd");
  addResistor(c, "R1", 1e3, "vcc", "b");
  addResistor(c, "R2", 1e3, "vcc", "c");
  addBjt(c, "Q1", Polarity::Npn, npn2N3904(), "c", "b", "gnd");
  addGround(c, "G1", "gnd");
}

// Collector and emitter swapped: the transistor runs reverse-active.
void everyTermReverse(TestCircuit &c) {
  addSource(c, "V1", 10.0, "vcc", "gnd");
  addResistor(c, "R1", 100e3, "vcc", "b");
  addResistor(c, "R2", 2e3, "vcc", "e");
  addBjt(c, "Q1", Polarity::Npn, everyTermNpn(), "gnd", "b", "e");
  addGround(c, "G1", "gnd");
}

// Driven far beyond the knee current IKF.
void everyTermHighInjection(TestCircuit &c) {
  addSource(c, "V1", 10.0, "vcc", "gnd");
  addResistor(c, "R1", 2e3, "vcc", "b");
  addResistor(c, "R2", 20, "vcc", "c");
  addResistor(c, "R3", 1, "e", "gnd");
  addBjt(c, "Q1", Polarity::Npn, everyTermNpn(), "c", "b", "e");
  addGround(c, "G1", "gnd");
}

void darlington(TestCircuit &c) {
  addSource(c, "V1", 12.0, "vcc", "gnd");
  addSource(c, "V2", 6.0, "in", "gnd");
  addResistor(c, "R1", 10e3, "in", "b");
  addResistor(c, "R2", 100, "out", "gnd");
  addBjt(c, "Q1", Polarity::Npn, npn2N3904(), "vcc", "b", "mid");
  addBjt(c, "Q2", Polarity::Npn, npn2N3904(), "vcc", "mid", "out");
  addGround(c, "G1", "gnd");
}

// A default NPN and a default PNP on one page, each an emitter follower
// that conducts: a PNP read as an NPN would not.
void defaultPair(TestCircuit &c) {
  addSource(c, "V1", 5.0, "vcc", "gnd");
  addSource(c, "V2", -5.0, "vee", "gnd");
  addSource(c, "V3", 1.0, "in", "gnd");
  addResistor(c, "R1", 1e3, "in", "b1");
  addResistor(c, "R2", 1e3, "e1", "vee");
  addResistor(c, "R3", 1e3, "in", "b2");
  addResistor(c, "R4", 1e3, "vcc", "e2");
  addBjt(c, "Q1", Polarity::Npn, transistorParams(), "vcc", "b1", "e1");
  addBjt(c, "Q2", Polarity::Pnp, transistorParams(), "vee", "b2", "e2");
  addGround(c, "G1", "gnd");
}

} // namespace

std::vector<CheckCircuit> checkCircuits() {
  return {
      {"1N4148 forward", [](TestCircuit &c) { diodeForward(c, diode1N4148(), 1e3); }, {}, {"V1"}},
      {"default diode forward",
       [](TestCircuit &c) { diodeForward(c, diodeParams(), 1e3); },
       {},
       {"V1"}},
      {"1N4148 hard-driven",
       [](TestCircuit &c) { diodeForward(c, diode1N4148(), 10); },
       {},
       {"V1"}},
      {"default diode hard-driven",
       [](TestCircuit &c) { diodeForward(c, diodeParams(), 10); },
       {},
       {"V1"}},
      {"1N4148 reversed", [](TestCircuit &c) { diodeReversed(c, diode1N4148()); }, {}, {"V1"}},
      {"default diode reversed",
       [](TestCircuit &c) { diodeReversed(c, diodeParams()); },
       {},
       {"V1"}},
      {"2N3904 common-emitter stage", commonEmitter2N3904, {"Q1"}, {"V1"}},
      {"2N3906 bias stage", bias2N3906, {"Q1"}, {"V1"}},
      {"NPN current mirror", npnMirror, {"Q1", "Q2"}, {"V1"}},
      {"PNP current mirror", pnpMirror, {"Q1", "Q2"}, {"V1"}},
      {"saturated switch", saturatedSwitch, {"Q1"}, {"V1"}},
      {"every Gummel-Poon term, reverse-active", everyTermReverse, {"Q1"}, {"V1"}},
      {"every Gummel-Poon term, high injection", everyTermHighInjection, {"Q1"}, {"V1"}},
      {"Darlington follower", darlington, {"Q1", "Q2"}, {"V1", "V2"}},
      {"default NPN and PNP on one page", defaultPair, {"Q1", "Q2"}, {"V1", "V2", "V3"}},
  };
}

void transistorChain(TestCircuit &c, int stages) {
  addSource(c, "V1", 12.0, "vcc", "gnd");
  addSource(c, "V2", 2.0, "n0", "gnd");
  addGround(c, "G1", "gnd");
  for (int i = 1; i <= stages; ++i) {
    const std::string in = "n" + std::to_string(i - 1), out = "n" + std::to_string(i);
    const std::string id = std::to_string(i);
    // Inverter with its collector load and emitter degeneration, then a
    // divider that biases the next stage.
    addResistor(c, "RA" + id, 10e3, in, "b" + id);
    addBjt(c, "Q" + id, semi::Polarity::Npn, npn2N3904(), "c" + id, "b" + id, "e" + id);
    addResistor(c, "RC" + id, 4.7e3, "vcc", "c" + id);
    addResistor(c, "RE" + id, 1e3, "e" + id, "gnd");
    addResistor(c, "RD" + id, 22e3, "c" + id, out);
    addResistor(c, "RF" + id, 10e3, out, "gnd");
  }
}

void diodeLadder(TestCircuit &c, int rungs) {
  addSource(c, "V1", 50.0, "n0", "gnd");
  addGround(c, "G1", "gnd");
  for (int i = 1; i <= rungs; ++i) {
    const std::string id = std::to_string(i);
    addResistor(c, "RS" + id, 10, "n" + std::to_string(i - 1), "n" + id);
    addDiode(c, "D" + id, i % 2 ? diode1N4148() : diodeParams(), "n" + id, "gnd");
  }
}

} // namespace semi_test
