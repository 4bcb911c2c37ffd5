// TkfRegFile: the in-memory value store of the persistence component, kept
// in a ".kfp" file. Values live under key paths like registry values; each
// is one record, kept in insertion order:
//   value name  24 bytes, zero-terminated (at most 23 characters)
//   key path    64 bytes, zero-terminated (at most 63): the current key
//               when the record was made
//   type         1 byte, 1 text or 2 binary
//   data size    4 bytes, u32 (text: its length + 1, the terminator)
//   data        the data size's bytes
// The file (integers little-endian):
//   header      16 bytes: "03" and 14 zero bytes
//   records     each "||++", the 93 bytes of name, path, type and size
//               (zero after each terminator), "||->", the data
//   trailer     the header again
// Reading stops at the first thing that is not a record, so the trailer
// ends it, and a damaged record ends it with the records before it kept.
#ifndef CLIPBOARD_CHECKER_CORE_KFP_STORE_H
#define CLIPBOARD_CHECKER_CORE_KFP_STORE_H

#include "platform/components/core/event.h"
#include "platform/components/core/file-system.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace lexitray {

class TkfRegFile : public components::TObject {
public:
  static constexpr std::size_t NameSize = 24;
  static constexpr std::size_t KeySize = 64;
  static constexpr std::uint8_t TypeText = 1;
  static constexpr std::uint8_t TypeBinary = 2;

  struct Record {
    std::string name;
    std::string key;
    std::uint8_t type = TypeText;
    std::string data;
  };

  // Sets the key that new values go under and lookups search: every
  // doubled backslash loses its second half, then one leading and one
  // trailing backslash go; the rest is cut to 63 characters.
  void SetCurrentKey(const std::string &key);
  const std::string &CurrentKey() const { return currentKey_; }

  // Replaces a value of that name under the current key, or adds one.
  void WriteString(const std::string &name, const std::string &value);
  void WriteBinaryData(const std::string &name, const void *data, std::size_t size);
  // Text of a text value; empty for a missing or binary one.
  std::string ReadString(const std::string &name) const;
  // Copies at most bufferSize bytes of a binary value; answers its stored
  // size, 0 when there is no binary value with data.
  std::size_t ReadBinaryData(const std::string &name, void *buffer, std::size_t bufferSize) const;
  std::size_t GetDataSize(const std::string &name) const;
  bool ValueExists(const std::string &name) const;
  bool DeleteValue(const std::string &name);
  void Clear();

  const std::vector<Record> &Records() const { return records_; }

  // The whole store in the file format, and back. Loading clears first; a
  // file that does not begin with "03" loads nothing, a damaged record
  // ends loading with the records before it kept. Nothing read is trusted
  // for a size: data longer than what remains counts as damage.
  std::string SaveToBytes() const;
  void LoadFromBytes(const std::string &bytes);
  // Through the file system: a file that cannot be read loads nothing
  // (false); a save writes a new file beside the old one and swaps them,
  // so a failed save keeps the old store (false).
  bool LoadFromFile(const std::string &path, components::FileSystem &fileSystem);
  bool SaveToFile(const std::string &path, components::FileSystem &fileSystem) const;

private:
  const Record *find(const std::string &name) const;
  void write(const std::string &name, std::uint8_t type, std::string data);

  std::vector<Record> records_;
  std::string currentKey_;
};

} // namespace lexitray

#endif
