// Part-ID numbering over the recorded entries of a circuit.
#include "circuit-sim/core/part-numbering.h"

#include <map>
#include <set>
#include <tuple>

namespace qorsim {

namespace {

bool endsInCountingDigit(const std::string &prefix) {
  if (prefix.empty())
    return false;
  const char last = prefix.back();
  return last >= '1' && last <= '9';
}

std::string candidate(const std::string &prefix, unsigned long counter, std::size_t width) {
  std::string digits = std::to_string(counter);
  if (digits.size() < width)
    digits.insert(0, width - digits.size(), '0');
  return prefix + digits;
}

} // namespace

std::vector<PartIdWrite> numberPartIds(const std::vector<NumberingEntry> &entries) {
  std::set<std::string> taken;
  // prefix -> (PinX, PinY, arrival) -> entry; the arrival keeps the
  // device-name order of equal positions.
  std::map<std::string, std::map<std::tuple<double, double, std::size_t>, std::size_t>> groups;
  std::vector<PartIdWrite> writes;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const NumberingEntry &entry = entries[i];
    const std::size_t mark = entry.partId.find('?');
    if (mark == std::string::npos) {
      taken.insert(entry.partId);
      if (entry.partId != entry.lastWrittenId)
        writes.push_back({i, entry.partId});
      continue;
    }
    groups[entry.partId.substr(0, mark)][{entry.pinX, entry.pinY, i}] = i;
  }
  for (const auto &[prefix, members] : groups) {
    unsigned long counter = endsInCountingDigit(prefix) ? 0 : 1;
    for (const auto &member : members) {
      const NumberingEntry &entry = entries[member.second];
      const std::size_t first = entry.partId.find('?');
      const std::size_t width = entry.partId.rfind('?') - first + 1;
      std::string id;
      do {
        id = candidate(prefix, counter++, width);
      } while (!taken.insert(id).second);
      if (id != entry.lastWrittenId)
        writes.push_back({member.second, id});
    }
  }
  return writes;
}

} // namespace qorsim
