// SPICE model names and model lines of the semiconductor devices.
#include "semi-lib/core/spice-lines.h"

#include <cctype>

namespace semi {

namespace {

bool sameNameIgnoringCase(const std::string &a, const std::string &b) {
  if (a.size() != b.size())
    return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (std::toupper(static_cast<unsigned char>(a[i])) !=
        std::toupper(static_cast<unsigned char>(b[i])))
      return false;
  }
  return true;
}

// The netlist writer upper-cases names, so "qMOD" would be "QMOD" there.
bool isDefaultName(const std::string &name) {
  for (SpiceKind kind : {SpiceKind::Diode, SpiceKind::Npn, SpiceKind::Pnp}) {
    if (sameNameIgnoringCase(name, defaultModelName(kind)))
      return true;
  }
  return false;
}

const char *modelKeyword(SpiceKind kind) {
  switch (kind) {
  case SpiceKind::Diode:
    return "D";
  case SpiceKind::Npn:
    return "NPN";
  case SpiceKind::Pnp:
    return "PNP";
  }
  return "D";
}

} // namespace

const char *defaultModelName(SpiceKind kind) {
  switch (kind) {
  case SpiceKind::Diode:
    return "DMOD";
  case SpiceKind::Npn:
    return "QMOD";
  case SpiceKind::Pnp:
    // Its own name: a PNP sharing the NPN's would be simulated as an NPN
    // by whichever model line the reader takes.
    return "QPMOD";
  }
  return "DMOD";
}

std::string spiceModelName(SpiceKind kind, const std::string &type, const std::string &partId) {
  if (type == "DEFAULT")
    return defaultModelName(kind);
  if (type == "CUSTOM") {
    std::string name = partId + "MOD";
    // A part named "Q" or "D" would otherwise take a default name; no
    // custom name ends in "MODC", so the suffix cannot collide either.
    if (isDefaultName(name))
      name += "C";
    return name;
  }
  if (!type.empty() && std::isalpha(static_cast<unsigned char>(type[0])))
    return type;
  return (kind == SpiceKind::Diode ? "D" : "Q") + type;
}

std::string typeText(const std::vector<ParamItem> &items) {
  for (const ParamItem &item : items) {
    if (item.name != "TYPE")
      continue;
    if (item.hasText)
      return item.text;
    if (item.hasDefault)
      return item.defaultText;
  }
  return "DEFAULT";
}

std::string spiceModelLine(SpiceKind kind, const std::vector<ParamItem> &items,
                           const std::string &partId) {
  std::string line =
      ".MODEL " + spiceModelName(kind, typeText(items), partId) + " " + modelKeyword(kind) + "(";
  bool first = true;
  for (const ParamItem &item : items) {
    if (item.name == "ID" || item.name == "TYPE" || item.name == "GMIN" || item.name == "IMAX")
      continue;
    if (!item.hasText || item.text.empty())
      continue;
    if (!first)
      line += " ";
    line += item.name + "=" + item.text;
    first = false;
  }
  return line + ")";
}

} // namespace semi
