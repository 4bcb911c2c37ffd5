// A test circuit written as netlist lines, one part a line:
//   V1 in 0 5          a source: plus net, minus net, volts
//   R1 in out 4.7k     a resistor (C, L alike): its two nets, its value
//   D1 a k 1N4148      a diode: anode, cathode, model
//   Q1 c b e 2N3904    a transistor: collector, base, emitter, model
//   G1 0               a ground on its net
//   P1 rail 6          a power rail on its net
// The first letter is the kind, and the kind's pin count says how many
// nets follow; then the value (none for D and Q) and the model, each
// optional. A fixture may take a model of another kind for a device of its
// own ("R1 a 0 10 TestBroken"). Values take
// SPICE's scale letters (f p n u m k meg g t). Blank lines and lines from
// "*" on are skipped, and ";" ends a line as a line feed does.
// The builders of each test fixture draw these lines: a part per line,
// in line order, and each pin joined to the first pin on its net. A
// ground joins its net to node 0, so grounds wired to one net make a loop:
// give each ground a net of its own.
#ifndef CIRCUIT_SIM_TESTS_TEST_NETLIST_H
#define CIRCUIT_SIM_TESTS_TEST_NETLIST_H

#include <cctype>
#include <cstddef>
#include <cstdlib>
#include <map>
#include <sstream>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace circuit_test {

struct NetlistPart {
  std::string name;
  std::vector<std::string> nets; // in the kind's pin order
  std::string value, model;      // empty when not given
  char kind() const { return static_cast<char>(std::toupper(static_cast<unsigned char>(name[0]))); }
};

inline std::size_t pinCount(char kind) {
  return kind == 'G' || kind == 'P' ? 1 : kind == 'Q' ? 3 : 2;
}

// The number a value text stands for: "4.7k" 4700, "10u" 1E-5, "1meg" 1E6,
// read as the number with its power of ten written out, so exactly so.
inline double spiceValue(const std::string &text) {
  char *end = nullptr;
  double value = std::strtod(text.c_str(), &end);
  if (end == text.c_str())
    throw std::invalid_argument("not a value: " + text);
  std::string scale(end);
  for (char &ch : scale)
    ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
  static const std::pair<const char *, const char *> scales[] = {
      {"meg", "e6"}, {"f", "e-15"}, {"p", "e-12"}, {"n", "e-9"}, {"u", "e-6"},
      {"m", "e-3"},  {"k", "e3"},   {"g", "e9"},   {"t", "e12"}};
  for (const auto &[letters, power] : scales)
    if (scale.rfind(letters, 0) == 0)
      return std::strtod((text.substr(0, text.size() - scale.size()) + power).c_str(), nullptr);
  return value;
}

// The value as a control's text: a plain number as written, else the
// number it stands for in full precision.
inline std::string plainValue(const std::string &text) {
  char *end = nullptr;
  std::strtod(text.c_str(), &end);
  if (*end == '\0')
    return text;
  std::ostringstream plain;
  plain.precision(17);
  plain << spiceValue(text);
  return plain.str();
}

inline std::vector<NetlistPart> parseNetlist(const std::string &text) {
  std::vector<NetlistPart> parts;
  std::string line;
  std::istringstream lines(text);
  while (std::getline(lines, line, '\n')) {
    std::istringstream statements(line);
    for (std::string statement; std::getline(statements, statement, ';');) {
      statement = statement.substr(0, statement.find('*'));
      std::istringstream words(statement);
      NetlistPart part;
      if (!(words >> part.name))
        continue;
      for (std::size_t i = 0; i < pinCount(part.kind()); ++i) {
        std::string net;
        if (!(words >> net))
          throw std::invalid_argument("too few nets: " + statement);
        part.nets.push_back(net);
      }
      if (part.kind() != 'D' && part.kind() != 'Q')
        words >> part.value;
      words >> part.model;
      parts.push_back(std::move(part));
    }
  }
  return parts;
}

// A fixture's parts of drawn lines under the lines' names, in line order.
template <typename Part> struct NamedParts {
  std::vector<std::pair<std::string, Part>> parts;
  Part &operator[](const std::string &name) {
    for (auto &[partName, part] : parts)
      if (partName == name)
        return part;
    throw std::out_of_range("no part " + name);
  }
};

// A pin of a part: the part's line and the pin's place among its nets.
struct NetPin {
  std::size_t part, pin;
};

// The joins that make the nets: each pin to the first pin on its net,
// in line order.
inline std::vector<std::pair<NetPin, NetPin>> netJoins(const std::vector<NetlistPart> &parts) {
  std::map<std::string, NetPin> first;
  std::vector<std::pair<NetPin, NetPin>> joins;
  for (std::size_t p = 0; p < parts.size(); ++p) {
    for (std::size_t n = 0; n < parts[p].nets.size(); ++n) {
      auto [at, added] = first.emplace(parts[p].nets[n], NetPin{p, n});
      if (!added)
        joins.push_back({at->second, NetPin{p, n}});
    }
  }
  return joins;
}

} // namespace circuit_test

#endif
