// The passive parts of test netlist lines (circuit-sim/tests/test-netlist.h):
// the kind each letter names (P the power rail, V the DC source) and the
// parameter a line's value sets.
#ifndef PASSIVE_LIB_TESTS_NETLIST_KINDS_H
#define PASSIVE_LIB_TESTS_NETLIST_KINDS_H

#include "circuit-sim/tests/test-netlist.h"
#include "passive-lib/core/component-templates.h"

#include <gtest/gtest.h>

namespace passive_test {

struct NetlistKind {
  char letter;
  passive::ComponentKind kind;
  const char *param;
};

inline NetlistKind netlistKind(const circuit_test::NetlistPart &line) {
  using passive::ComponentKind;
  static const NetlistKind kinds[] = {
      {'G', ComponentKind::Ground, ""},     {'P', ComponentKind::PowerRail, "Vdc"},
      {'R', ComponentKind::Resistor, "R"},  {'L', ComponentKind::Inductor, "L"},
      {'C', ComponentKind::Capacitor, "C"}, {'V', ComponentKind::DcSource, "Vdc"}};
  for (const NetlistKind &kind : kinds)
    if (kind.letter == line.kind())
      return kind;
  ADD_FAILURE() << "no passive part " << line.name;
  return kinds[2];
}

} // namespace passive_test

#endif
