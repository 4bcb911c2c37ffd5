// The streams the encoder writes to: a file stream for the export and a
// memory stream for the live preview.
//
// A stream answers read, write and seek; the base answers 0 to all three.
// Counts and positions are 32-bit, as on the shipped target. The file
// stream reaches the file system only through FileApi, which the DLL
// implements with the platform's file calls and tests implement in memory
// (to fail a write after N bytes, like a full disk).
#ifndef JPEG_CORE_STREAMS_H
#define JPEG_CORE_STREAMS_H

#include "jpeg/core/block-allocator.h"

#include <cstdint>

namespace pixtune {

class TStream {
public:
  virtual ~TStream() = default;
  // Returns the number of bytes read.
  virtual std::int32_t Read(void *buffer, std::int32_t count);
  // Returns the number of bytes written; fewer than count (or -1) is a
  // failed write.
  virtual std::int32_t Write(const void *buffer, std::int32_t count);
  // origin 0 from the start, 1 from the current position, 2 from the end;
  // returns the new position.
  virtual std::int32_t Seek(std::int32_t offset, int origin);
};

// File system access for TFileStream. A handle is -1 when there is none.
class FileApi {
public:
  virtual std::intptr_t create(const char *path) = 0;
  virtual std::intptr_t open(const char *path, int mode) = 0;
  virtual std::int32_t read(std::intptr_t handle, void *buffer, std::int32_t count) = 0;
  virtual std::int32_t write(std::intptr_t handle, const void *buffer, std::int32_t count) = 0;
  virtual std::int32_t seek(std::intptr_t handle, std::int32_t offset, int origin) = 0;
  // Returns false when data could not be committed.
  virtual bool close(std::intptr_t handle) = 0;
  // Writes what the system still holds of the file through to the disk;
  // false when it could not.
  virtual bool flush(std::intptr_t handle) = 0;
  // Puts the closed file source in target's place in one step, replacing
  // an existing target; false (nothing changed) when it could not.
  virtual bool replace(const char *source, const char *target) = 0;
  virtual bool remove(const char *path) = 0;

protected:
  ~FileApi() = default;
};

// The C library's files, unbuffered so that a full disk shows in the write
// that hit it rather than at close.
FileApi &standardFileApi();

// Open modes; bit 0x1000 asks for creation (truncating an existing file).
enum FileMode : int {
  FileModeRead = 0,
  FileModeWrite = 1,
  FileModeReadWrite = 2,
  FileModeCreate = 0x1000,
};

class TFileStream : public TStream {
public:
  // Creates (mode with FileModeCreate) or opens the file; throws
  // TStreamError 2004 or 2003 on failure.
  TFileStream(const char *path, int mode, FileApi &files = standardFileApi());
  ~TFileStream() override;
  TFileStream(const TFileStream &) = delete;
  TFileStream &operator=(const TFileStream &) = delete;

  std::int32_t Read(void *buffer, std::int32_t count) override;
  std::int32_t Write(const void *buffer, std::int32_t count) override;
  std::int32_t Seek(std::int32_t offset, int origin) override;

  // Closes the file now; false when the close failed. Afterwards the
  // stream answers 0 like one without a file.
  bool Close();
  std::intptr_t Handle() const { return handle_; }

private:
  FileApi &files_;
  std::intptr_t handle_ = -1;
};

// Stream flags of TMemoryStream.
enum MemoryStreamFlags : unsigned {
  MemoryKeepBlock = 1u << 0, // the block survives destruction, shrunk to the size
  MemoryReadOnly = 1u << 2,  // no writes, no growth
  MemoryUnlockAtEnd = 1u << 3,
};

class TMemoryStream : public TStream {
public:
  explicit TMemoryStream(std::int32_t growStep = 8192, unsigned flags = 0,
                         BlockAllocator &allocator = defaultAllocator());
  ~TMemoryStream() override;
  TMemoryStream(const TMemoryStream &) = delete;
  TMemoryStream &operator=(const TMemoryStream &) = delete;

  std::int32_t Read(void *buffer, std::int32_t count) override;
  // Grows the block as needed; a block that cannot grow throws
  // TStreamError 2002 and the stream keeps its old block and contents.
  std::int32_t Write(const void *buffer, std::int32_t count) override;
  std::int32_t Seek(std::int32_t offset, int origin) override;

  void SetCapacity(std::int32_t capacity);
  void Clear();
  // Keeps the block; size and position return to 0.
  void Rewind();

  const std::uint8_t *Data() const { return data_; }
  std::int32_t Size() const { return size_; }
  std::int32_t Capacity() const { return capacity_; }
  std::int32_t Position() const { return position_; }
  // Hands the block over to the caller when MemoryKeepBlock is set (it is
  // then released by the allocator's release); null otherwise.
  std::uint8_t *ReleaseBlock();

private:
  BlockAllocator &allocator_;
  std::uint8_t *data_ = nullptr;
  std::int32_t size_ = 0;
  std::int32_t capacity_ = 0;
  std::int32_t position_ = 0;
  std::int32_t growStep_;
  unsigned flags_;
};

} // namespace pixtune

#endif
