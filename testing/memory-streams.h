// Memory streams for the tests of stream persistence: one holding given
// bytes, one an object saved itself into, and the bytes an object saves,
// read back as the add-on reads them (the size from where the save left
// the stream, the bytes from its start).
#ifndef TESTING_MEMORY_STREAMS_H
#define TESTING_MEMORY_STREAMS_H

#include "platform/base/win32/com-ptr.h"

#include <windows.h>
#include <ocidl.h>

#include <cstddef>
#include <string>

namespace testing_support {

// A new memory stream holding bytes, at its start; null when none can be
// made.
inline base::ComPtr<IStream> memoryStream(const std::string &bytes = "") {
  base::ComPtr<IStream> stream;
  if (FAILED(CreateStreamOnHGlobal(nullptr, TRUE, stream.receive())))
    return nullptr;
  ULONG written = 0;
  stream->Write(bytes.data(), static_cast<ULONG>(bytes.size()), &written);
  const LARGE_INTEGER start = {};
  stream->Seek(start, STREAM_SEEK_SET, nullptr);
  return stream;
}

// A new memory stream persist saved itself into, at its start; null when
// the save fails.
inline base::ComPtr<IStream> savedStream(IPersistStreamInit *persist, BOOL clearDirty) {
  base::ComPtr<IStream> stream = memoryStream();
  if (!stream || persist->Save(stream.get(), clearDirty) != S_OK)
    return nullptr;
  const LARGE_INTEGER start = {};
  stream->Seek(start, STREAM_SEEK_SET, nullptr);
  return stream;
}

// The bytes persist saves; "(no save)" when the save fails.
inline std::string savedBytes(IPersistStreamInit *persist, BOOL clearDirty) {
  base::ComPtr<IStream> stream = memoryStream();
  if (!stream || persist->Save(stream.get(), clearDirty) != S_OK)
    return "(no save)";
  const LARGE_INTEGER zero = {};
  ULARGE_INTEGER size = {};
  stream->Seek(zero, STREAM_SEEK_CUR, &size);
  stream->Seek(zero, STREAM_SEEK_SET, nullptr);
  std::string bytes(static_cast<std::size_t>(size.QuadPart), '\0');
  ULONG read = 0;
  stream->Read(&bytes[0], static_cast<ULONG>(bytes.size()), &read);
  bytes.resize(read);
  return bytes;
}

} // namespace testing_support

#endif
