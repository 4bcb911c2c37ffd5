// The topology checks of a circuit before it is solved, over its recorded
// branches and the variable types of its nodes: pins no wire reaches, nodes
// without a DC path to the reference node, and loops made only of DC
// shorts. Every walk keeps its own stack: a chain of a hundred thousand
// elements must not exhaust the host thread's stack.
#ifndef CIRCUIT_SIM_TOPOLOGY_CHECKS_H
#define CIRCUIT_SIM_TOPOLOGY_CHECKS_H

#include <set>
#include <vector>

namespace qorsim {

// Path type bits of a branch (QorPathTypes of the contract).
const int PathDcResistBit = 2;
const int PathDcShortBit = 4;
const int PathNetShortBit = 32;
const int PathWire = 36;

struct TopologyLink {
  long index1, index2, nameIndex;
  int pathType;
};

using NodeSet = std::set<long>;

// A node carries an effort (a voltage) when bit 0 of its type is set.
inline bool carriesEffort(int varType) { return (varType & 1) != 0; }

// Effort nodes that no wire reaches (node 0 counts as reached).
NodeSet findDanglingPins(const std::vector<TopologyLink> &links, const std::vector<int> &varTypes);
// Effort nodes with no DC-resistive or DC-short path to node 0.
NodeSet findDcPathViolations(const std::vector<TopologyLink> &links,
                             const std::vector<int> &varTypes);
// Nodes on closed loops of DC-short branches, and those between them.
NodeSet findShortLoops(const std::vector<TopologyLink> &links);

// The marks a check gives, from its dangling pins D, path violations V
// (without the dangling ones) and short loops L: pins to mark as dangling,
// and branches (by name index) to mark whole.
struct TopologyMarks {
  NodeSet pins, branches;
};
TopologyMarks topologyMarks(const std::vector<TopologyLink> &links, const NodeSet &dangling,
                            const NodeSet &violations, const NodeSet &loops);

// SPICE node numbers of nodes 0 .. count - 1: nets joined by net-short
// branches share one number, node 0's group is 0, the other groups that
// hold an effort node up to highest are numbered 1, 2, ... in ascending
// order of that node; the rest keep -1.
std::vector<long> spiceNodeNumbers(const std::vector<TopologyLink> &links,
                                   const std::vector<int> &varTypes, long count, long highest);

} // namespace qorsim

#endif
