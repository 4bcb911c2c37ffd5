// Devices put into a native test circuit from netlist lines, with the
// models the lines name.
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
// D and Q, each under its line's name (a ground's part identifier empty),
// models from the lookup; each recorded in the circuit's parts.
inline void addNetlist(TestCircuit &c, const std::string &netlist,
                       const ModelLookup &models = defaultModel) {
  for (const circuit_test::NetlistPart &part : circuit_test::parseNetlist(netlist)) {
    PartRecord record{PartRecord::Ground, part.name, 0, {}, {}};
    std::unique_ptr<semi::SimDevice> device;
    std::vector<std::string> results;
    const char *pins = "";
    switch (part.kind()) {
    case 'G':
      device = std::make_unique<GroundDevice>();
      pins = "G";
      break;
    case 'R':
      record = {PartRecord::Resistor, part.name, circuit_test::spiceValue(part.value), {}, {}};
      device = std::make_unique<ResistorDevice>(record.value);
      pins = "AB";
      break;
    case 'V':
      record = {PartRecord::Source, part.name, circuit_test::spiceValue(part.value), {}, {}};
      device = std::make_unique<VoltageSourceDevice>(record.value);
      pins = "PM";
      break;
    case 'D':
      record = {PartRecord::Diode, part.name, 0, models('D', part.model).params, {}};
      device = std::make_unique<semi::DiodeDevice>();
      results = diodeResultNames();
      pins = "AK";
      break;
    case 'Q': {
      NamedModel model = models('Q', part.model);
      const bool npn = model.polarity == semi::Polarity::Npn;
      record = {npn ? PartRecord::Npn : PartRecord::Pnp, part.name, 0, model.params, {}};
      device = std::make_unique<semi::BjtDevice>(model.polarity);
      results = transistorResultNames();
      pins = "CBE";
      break;
    }
    default:
      throw std::invalid_argument("no such part here: " + part.name);
    }
    for (std::size_t i = 0; i < part.nets.size(); ++i)
      record.pins.push_back({std::string(1, pins[i]), part.nets[i]});
    c.add(part.name, part.kind() == 'G' ? "" : part.name, std::move(device),
          results.empty() ? nullptr : std::make_unique<TestComponent>(record.params, results),
          record.pins);
    c.parts.push_back(std::move(record));
  }
}

} // namespace semi_test

#endif
