// Owner of a SAFEARRAY and a scoped lock on its data.
#ifndef PLATFORM_BASE_SAFE_ARRAY_H
#define PLATFORM_BASE_SAFE_ARRAY_H

#include <windows.h>
#include <oleauto.h>

#include <utility>

namespace base {

class SafeArray {
public:
  SafeArray() = default;
  explicit SafeArray(SAFEARRAY *array) : array_(array) {}
  SafeArray(SafeArray &&other) noexcept : array_(other.detach()) {}
  SafeArray &operator=(SafeArray &&other) noexcept {
    reset(other.detach());
    return *this;
  }
  SafeArray(const SafeArray &) = delete;
  SafeArray &operator=(const SafeArray &) = delete;
  ~SafeArray() { reset(); }

  SAFEARRAY *get() const { return array_; }
  SAFEARRAY *detach() { return std::exchange(array_, nullptr); }
  void reset(SAFEARRAY *array = nullptr) {
    if (SAFEARRAY *old = std::exchange(array_, array))
      SafeArrayDestroy(old);
  }
  SAFEARRAY **receive() {
    reset();
    return &array_;
  }

private:
  SAFEARRAY *array_ = nullptr;
};

// Locks an array's data for the scope; ok() says whether the lock took.
template <typename T> class SafeArrayAccess {
public:
  explicit SafeArrayAccess(SAFEARRAY *array) : array_(array) {
    if (array_ && FAILED(SafeArrayAccessData(array_, reinterpret_cast<void **>(&data_))))
      array_ = nullptr;
  }
  SafeArrayAccess(const SafeArrayAccess &) = delete;
  SafeArrayAccess &operator=(const SafeArrayAccess &) = delete;
  ~SafeArrayAccess() {
    if (array_)
      SafeArrayUnaccessData(array_);
  }
  bool ok() const { return array_ != nullptr; }
  T *data() const { return data_; }
  // Element count of a one-dimensional array.
  ULONG size() const { return array_ ? array_->rgsabound[0].cElements : 0; }

private:
  SAFEARRAY *array_;
  T *data_ = nullptr;
};

} // namespace base

#endif
