// The floating-point mode of the device code, set for the length of every
// call into the library and the caller's own mode put back afterwards. A
// host may run with floating-point exceptions unmasked; the junction model
// relies on masked ones (an emission coefficient of 0 gives infinities and
// NaN, which the results then show), so no division may trap inside.
#ifndef SEMI_LIB_FP_GUARD_H
#define SEMI_LIB_FP_GUARD_H

namespace semi_win32 {

// Both units' control words: the x87 control word and SSE's MXCSR.
struct FpControl {
  unsigned short x87;
  unsigned int mxcsr;
};

FpControl readFpControl();
// Loads both words; the x87 exception flags are cleared first, so that a
// flag raised under masked exceptions cannot trap once they are unmasked.
void writeFpControl(const FpControl &control);

// The device code's mode: every exception masked, round to nearest, x87 at
// double precision, no flush to zero.
const FpControl DeviceFpMode = {0x027F, 0x1F80};

class FpGuard {
public:
  FpGuard() : saved_(readFpControl()) { writeFpControl(DeviceFpMode); }
  ~FpGuard() { writeFpControl(saved_); }
  FpGuard(const FpGuard &) = delete;
  FpGuard &operator=(const FpGuard &) = delete;

private:
  FpControl saved_;
};

} // namespace semi_win32

#endif
