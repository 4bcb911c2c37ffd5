// Owner of a VARIANT: cleared exactly once, whatever it holds.
#ifndef PLATFORM_BASE_VARIANT_H
#define PLATFORM_BASE_VARIANT_H

#include <windows.h>
#include <oleauto.h>

namespace base {

class Variant {
public:
  Variant() { VariantInit(&v_); }
  Variant(Variant &&other) noexcept : v_(other.v_) { VariantInit(&other.v_); }
  Variant &operator=(Variant &&other) noexcept {
    if (this != &other) {
      VariantClear(&v_);
      v_ = other.v_;
      VariantInit(&other.v_);
    }
    return *this;
  }
  Variant(const Variant &) = delete;
  Variant &operator=(const Variant &) = delete;
  ~Variant() { VariantClear(&v_); }

  VARIANT *get() { return &v_; }
  const VARIANT *get() const { return &v_; }
  VARTYPE type() const { return V_VT(&v_); }
  // Clears what is held and gives the storage to an out-parameter.
  VARIANT *receive() {
    VariantClear(&v_);
    return &v_;
  }

private:
  VARIANT v_;
};

} // namespace base

#endif
