// The topology checks and SPICE node numbers on crafted branch lists:
// parallel sources, a self-loop, two grounds wired together, a capacitor
// midpoint, dangling wire ends; and chains and grids far larger than a
// thread's stack would take by recursion.
#include "circuit-sim/core/topology-checks.h"

#include <gtest/gtest.h>

#include <iterator>
#include <random>
#include <vector>

namespace {

using qorsim::findDanglingPins;
using qorsim::findDcPathViolations;
using qorsim::findShortLoops;
using qorsim::NodeSet;
using qorsim::TopologyLink;

const int V = 17, I = 18;
const int DcOpen = 1, DcResist = 2, DcShort = 4, VSource = 20, Wire = 36, GndWire = 100;

// Source 1-2 (branch 3), resistor 4-5, ground 6 (branch 7), wires 8, 9, 10
// joining 1-4, 5-6 and 2-6.
const std::vector<TopologyLink> divider = {{1, 2, 1, VSource}, {4, 5, 4, DcResist},
                                           {6, 0, 6, VSource}, {1, 4, 8, Wire},
                                           {5, 6, 9, Wire},    {2, 6, 10, Wire}};
const std::vector<int> dividerTypes = {V, V, V, I, V, V, V, I, I, I, I};
// The divider without the wire on 5.
const std::vector<TopologyLink> unwired = {
    {1, 2, 1, VSource}, {4, 5, 4, DcResist}, {6, 0, 6, VSource}, {1, 4, 8, Wire}, {2, 6, 10, Wire}};

enum Check { Dangling, DcPath, Loops };

// Each check on crafted branch lists: the nodes it reports.
TEST(TopologyChecks, FindingsOfCraftedBranchLists) {
  const struct {
    Check check;
    NodeSet expected;
    std::vector<TopologyLink> links;
    std::vector<int> types = {};
  } cases[] = {
      // The sound divider; without the wire on 5, pin 5 dangles but keeps
      // its DC path.
      {Dangling, {}, divider, dividerTypes},
      {DcPath, {}, divider, dividerTypes},
      {Loops, {}, divider, {}},
      {Dangling, {5}, unwired, dividerTypes},
      {DcPath, {}, unwired, dividerTypes},
      // Wire 8 from pin 1 to its own free-end net 9: no wire for that end.
      {Dangling, {9}, {{1, 0, 1, DcResist}, {1, 9, 9, Wire}}, {V, V, 0, 0, 0, 0, 0, 0, I, V}},
      // Parallel sources; two records between the same nodes.
      {Loops, {0, 1, 2}, {{1, 0, 1, VSource}, {2, 0, 2, VSource}, {1, 2, 3, Wire}}},
      {Loops, {0, 1}, {{1, 0, 1, VSource}, {1, 0, 2, VSource}}},
      // A wire from a source's plus pin to its minus pin, after both are
      // one net; a chain hanging off that loop is peeled.
      {Loops, {3}, {{3, 3, 4, Wire}}},
      {Loops, {3}, {{3, 3, 4, Wire}, {3, 5, 6, Wire}, {5, 7, 8, Wire}}},
      // Ground A: 1 to 0 (branch 2); ground B: 3 to 0 (branch 4); wire 5:
      // 1-3. A ground wire record alone is a branch, not a loop.
      {Loops, {0, 1, 3}, {{1, 0, 1, VSource}, {3, 0, 3, VSource}, {1, 3, 5, Wire}}},
      {Loops, {}, {{1, 0, 1, GndWire}}},
      // Source 1-0; capacitors 1-2 and 2-0, both open at DC. Branch
      // unknowns carry no effort and are never reported.
      {DcPath, {2}, {{1, 0, 1, VSource}, {1, 2, 3, DcOpen}, {2, 0, 4, DcOpen}}, {V, V, V, I, I}},
      {DcPath, {}, {}, {V, I, I}},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    const auto &c = cases[i];
    const NodeSet found = c.check == Dangling ? findDanglingPins(c.links, c.types)
                          : c.check == DcPath ? findDcPathViolations(c.links, c.types)
                                              : findShortLoops(c.links);
    EXPECT_EQ(found, c.expected) << "case " << i;
  }
}

TEST(TopologyChecks, MarksPreferDanglingAndFollowLoops) {
  std::vector<TopologyLink> links = {{1, 2, 10, DcResist}, {2, 3, 11, DcOpen}, {4, 4, 12, Wire}};
  const auto marks = qorsim::topologyMarks(links, NodeSet{1}, NodeSet{3}, NodeSet{4});
  EXPECT_EQ(marks.pins, NodeSet{1});
  EXPECT_EQ(marks.branches, (NodeSet{11, 12}));
}

TEST(SpiceNumbers, WiredNetsShareANumberAndGroundIsZero) {
  // Nets 1..4 effort; 5 a branch; wire 6 joins 2 and 3; ground wire 7 joins 4 to 0.
  std::vector<TopologyLink> links = {
      {1, 2, 1, DcResist}, {3, 4, 3, DcResist}, {2, 3, 6, Wire}, {4, 0, 7, GndWire}};
  std::vector<int> types = {V, V, V, V, V, I, I, I};
  EXPECT_EQ(qorsim::spiceNodeNumbers(links, types, 8, 4),
            (std::vector<long>{0, 1, 2, 2, 0, -1, -1, -1}));
}

TEST(SpiceNumbers, FreeWireEndAboveTheComponentsJoinsItsPin) {
  std::vector<TopologyLink> links = {{1, 0, 1, DcResist}, {1, 3, 2, Wire}};
  std::vector<int> types = {V, V, I, V};
  EXPECT_EQ(qorsim::spiceNodeNumbers(links, types, 4, 1), (std::vector<long>{0, 1, -1, 1}));
}

// A chain of 100,000 resistors and a 200 x 200 grid: every walk would
// recurse once per node.
TEST(TopologyChecks, LongChainAndLargeGridNeedNoRecursion) {
  const long n = 100000;
  std::vector<TopologyLink> chain;
  std::vector<int> types(n + 1, V);
  for (long i = 0; i < n; ++i)
    chain.push_back({i, i + 1, i + 1, i % 2 ? DcResist : Wire});
  EXPECT_EQ(findDcPathViolations(chain, types), NodeSet{});
  std::vector<TopologyLink> shorts;
  for (long i = 0; i < n; ++i)
    shorts.push_back({i, i + 1, i + 1, Wire});
  EXPECT_EQ(findShortLoops(shorts), NodeSet{});
  shorts.push_back({n, 0, n + 1, Wire}); // closes the ring
  EXPECT_EQ(findShortLoops(shorts).size(), static_cast<std::size_t>(n + 1));
  const auto numbers = qorsim::spiceNodeNumbers(shorts, types, n + 1, n);
  EXPECT_EQ(numbers[n], 0);

  const long side = 200;
  auto at = [&](long r, long c) { return r * side + c + 1; };
  std::vector<TopologyLink> grid;
  for (long r = 0; r < side; ++r)
    for (long c = 0; c < side; ++c) {
      if (c + 1 < side)
        grid.push_back({at(r, c), at(r, c + 1), 0, Wire});
      if (r + 1 < side)
        grid.push_back({at(r, c), at(r + 1, c), 0, Wire});
    }
  grid.push_back({at(side - 1, side - 1), 0, 0, DcResist});
  std::vector<int> gridTypes(side * side + 1, V);
  EXPECT_EQ(findDcPathViolations(grid, gridTypes), NodeSet{});
  EXPECT_EQ(findShortLoops(grid).size(), static_cast<std::size_t>(side * side));
  const auto gridNumbers = qorsim::spiceNodeNumbers(grid, gridTypes, side * side + 1, side * side);
  EXPECT_EQ(gridNumbers[at(side - 1, side - 1)], 1);
  EXPECT_EQ(gridNumbers[at(0, 0)], 1);
}

// Random branch lists against a plain walk from node 0 over the DC
// branches, with node numbers past the variable types on some paths.
TEST(TopologyChecks, DcPathViolationsAgreeWithAWalkFromGround) {
  std::mt19937 random(1210);
  const int kinds[] = {DcOpen, DcResist, DcShort, VSource, Wire, GndWire};
  for (int trial = 0; trial < 300; ++trial) {
    SCOPED_TRACE(trial);
    const long nodes = 2 + trial % 40;
    std::uniform_int_distribution<long> node(0, nodes + 3); // some beyond the types
    std::uniform_int_distribution<int> kind(0, 5);
    std::vector<TopologyLink> links;
    for (int k = 0; k < trial % 60; ++k)
      links.push_back({node(random), node(random), 0, kinds[kind(random)]});
    std::vector<int> types(static_cast<std::size_t>(nodes));
    for (int &t : types)
      t = random() % 3 == 0 ? I : V;
    std::vector<bool> seen(static_cast<std::size_t>(nodes + 4), false);
    std::vector<long> stack = {0};
    seen[0] = true;
    while (!stack.empty()) {
      const long at = stack.back();
      stack.pop_back();
      for (const TopologyLink &l : links) {
        if (!(l.pathType & (DcResist | DcShort)))
          continue;
        for (long next : {l.index1 == at ? l.index2 : -1, l.index2 == at ? l.index1 : -1}) {
          if (next >= 0 && !seen[static_cast<std::size_t>(next)]) {
            seen[static_cast<std::size_t>(next)] = true;
            stack.push_back(next);
          }
        }
      }
    }
    NodeSet expected;
    for (long n = 0; n < nodes; ++n)
      if ((types[static_cast<std::size_t>(n)] & 1) && !seen[static_cast<std::size_t>(n)])
        expected.insert(n);
    EXPECT_EQ(findDcPathViolations(links, types), expected);
  }
}

} // namespace
