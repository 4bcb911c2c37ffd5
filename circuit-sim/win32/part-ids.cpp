// Part-ID numbering of the registered controls: the numbering itself is
// the core's; here the entries are gathered and the new IDs written.
#include "circuit-sim/core/part-numbering.h"
#include "circuit-sim/win32/qor-calls.h"
#include "circuit-sim/win32/sim-ckt.h"
#include "circuit-sim/win32/work-phases.h"

namespace qorsim {

void SimCkt::NumberPartIDs() {
  WorkPhase phase("numbering");
  neverNumbered_ = false;
  std::vector<NumberingEntry> entries;
  std::vector<OcxEntry *> owners;
  for (auto &[name, entry] : ocxMap_) {
    // An entry whose control has not bound yet has no ID to number.
    if (!entry->control)
      continue;
    entries.push_back({name, entry->pinX, entry->pinY, entry->partId, entry->lastWrittenId});
    owners.push_back(entry.get());
  }
  for (const PartIdWrite &write : qorsim::numberPartIds(entries)) {
    OcxEntry *owner = owners[write.entry];
    // Recorded only once the control took it: a failed write is tried
    // again by the next run.
    qor::putPartId(owner->control.get(), write.id);
    owner->lastWrittenId = write.id;
  }
}

} // namespace qorsim
