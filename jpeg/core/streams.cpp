// File and memory streams.
#include "jpeg/core/streams.h"

#include "jpeg/core/jpeg-errors.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace pixtune {

std::int32_t TStream::Read(void *, std::int32_t) { return 0; }
std::int32_t TStream::Write(const void *, std::int32_t) { return 0; }
std::int32_t TStream::Seek(std::int32_t, int) { return 0; }

namespace {

class StdioFileApi final : public FileApi {
public:
  constexpr StdioFileApi() = default;
  std::intptr_t create(const char *path) override { return openFile(path, "w+b"); }
  std::intptr_t open(const char *path, int mode) override {
    switch (mode & 3) {
    case FileModeWrite:
    case FileModeReadWrite:
      return openFile(path, "r+b");
    default:
      return openFile(path, "rb");
    }
  }
  std::int32_t read(std::intptr_t handle, void *buffer, std::int32_t count) override {
    if (count <= 0)
      return 0;
    return static_cast<std::int32_t>(
        std::fread(buffer, 1, static_cast<std::size_t>(count), file(handle)));
  }
  std::int32_t write(std::intptr_t handle, const void *buffer, std::int32_t count) override {
    if (count <= 0)
      return 0;
    return static_cast<std::int32_t>(
        std::fwrite(buffer, 1, static_cast<std::size_t>(count), file(handle)));
  }
  std::int32_t seek(std::intptr_t handle, std::int32_t offset, int origin) override {
    static const int whence[] = {SEEK_SET, SEEK_CUR, SEEK_END};
    if (origin < 0 || origin > 2 || std::fseek(file(handle), offset, whence[origin]) != 0)
      return -1;
    return static_cast<std::int32_t>(std::ftell(file(handle)));
  }
  bool close(std::intptr_t handle) override { return std::fclose(file(handle)) == 0; }
  bool flush(std::intptr_t handle) override {
    if (std::fflush(file(handle)) != 0)
      return false;
#ifdef _WIN32
    return _commit(_fileno(file(handle))) == 0;
#else
    return fsync(fileno(file(handle))) == 0;
#endif
  }
  // std::filesystem::rename replaces an existing target in one step on
  // both systems (rename(2), a replacing move on Windows).
  bool replace(const char *source, const char *target) override {
    std::error_code error;
    std::filesystem::rename(source, target, error);
    return !error;
  }
  bool remove(const char *path) override { return std::remove(path) == 0; }

private:
  static std::FILE *file(std::intptr_t handle) { return reinterpret_cast<std::FILE *>(handle); }
  static std::intptr_t openFile(const char *path, const char *how) {
    std::FILE *f = path ? std::fopen(path, how) : nullptr;
    if (!f)
      return -1;
    std::setvbuf(f, nullptr, _IONBF, 0);
    return reinterpret_cast<std::intptr_t>(f);
  }
};

} // namespace

FileApi &standardFileApi() {
  static StdioFileApi files; // stateless, constant-initialised
  return files;
}

TFileStream::TFileStream(const char *path, int mode, FileApi &files) : files_(files) {
  if (mode & FileModeCreate) {
    handle_ = files_.create(path);
    if (handle_ == -1)
      throw TStreamError(ErrorFileCreate);
    return;
  }
  handle_ = files_.open(path, mode);
  if (handle_ == -1)
    throw TStreamError(ErrorFileOpen);
}

TFileStream::~TFileStream() { Close(); }

bool TFileStream::Close() {
  if (handle_ == -1)
    return true;
  bool closed = files_.close(handle_);
  handle_ = -1;
  return closed;
}

std::int32_t TFileStream::Read(void *buffer, std::int32_t count) {
  return handle_ == -1 ? 0 : files_.read(handle_, buffer, count);
}

std::int32_t TFileStream::Write(const void *buffer, std::int32_t count) {
  return handle_ == -1 ? 0 : files_.write(handle_, buffer, count);
}

