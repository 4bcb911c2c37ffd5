// Short ways to put devices into a native test circuit: each takes the nets
// its pins join and returns the device's component for reading results.
#ifndef SEMI_LIB_TESTS_CIRCUIT_BUILDER_H
#define SEMI_LIB_TESTS_CIRCUIT_BUILDER_H

#include "circuit-sim/tests/test-netlist.h"
#include "semi-lib/core/bjt-device.h"
#include "semi-lib/core/diode-device.h"
#include "semi-lib/tests/host-devices.h"
#include "semi-lib/tests/test-circuit.h"

#include <functional>
#include <memory>
#include <string>

namespace semi_test {

inline void addGround(TestCircuit &c, const std::string &devName, const std::string &net) {
  c.add(devName, "", std::make_unique<GroundDevice>(), nullptr, {{"G", net}});
  c.parts.push_back({PartRecord::Ground, devName, 0, {}, {{"G", net}}});
}

inline void addResistor(TestCircuit &c, const std::string &partId, double ohms,
                        const std::string &a, const std::string &b) {
  c.add(partId, partId, std::make_unique<ResistorDevice>(ohms), nullptr, {{"A", a}, {"B", b}});
  c.parts.push_back({PartRecord::Resistor, partId, ohms, {}, {{"A", a}, {"B", b}}});
}

inline VoltageSourceDevice &addSource(TestCircuit &c, const std::string &partId, double volts,
                                      const std::string &p, const std::string &m) {
  c.parts.push_back({PartRecord::Source, partId, volts, {}, {{"P", p}, {"M", m}}});
  return static_cast<VoltageSourceDevice &>(c.add(
      partId, partId, std::make_unique<VoltageSourceDevice>(volts), nullptr, {{"P", p}, {"M", m}}));
}

inline TestComponent &addDiode(TestCircuit &c, const std::string &partId,
                               std::vector<semi::ParamItem> params, const std::string &anode,
                               const std::string &cathode) {
  c.parts.push_back({PartRecord::Diode, partId, 0, params, {{"A", anode}, {"K", cathode}}});
  c.add(partId, partId, std::make_unique<semi::DiodeDevice>(),
        std::make_unique<TestComponent>(std::move(params), diodeResultNames()),
        {{"A", anode}, {"K", cathode}});
  return c.component(partId);
}

inline TestComponent &addBjt(TestCircuit &c, const std::string &partId, semi::Polarity polarity,
                             std::vector<semi::ParamItem> params, const std::string &collector,
                             const std::string &base, const std::string &emitter) {
  c.parts.push_back({polarity == semi::Polarity::Npn ? PartRecord::Npn : PartRecord::Pnp,
                     partId,
                     0,
                     params,
                     {{"C", collector}, {"B", base}, {"E", emitter}}});
  c.add(partId, partId, std::make_unique<semi::BjtDevice>(polarity),
        std::make_unique<TestComponent>(std::move(params), transistorResultNames()),
        {{"C", collector}, {"B", base}, {"E", emitter}});
  return c.component(partId);
}

// A diode's or transistor's model as a netlist line names it: the
// transistor's polarity and the items.
struct NamedModel {
  semi::Polarity polarity = semi::Polarity::Npn;
  std::vector<semi::ParamItem> params;
};
using ModelLookup = std::function<NamedModel(char kind, const std::string &model)>;

// The kind's default items, a PNP's for the model "PNP".
inline NamedModel defaultModel(char kind, const std::string &model) {
  if (kind == 'D')
    return {semi::Polarity::Npn, diodeParams()};
  return {model == "PNP" ? semi::Polarity::Pnp : semi::Polarity::Npn, transistorParams()};
}

// The same items for every diode and transistor, a PNP for "PNP".
inline ModelLookup sameModel(std::vector<semi::ParamItem> params) {
  return [params](char, const std::string &model) {
    return NamedModel{model == "PNP" ? semi::Polarity::Pnp : semi::Polarity::Npn, params};
  };
}

// The parts of netlist lines (circuit-sim/tests/test-netlist.h): G, R, V,
// D and Q, each under its line's name, models from the lookup.
inline void addNetlist(TestCircuit &c, const std::string &netlist,
                       const ModelLookup &models = defaultModel) {
  for (const circuit_test::NetlistPart &part : circuit_test::parseNetlist(netlist)) {
    const std::vector<std::string> &n = part.nets;
    switch (part.kind()) {
    case 'G':
      addGround(c, part.name, n[0]);
      break;
    case 'R':
      addResistor(c, part.name, circuit_test::spiceValue(part.value), n[0], n[1]);
      break;
    case 'V':
      addSource(c, part.name, circuit_test::spiceValue(part.value), n[0], n[1]);
      break;
    case 'D':
      addDiode(c, part.name, models('D', part.model).params, n[0], n[1]);
      break;
    case 'Q': {
      NamedModel model = models('Q', part.model);
      addBjt(c, part.name, model.polarity, std::move(model.params), n[0], n[1], n[2]);
      break;
    }
    default:
      throw std::invalid_argument("no such part here: " + part.name);
    }
  }
}

} // namespace semi_test

#endif
