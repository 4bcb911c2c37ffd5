// Short ways to put devices into a native test circuit: each takes the nets
// its pins join and returns the device's component for reading results.
#ifndef SEMI_LIB_TESTS_CIRCUIT_BUILDER_H
#define SEMI_LIB_TESTS_CIRCUIT_BUILDER_H

#include "semi-lib/core/bjt-device.h"
#include "semi-lib/core/diode-device.h"
#include "semi-lib/tests/host-devices.h"
#include "semi-lib/tests/test-circuit.h"

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

} // namespace semi_test

#endif