std::int32_t TFileStream::Seek(std::int32_t offset, int origin) {
  return handle_ == -1 ? 0 : files_.seek(handle_, offset, origin);
}

TMemoryStream::TMemoryStream(std::int32_t growStep, unsigned flags, BlockAllocator &allocator)
    : allocator_(allocator), growStep_(growStep > 0 ? growStep : 8192), flags_(flags) {}

TMemoryStream::~TMemoryStream() {
  if (!data_)
    return;
  if (flags_ & MemoryKeepBlock)
    return; // the owner took it over through ReleaseBlock or keeps it deliberately
  allocator_.release(data_);
}

std::uint8_t *TMemoryStream::ReleaseBlock() {
  if (!(flags_ & MemoryKeepBlock) || !data_)
    return nullptr;
  if (size_ > 0 && size_ < capacity_) {
    if (void *shrunk = allocator_.reallocate(data_, static_cast<std::size_t>(size_)))
      data_ = static_cast<std::uint8_t *>(shrunk);
  }
  std::uint8_t *block = data_;
  data_ = nullptr;
  size_ = capacity_ = position_ = 0;
  return block;
}

std::int32_t TMemoryStream::Read(void *buffer, std::int32_t count) {
  if (position_ < 0 || count < 0)
    return 0;
  std::int64_t available = static_cast<std::int64_t>(size_) - position_;
  if (available <= 0)
    return 0;
  std::int32_t n = count < available ? count : static_cast<std::int32_t>(available);
  std::memcpy(buffer, data_ + position_, static_cast<std::size_t>(n));
  position_ += n;
  return n;
}

std::int32_t TMemoryStream::Write(const void *buffer, std::int32_t count) {
  if ((flags_ & MemoryReadOnly) || position_ < 0 || count < 0)
    return 0;
  std::int64_t end = static_cast<std::int64_t>(position_) + count;
  if (end <= 0)
    return 0;
  if (end > 0x7FFFFFFF)
    throw TStreamError(ErrorStreamGrow);
  if (end > capacity_) {
    std::int64_t rounded = (end + growStep_ - 1) / growStep_ * growStep_;
    SetCapacity(rounded > 0x7FFFFFFF ? static_cast<std::int32_t>(end)
                                     : static_cast<std::int32_t>(rounded));
  }
  std::memcpy(data_ + position_, buffer, static_cast<std::size_t>(count));
  if (end > size_)
    size_ = static_cast<std::int32_t>(end);
  position_ = static_cast<std::int32_t>(end);
  return count;
}

std::int32_t TMemoryStream::Seek(std::int32_t offset, int origin) {
  switch (origin) {
  case 0:
    position_ = offset;
    break;
  case 1:
    position_ += offset;
    break;
  case 2:
    position_ = size_ + offset;
    break;
  default:
    break;
  }
  return position_;
}

void TMemoryStream::SetCapacity(std::int32_t capacity) {
  if (capacity == capacity_)
    return;
  if (capacity <= 0) {
    if (data_ && !(flags_ & MemoryKeepBlock))
      allocator_.release(data_);
    if (!(flags_ & MemoryKeepBlock))
      data_ = nullptr;
    capacity_ = 0;
    return;
  }
  if (flags_ & MemoryReadOnly)
    throw TStreamError(ErrorStreamGrow);
  void *block = data_ ? allocator_.reallocate(data_, static_cast<std::size_t>(capacity))
                      : allocator_.allocate(static_cast<std::size_t>(capacity));
  if (!block)
    throw TStreamError(ErrorStreamGrow);
  data_ = static_cast<std::uint8_t *>(block);
  if (capacity > capacity_)
    std::memset(data_ + capacity_, 0, static_cast<std::size_t>(capacity - capacity_));
  capacity_ = capacity;
  if (size_ > capacity_)
    size_ = capacity_;
}

void TMemoryStream::Clear() {
  SetCapacity(0);
  size_ = 0;
  position_ = 0;
}

void TMemoryStream::Rewind() {
  size_ = 0;
  position_ = 0;
}

} // namespace pixtune
