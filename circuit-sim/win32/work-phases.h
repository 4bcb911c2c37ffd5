// The phases of a work event (numbering, page scan, topology check, matrix
// set-up, Newton iteration, advice), timed for a host process that asks:
// one that exports the function named by WorkPhaseExport is told each
// phase's name and seconds as it ends. The benchmark reads the share of
// numbering and checks this way; without the export nothing is timed.
#ifndef CIRCUIT_SIM_WORK_PHASES_H
#define CIRCUIT_SIM_WORK_PHASES_H

#include <windows.h>

namespace qorsim {

// extern "C" void __cdecl <name>(const char *phase, double seconds),
// exported by the host's executable.
const char WorkPhaseExport[] = "QorSimWorkPhase";
using WorkPhaseSink = void(__cdecl *)(const char *phase, double seconds);

// Times the scope it lives in; also a phase left by an exception counts.
class WorkPhase {
public:
  explicit WorkPhase(const char *name);
  ~WorkPhase();
  WorkPhase(const WorkPhase &) = delete;
  WorkPhase &operator=(const WorkPhase &) = delete;

private:
  const char *name_;
  WorkPhaseSink sink_;
  LARGE_INTEGER start_{};
};

} // namespace qorsim

#endif
