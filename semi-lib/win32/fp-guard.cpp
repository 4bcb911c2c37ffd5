// The control words are read and written directly: the C runtime's
// _control87 differs between runtimes in which unit it sets.
#include "semi-lib/win32/fp-guard.h"

#include <xmmintrin.h>

namespace semi_win32 {

FpControl readFpControl() {
  FpControl control;
  __asm__ __volatile__("fnstcw %0" : "=m"(control.x87));
  control.mxcsr = _mm_getcsr();
  return control;
}

void writeFpControl(const FpControl &control) {
  __asm__ __volatile__("fnclex\n\tfldcw %0" : : "m"(control.x87));
  _mm_setcsr(control.mxcsr);
}

} // namespace semi_win32
