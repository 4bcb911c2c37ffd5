// The passive parts of test netlist lines (circuit-sim/tests/test-netlist.h):
// the kind each letter names (P the power rail, V the DC source), the
// parameter a line's value sets, the kind's ProgIDs and pins; and our
// solution written beside a netlist for ngspice-compare.sh.
#ifndef PASSIVE_LIB_TESTS_NETLIST_KINDS_H
#define PASSIVE_LIB_TESTS_NETLIST_KINDS_H

#include "QorLib01.h"
#include "circuit-sim/tests/test-netlist.h"
#include "passive-lib/core/component-templates.h"

#include "platform/base/win32/bstr.h"
#include "platform/base/win32/com-ptr.h"

#include <gtest/gtest.h>

#include <fstream>
#include <set>

namespace passive_test {

// A kind of passive part: its netlist letter, the parameter a line's value
// sets, the middle of its ProgIDs (QOR.<server>Dev.1 for the device,
// QOR.<server>Ocx for the control), its fresh control's golden file and its
// pins in connection point order.
struct NetlistKind {
  char letter;
  passive::ComponentKind kind;
  const char *param, *server, *golden;
  std::vector<std::string> pins;
  std::string deviceProgId() const { return std::string("QOR.") + server + "Dev.1"; }
  std::string controlProgId() const { return std::string("QOR.") + server + "Ocx"; }
};

inline const std::vector<NetlistKind> &netlistKinds() {
  using passive::ComponentKind;
  static const std::vector<NetlistKind> kinds = {
      {'G', ComponentKind::Ground, "", "Gnd", "ground", {"A"}},
      {'P', ComponentKind::PowerRail, "Vdc", "Pwr", "power-rail", {"A"}},
      {'R', ComponentKind::Resistor, "R", "Res", "resistor", {"A", "B"}},
      {'L', ComponentKind::Inductor, "L", "Ind", "inductor", {"A", "B"}},
      {'C', ComponentKind::Capacitor, "C", "Cap", "capacitor", {"A", "B"}},
      {'V', ComponentKind::DcSource, "Vdc", "Vdc", "dc-source", {"P", "M"}}};
  return kinds;
}

inline const NetlistKind &kindOf(passive::ComponentKind kind) {
  for (const NetlistKind &known : netlistKinds())
    if (known.kind == kind)
      return known;
  ADD_FAILURE() << "no passive kind " << static_cast<int>(kind);
  return netlistKinds()[2];
}

inline const NetlistKind &netlistKind(const circuit_test::NetlistPart &line) {
  for (const NetlistKind &kind : netlistKinds())
    if (kind.letter == line.kind())
      return kind;
  ADD_FAILURE() << "no passive part " << line.name;
  return netlistKinds()[2];
}

// A solved part as ngspice-compare.sh checks it: its key in the circuit's
// maps, its pins' names and its Idc.
struct SolvedPart {
  std::string key;
  std::vector<std::string> pins;
  double idc;
};

// The <name>.ours file beside a netlist QorSim wrote: our solution at every
// SPICE node the parts' pins are on, and the Idc of every source and coil
// as the branch current of the part ID QorSim gave it.
inline void writeSolution(const std::string &path, IQorSimCkt *circuit,
                          const std::vector<SolvedPart> &parts) {
  base::ComPtr<IQorSimDC> dc = base::ComPtr<IQorSimCkt>(circuit).query<IQorSimDC>();
  std::ofstream ours(path);
  ours.precision(17);
  std::set<std::string> nodes;
  for (const SolvedPart &part : parts) {
    for (const std::string &pin : part.pins) {
      LONG at = -1;
      base::Bstr node;
      double value = 0;
      ASSERT_EQ(circuit->IndexMapFind(base::Bstr(part.key + pin).get(), &at), S_OK) << pin;
      ASSERT_EQ(circuit->get_SpiceNet(at, node.receive()), S_OK);
      ASSERT_EQ(dc->get_Solution(at, &value), S_OK);
      if (node.toAnsi() != "0" && nodes.insert(node.toAnsi()).second)
        ours << "v(" << node.toAnsi() << ") " << value << "\n";
    }
    base::Bstr numbered;
    ASSERT_EQ(circuit->get_OcxMapPartID(base::Bstr(part.key).get(), numbered.receive()), S_OK);
    std::string id = numbered.toAnsi();
    for (char &ch : id)
      ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    if (!id.empty() && (id[0] == 'v' || id[0] == 'l'))
      ours << id << "#branch " << part.idc << "\n";
  }
}

} // namespace passive_test

#endif
