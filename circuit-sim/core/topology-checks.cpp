// Topology checks and SPICE node numbers over the recorded branches.
#include "circuit-sim/core/topology-checks.h"

#include <algorithm>
#include <map>

namespace qorsim {

namespace {

long nodeCount(const std::vector<int> &varTypes) { return static_cast<long>(varTypes.size()); }

bool effortAt(const std::vector<int> &varTypes, long node) {
  return node >= 0 && node < nodeCount(varTypes) && carriesEffort(varTypes[node]);
}

// Effort nodes from the highest down whose flag is false.
NodeSet effortNodesWithout(const std::vector<bool> &flag, const std::vector<int> &varTypes) {
  NodeSet result;
  for (long node = nodeCount(varTypes) - 1; node >= 0; --node) {
    if (carriesEffort(varTypes[node]) && !flag[node])
      result.insert(node);
  }
  return result;
}

} // namespace

NodeSet findDanglingPins(const std::vector<TopologyLink> &links, const std::vector<int> &varTypes) {
  std::vector<bool> reached(varTypes.size(), false);
  if (!reached.empty())
    reached[0] = true;
  auto reach = [&](long node) {
    if (node >= 0 && node < nodeCount(varTypes))
      reached[node] = true;
  };
  for (const TopologyLink &link : links) {
    if (link.pathType != PathWire)
      continue;
    // A wire does not count for the net of one of its own free ends.
    if (link.index1 != link.nameIndex)
      reach(link.index1);
    if (link.index2 != link.nameIndex)
      reach(link.index2);
  }
  return effortNodesWithout(reached, varTypes);
}

// Joins the ends of every DC branch (union-find with path halving); the
// nodes in node 0's group have a DC path to it. Node numbers past the
// variable types, or below 0 (which no check reports), still join groups
// through places of their own.
NodeSet findDcPathViolations(const std::vector<TopologyLink> &links,
                             const std::vector<int> &varTypes) {
  const long count = std::max(nodeCount(varTypes), 1L);
  std::vector<long> parent(static_cast<std::size_t>(count));
  for (long i = 0; i < count; ++i)
    parent[static_cast<std::size_t>(i)] = i;
  std::map<long, long> beyond; // node number outside 0..count-1: its place
  auto place = [&](long node) {
    if (node >= 0 && node < count)
      return node;
    auto found = beyond.emplace(node, static_cast<long>(parent.size()));
    if (found.second)
      parent.push_back(found.first->second);
    return found.first->second;
  };
  auto root = [&](long x) {
    while (parent[static_cast<std::size_t>(x)] != x) {
      parent[static_cast<std::size_t>(x)] =
          parent[static_cast<std::size_t>(parent[static_cast<std::size_t>(x)])];
      x = parent[static_cast<std::size_t>(x)];
    }
    return x;
  };
  for (const TopologyLink &link : links) {
    if (!(link.pathType & (PathDcResistBit | PathDcShortBit)))
      continue;
    const long a = root(place(link.index1)), b = root(place(link.index2));
    if (a != b)
      parent[static_cast<std::size_t>(std::max(a, b))] = std::min(a, b);
  }
  std::vector<bool> flag(varTypes.size(), false);
  const long ground = root(0);
  for (long node = 0; node < nodeCount(varTypes); ++node)
    flag[static_cast<std::size_t>(node)] = root(node) == ground;
  return effortNodesWithout(flag, varTypes);
}

NodeSet findShortLoops(const std::vector<TopologyLink> &links) {
  std::map<long, std::multiset<long>> neighbours;
  for (const TopologyLink &link : links) {
    if (!(link.pathType & PathDcShortBit))
      continue;
    neighbours[link.index1].insert(link.index2);
    neighbours[link.index2].insert(link.index1);
  }
  // Peel leaves (entries with exactly one neighbour) until none is left.
  // A leaf occurs only in the sets of its own neighbours, and removing it
  // can only make one of those a leaf: a work list of removed leaves with
  // their neighbours does what repeated sweeps over the map would.
  std::vector<std::pair<long, std::multiset<long>>> peeled;
  for (auto it = neighbours.begin(); it != neighbours.end();) {
    if (it->second.size() == 1) {
      peeled.emplace_back(it->first, std::move(it->second));
      it = neighbours.erase(it);
    } else {
      ++it;
    }
  }
  // The lowest leaf is peeled first, and a leaf's new leaves before the next.
  std::reverse(peeled.begin(), peeled.end());
  while (!peeled.empty()) {
    const long leaf = peeled.back().first;
    const std::multiset<long> around = std::move(peeled.back().second);
    peeled.pop_back();
    std::vector<std::pair<long, std::multiset<long>>> fresh;
    for (long node : std::set<long>(around.begin(), around.end())) {
      auto it = neighbours.find(node);
      if (it == neighbours.end() || it->second.empty() || !it->second.erase(leaf) ||
          it->second.size() != 1)
        continue;
      fresh.emplace_back(it->first, std::move(it->second));
      neighbours.erase(it);
    }
    for (auto it = fresh.rbegin(); it != fresh.rend(); ++it)
      peeled.push_back(std::move(*it));
  }
  NodeSet result;
  for (const auto &[node, set] : neighbours) {
    result.insert(node);
    result.insert(set.begin(), set.end());
  }
  return result;
}

TopologyMarks topologyMarks(const std::vector<TopologyLink> &links, const NodeSet &dangling,
                            const NodeSet &violations, const NodeSet &loops) {
  TopologyMarks marks;
  for (const TopologyLink &link : links) {
    if (dangling.count(link.index1))
      marks.pins.insert(link.index1);
    if (dangling.count(link.index2))
      marks.pins.insert(link.index2);
    if (violations.count(link.index1) || violations.count(link.index2))
      marks.branches.insert(link.nameIndex);
    else if ((link.pathType & PathDcShortBit) && loops.count(link.index1) &&
             loops.count(link.index2))
      marks.branches.insert(link.nameIndex);
  }
  return marks;
}

std::vector<long> spiceNodeNumbers(const std::vector<TopologyLink> &links,
                                   const std::vector<int> &varTypes, long count, long highest) {
  std::vector<long> numbers(static_cast<std::size_t>(std::max(count, 1L)), -1);
  std::vector<std::vector<long>> joined(numbers.size());
  auto inRange = [&](long node) { return node >= 0 && node < static_cast<long>(numbers.size()); };
  for (const TopologyLink &link : links) {
    if (!(link.pathType & PathNetShortBit) || !inRange(link.index1) || !inRange(link.index2))
      continue;
    joined[link.index1].push_back(link.index2);
    joined[link.index2].push_back(link.index1);
  }
  // Gives start's whole group the number, on a stack of our own.
  auto spread = [&](long start, long number) {
    numbers[start] = number;
    std::vector<long> stack = {start};
    while (!stack.empty()) {
      const long node = stack.back();
      stack.pop_back();
      for (long other : joined[node]) {
        if (numbers[other] == -1) {
          numbers[other] = number;
          stack.push_back(other);
        }
      }
    }
  };
  spread(0, 0);
  long next = 0;
  const long last = std::min(highest, static_cast<long>(numbers.size()) - 1);
  for (long node = 0; node <= last; ++node) {
    if (effortAt(varTypes, node) && numbers[node] == -1)
      spread(node, ++next);
  }
  return numbers;
}

} // namespace qorsim
