// Owner of a BSTR, and the one place where text crosses between the
// system's 8-bit ANSI strings and the wide strings of the COM boundary.
#ifndef PLATFORM_BASE_BSTR_H
#define PLATFORM_BASE_BSTR_H

#include <windows.h>
#include <oleauto.h>

#include <string>
#include <utility>

namespace base {

class Bstr {
public:
  Bstr() = default;
  // Converts ANSI text; throws ComError(E_OUTOFMEMORY) when it cannot.
  explicit Bstr(const std::string &text);
  Bstr(Bstr &&other) noexcept : s_(std::exchange(other.s_, nullptr)) {}
  Bstr &operator=(Bstr &&other) noexcept {
    reset(other.detach());
    return *this;
  }
  Bstr(const Bstr &) = delete;
  Bstr &operator=(const Bstr &) = delete;
  ~Bstr() { reset(); }

  static Bstr adopt(BSTR s) {
    Bstr result;
    result.s_ = s;
    return result;
  }
  // A copy of s; throws ComError(E_OUTOFMEMORY) when it cannot.
  static Bstr copyOf(const BSTR s);

  BSTR get() const { return s_; }
  BSTR detach() { return std::exchange(s_, nullptr); }
  void reset(BSTR s = nullptr) {
    if (BSTR old = std::exchange(s_, s))
      SysFreeString(old);
  }
  BSTR *receive() {
    reset();
    return &s_;
  }
  unsigned length() const { return SysStringLen(s_); }
  std::string toAnsi() const { return toAnsiText(s_); }

  // A null BSTR is the empty text, as automation treats it.
  static std::string toAnsiText(const BSTR s);

private:
  BSTR s_ = nullptr;
};

} // namespace base

#endif
