// Owners for kernel handles, registry keys and loaded modules: movable, not
// copyable, released exactly once on every path.
#ifndef PLATFORM_BASE_UNIQUE_HANDLE_H
#define PLATFORM_BASE_UNIQUE_HANDLE_H

#include <windows.h>

#include <utility>

namespace base {

// Owns a value released by Traits::close when it is not Traits::invalid().
template <typename Traits> class UniqueResource {
public:
  using T = typename Traits::Type;
  UniqueResource() = default;
  explicit UniqueResource(T value) : value_(value) {}
  UniqueResource(UniqueResource &&other) noexcept : value_(other.release()) {}
  UniqueResource &operator=(UniqueResource &&other) noexcept {
    reset(other.release());
    return *this;
  }
  UniqueResource(const UniqueResource &) = delete;
  UniqueResource &operator=(const UniqueResource &) = delete;
  ~UniqueResource() { reset(); }

  T get() const { return value_; }
  explicit operator bool() const { return value_ != Traits::invalid(); }
  T release() { return std::exchange(value_, Traits::invalid()); }
  void reset(T value = Traits::invalid()) {
    T old = std::exchange(value_, value);
    if (old != Traits::invalid())
      Traits::close(old);
  }
  // For out-parameters of creating calls: releases what is held first.
  T *receive() {
    reset();
    return &value_;
  }

private:
  T value_ = Traits::invalid();
};

struct FileHandleTraits {
  using Type = HANDLE;
  static HANDLE invalid() { return INVALID_HANDLE_VALUE; }
  static void close(HANDLE h) { CloseHandle(h); }
};
struct KernelHandleTraits {
  using Type = HANDLE;
  static HANDLE invalid() { return nullptr; }
  static void close(HANDLE h) { CloseHandle(h); }
};
struct RegKeyTraits {
  using Type = HKEY;
  static HKEY invalid() { return nullptr; }
  static void close(HKEY key) { RegCloseKey(key); }
};
struct ModuleTraits {
  using Type = HMODULE;
  static HMODULE invalid() { return nullptr; }
  static void close(HMODULE module) { FreeLibrary(module); }
};

// A kernel handle from CreateFile and friends (INVALID_HANDLE_VALUE is empty).
using FileHandle = UniqueResource<FileHandleTraits>;
// A kernel handle from CreateEvent, CreateMutex and friends (null is empty).
using KernelHandle = UniqueResource<KernelHandleTraits>;
using RegKey = UniqueResource<RegKeyTraits>;
using ModuleHandle = UniqueResource<ModuleTraits>;

} // namespace base

#endif
