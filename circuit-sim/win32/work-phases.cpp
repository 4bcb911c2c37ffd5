// Phase timing: real in the benchmarks' build of the server, nothing in the
// shipped one, which looks nothing up in the process that loads it.
#include "circuit-sim/win32/work-phases.h"

namespace qorsim {

#ifdef QORSIM_WORK_PHASES

WorkPhase::WorkPhase(const char *name)
    : name_(name), sink_(reinterpret_cast<WorkPhaseSink>(reinterpret_cast<void (*)()>(
                       GetProcAddress(GetModuleHandleA(nullptr), WorkPhaseExport)))) {
  if (sink_)
    QueryPerformanceCounter(&start_);
}

WorkPhase::~WorkPhase() {
  if (!sink_)
    return;
  LARGE_INTEGER end, frequency;
  QueryPerformanceCounter(&end);
  QueryPerformanceFrequency(&frequency);
  sink_(name_, static_cast<double>(end.QuadPart - start_.QuadPart) /
                   static_cast<double>(frequency.QuadPart));
}

#else

WorkPhase::WorkPhase(const char *name) : name_(name) {}

WorkPhase::~WorkPhase() = default;

#endif

} // namespace qorsim
