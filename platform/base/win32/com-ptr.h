// Owner of one reference to a COM interface. Copying adds a reference,
// moving transfers it, destruction releases it.
#ifndef PLATFORM_BASE_COM_PTR_H
#define PLATFORM_BASE_COM_PTR_H

#include <windows.h>
#include <objbase.h>

#include <utility>

namespace base {

template <typename T> class ComPtr {
public:
  ComPtr() = default;
  ComPtr(std::nullptr_t) {}
  // Adds a reference of its own to p.
  explicit ComPtr(T *p) : p_(p) {
    if (p_)
      p_->AddRef();
  }
  ComPtr(const ComPtr &other) : ComPtr(other.p_) {}
  ComPtr(ComPtr &&other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
  ComPtr &operator=(ComPtr other) noexcept {
    std::swap(p_, other.p_);
    return *this;
  }
  ~ComPtr() { reset(); }

  // Takes over a reference the caller already owns.
  static ComPtr adopt(T *p) {
    ComPtr result;
    result.p_ = p;
    return result;
  }

  T *get() const { return p_; }
  T *operator->() const { return p_; }
  explicit operator bool() const { return p_ != nullptr; }
  void reset() {
    if (T *old = std::exchange(p_, nullptr))
      old->Release();
  }
  // Hands the reference to the caller (an out-parameter, say).
  T *detach() { return std::exchange(p_, nullptr); }
  // For out-parameters of creating calls: releases what is held first.
  T **receive() {
    reset();
    return &p_;
  }
  void **receiveVoid() { return reinterpret_cast<void **>(receive()); }

  // QueryInterface for U; an empty pointer when the object does not answer.
  template <typename U> ComPtr<U> query() const {
    ComPtr<U> result;
    if (p_)
      p_->QueryInterface(__uuidof(U), result.receiveVoid());
    return result;
  }

private:
  T *p_ = nullptr;
};

// True when both pointers lead to one object (the COM identity rule).
inline bool sameObject(IUnknown *a, IUnknown *b) {
  if (!a || !b)
    return a == b;
  ComPtr<IUnknown> ua, ub;
  a->QueryInterface(IID_IUnknown, ua.receiveVoid());
  b->QueryInterface(IID_IUnknown, ub.receiveVoid());
  return ua.get() == ub.get();
}

} // namespace base

#endif
