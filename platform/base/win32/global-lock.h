// Scoped GlobalLock of a movable memory block, and the open clipboard.
#ifndef PLATFORM_BASE_GLOBAL_LOCK_H
#define PLATFORM_BASE_GLOBAL_LOCK_H

#include <windows.h>

namespace base {

template <typename T> class GlobalLockScope {
public:
  explicit GlobalLockScope(HGLOBAL block)
      : block_(block), data_(block ? static_cast<T *>(GlobalLock(block)) : nullptr) {}
  GlobalLockScope(const GlobalLockScope &) = delete;
  GlobalLockScope &operator=(const GlobalLockScope &) = delete;
  ~GlobalLockScope() {
    if (data_)
      GlobalUnlock(block_);
  }
  T *data() const { return data_; }
  explicit operator bool() const { return data_ != nullptr; }
  SIZE_T size() const { return data_ ? GlobalSize(block_) : 0; }

private:
  HGLOBAL block_;
  T *data_;
};

// A movable block owned until handed over (to the clipboard, say).
class GlobalBlock {
public:
  GlobalBlock() = default;
  explicit GlobalBlock(HGLOBAL block) : block_(block) {}
  GlobalBlock(GlobalBlock &&other) noexcept : block_(other.release()) {}
  GlobalBlock &operator=(GlobalBlock &&other) noexcept {
    reset(other.release());
    return *this;
  }
  GlobalBlock(const GlobalBlock &) = delete;
  GlobalBlock &operator=(const GlobalBlock &) = delete;
  ~GlobalBlock() { reset(); }
  HGLOBAL get() const { return block_; }
  explicit operator bool() const { return block_ != nullptr; }
  HGLOBAL release() {
    HGLOBAL block = block_;
    block_ = nullptr;
    return block;
  }
  void reset(HGLOBAL block = nullptr) {
    if (block_)
      GlobalFree(block_);
    block_ = block;
  }

private:
  HGLOBAL block_ = nullptr;
};

// The clipboard, open for the scope when ok() says so.
class ClipboardScope {
public:
  explicit ClipboardScope(HWND owner) : open_(OpenClipboard(owner) != FALSE) {}
  ClipboardScope(const ClipboardScope &) = delete;
  ClipboardScope &operator=(const ClipboardScope &) = delete;
  ~ClipboardScope() {
    if (open_)
      CloseClipboard();
  }
  bool ok() const { return open_; }

private:
  bool open_;
};

} // namespace base

#endif
