// Part-ID numbering: templates such as "R?" or "C??" get the next free
// number of their prefix, in the order of the components' positions on the
// page; complete IDs are kept and reserve their text. Every run numbers all
// templates again, so the same page always gives the same IDs.
#ifndef CIRCUIT_SIM_PART_NUMBERING_H
#define CIRCUIT_SIM_PART_NUMBERING_H

#include <string>
#include <vector>

namespace qorsim {

struct NumberingEntry {
  std::string deviceName;
  double pinX = 0.0, pinY = 0.0;
  std::string partId;        // as recorded: templates keep their "?"
  std::string lastWrittenId; // what the control last received
};

struct PartIdWrite {
  std::size_t entry; // index into the entries
  std::string id;
};

// The IDs to write, in the order they are to be written: only those that
// differ from the entry's last written ID. Entries come in device-name order.
std::vector<PartIdWrite> numberPartIds(const std::vector<NumberingEntry> &entries);

} // namespace qorsim

#endif
