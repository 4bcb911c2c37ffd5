// The phases of a work event (numbering, page scan, topology check, matrix
// set-up, Newton iteration, advice). The shipped server times nothing. The
// benchmarks' build of it (QORSIM_WORK_PHASES) tells a host process that
// exports the function named by WorkPhaseExport each phase's name and
// seconds as it ends; the benchmarks read the share of each phase this way.
#ifndef CIRCUIT_SIM_WORK_PHASES_H
#define CIRCUIT_SIM_WORK_PHASES_H

#include <windows.h>

namespace qorsim {

// extern "C" void __cdecl <name>(const char *phase, double seconds),
// exported by the host's executable.
const char WorkPhaseExport[] = "QorSimWorkPhase";
using WorkPhaseSink = void(__cdecl *)(const char *phase, double seconds);

// Times the scope it lives in; also a phase left by an exception counts.
// Out of line, so that the two builds share every caller's code.
class WorkPhase {
public:
  explicit WorkPhase(const char *name);
  ~WorkPhase();
  WorkPhase(const WorkPhase &) = delete;
  WorkPhase &operator=(const WorkPhase &) = delete;

private:
  const char *name_;
  WorkPhaseSink sink_ = nullptr;
  LARGE_INTEGER start_{};
};

} // namespace qorsim

#endif
