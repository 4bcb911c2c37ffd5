// Win32 files and movable global memory for the compressor core.
#include "jpeg/win32/windows-platform.h"

#include <windows.h>

#include <cstring>

namespace pixtune {

namespace {

HANDLE toHandle(std::intptr_t handle) { return reinterpret_cast<HANDLE>(handle); }

class WindowsFiles final : public FileApi {
public:
  std::intptr_t create(const char *path) override {
    return reinterpret_cast<std::intptr_t>(CreateFileA(path, GENERIC_READ | GENERIC_WRITE, 0,
                                                       nullptr, CREATE_ALWAYS,
                                                       FILE_ATTRIBUTE_NORMAL, nullptr));
  }
  std::intptr_t open(const char *path, int mode) override {
    DWORD access = mode == FileModeRead    ? GENERIC_READ
                   : mode == FileModeWrite ? GENERIC_WRITE
                                           : GENERIC_READ | GENERIC_WRITE;
    return reinterpret_cast<std::intptr_t>(CreateFileA(
        path, access, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  }
  std::int32_t read(std::intptr_t handle, void *buffer, std::int32_t count) override {
    DWORD done = 0;
    if (count <= 0 ||
        !ReadFile(toHandle(handle), buffer, static_cast<DWORD>(count), &done, nullptr))
      return 0;
    return static_cast<std::int32_t>(done);
  }
  std::int32_t write(std::intptr_t handle, const void *buffer, std::int32_t count) override {
    DWORD done = 0;
    if (count <= 0)
      return 0;
    if (!WriteFile(toHandle(handle), buffer, static_cast<DWORD>(count), &done, nullptr))
      return -1;
    return static_cast<std::int32_t>(done);
  }
  std::int32_t seek(std::intptr_t handle, std::int32_t offset, int origin) override {
    static const DWORD methods[] = {FILE_BEGIN, FILE_CURRENT, FILE_END};
    if (origin < 0 || origin > 2)
      return -1;
    return static_cast<std::int32_t>(
        SetFilePointer(toHandle(handle), offset, nullptr, methods[origin]));
  }
  bool close(std::intptr_t handle) override { return CloseHandle(toHandle(handle)) != FALSE; }
  bool flush(std::intptr_t handle) override { return FlushFileBuffers(toHandle(handle)) != FALSE; }
  bool replace(const char *source, const char *target) override {
    return MoveFileExA(source, target, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
  }
  bool remove(const char *path) override { return DeleteFileA(path) != FALSE; }
};

// Blocks stay locked while the core holds them; the handle is found again
// from the pointer when the block is freed.
class GlobalMemory final : public BlockAllocator {
public:
  void *allocate(std::size_t bytes) override {
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes ? bytes : 1);
    if (!block)
      return nullptr;
    void *data = GlobalLock(block);
    if (!data)
      GlobalFree(block);
    return data;
  }
  void *reallocate(void *data, std::size_t bytes) override {
    if (!data)
      return allocate(bytes);
    void *moved = allocate(bytes);
    if (!moved)
      return nullptr;
    SIZE_T old = GlobalSize(GlobalHandle(data));
    std::memcpy(moved, data, old < bytes ? old : bytes);
    release(data);
    return moved;
  }
  void release(void *data) override {
    if (!data)
      return;
    HGLOBAL block = GlobalHandle(data);
    GlobalUnlock(block);
    GlobalFree(block);
  }
};

} // namespace

FileApi &windowsFileApi() {
  static WindowsFiles files;
  return files;
}

BlockAllocator &globalMemoryAllocator() {
  static GlobalMemory memory;
  return memory;
}

} // namespace pixtune
