// The ".kfp" value store: records in memory and the file format.
#include "clipboard-checker/core/kfp-store.h"

#include "platform/components/core/string-list.h"

#include <algorithm>
#include <cstring>

namespace lexitray {

namespace {

const char header[] = "03";
constexpr std::size_t headerSize = 16;
constexpr std::size_t recordFieldsSize = TkfRegFile::NameSize + TkfRegFile::KeySize + 1 + 4; // 93
const char recordStart[] = "||++";
const char dataStart[] = "||->";

// A zero-terminated field read from at most size bytes; a field without a
// terminator keeps one byte for it, as the writer would have.
std::string fieldText(const char *bytes, std::size_t size) {
  std::size_t length = 0;
  while (length + 1 < size && bytes[length] != '\0')
    ++length;
  return std::string(bytes, length);
}

void appendField(std::string &out, const std::string &text, std::size_t size) {
  std::string field(size, '\0');
  std::copy_n(text.begin(), std::min(text.size(), size - 1), field.begin());
  out += field;
}

void appendU32(std::string &out, std::uint32_t value) {
  for (int i = 0; i < 4; ++i)
    out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

std::uint32_t readU32(const char *bytes) {
  std::uint32_t value = 0;
  for (int i = 3; i >= 0; --i)
    value = value << 8 | static_cast<std::uint8_t>(bytes[i]);
  return value;
}

std::string headerBytes() {
  std::string bytes(headerSize, '\0');
  bytes[0] = header[0];
  bytes[1] = header[1];
  return bytes;
}

} // namespace

void TkfRegFile::SetCurrentKey(const std::string &key) {
  std::string path;
  for (std::size_t i = 0; i < key.size(); ++i) {
    path += key[i];
    if (key[i] == '\\' && i + 1 < key.size() && key[i + 1] == '\\')
      ++i;
  }
  if (!path.empty() && path.front() == '\\')
    path.erase(0, 1);
  if (!path.empty() && path.back() == '\\')
    path.pop_back();
  currentKey_ = path.substr(0, KeySize - 1);
}

const TkfRegFile::Record *TkfRegFile::find(const std::string &name) const {
  std::string stored = name.substr(0, NameSize - 1);
  for (const Record &record : records_)
    if (components::SameText(record.name, stored) && components::SameText(record.key, currentKey_))
      return &record;
  return nullptr;
}

void TkfRegFile::write(const std::string &name, std::uint8_t type, std::string data) {
  if (const Record *existing = find(name)) {
    Record &record = records_[static_cast<std::size_t>(existing - records_.data())];
    record.type = type;
    record.data = std::move(data);
    return;
  }
  records_.push_back(Record{name.substr(0, NameSize - 1), currentKey_, type, std::move(data)});
}

void TkfRegFile::WriteString(const std::string &name, const std::string &value) {
  // Text is kept with its terminator, as the file stores it; text with a
  // zero inside keeps only what comes before it.
  std::string data(value.c_str());
  data += '\0';
  write(name, TypeText, std::move(data));
}

void TkfRegFile::WriteBinaryData(const std::string &name, const void *data, std::size_t size) {
  const char *bytes = static_cast<const char *>(data);
  write(name, TypeBinary, size ? std::string(bytes, size) : std::string());
}

std::string TkfRegFile::ReadString(const std::string &name) const {
  const Record *record = find(name);
  if (!record || record->type != TypeText)
    return std::string();
  return std::string(record->data.c_str());
}

std::size_t TkfRegFile::ReadBinaryData(const std::string &name, void *buffer,
                                       std::size_t bufferSize) const {
  const Record *record = find(name);
  if (!record || record->type != TypeBinary || record->data.empty())
    return 0;
  std::size_t copied = std::min(bufferSize, record->data.size());
  if (copied > 0)
    std::memcpy(buffer, record->data.data(), copied);
  return record->data.size();
}

std::size_t TkfRegFile::GetDataSize(const std::string &name) const {
  const Record *record = find(name);
  return record ? record->data.size() : 0;
}

bool TkfRegFile::ValueExists(const std::string &name) const { return find(name) != nullptr; }

bool TkfRegFile::DeleteValue(const std::string &name) {
  const Record *record = find(name);
  if (!record)
    return false;
  records_.erase(records_.begin() + (record - records_.data()));
  return true;
}

void TkfRegFile::Clear() { records_.clear(); }

std::string TkfRegFile::SaveToBytes() const {
  std::string out = headerBytes();
  for (const Record &record : records_) {
    out += recordStart;
    appendField(out, record.name, NameSize);
    appendField(out, record.key, KeySize);
    out += static_cast<char>(record.type);
    appendU32(out, static_cast<std::uint32_t>(record.data.size()));
    out += dataStart;
    out += record.data;
  }
  out += headerBytes();
  return out;
}

void TkfRegFile::LoadFromBytes(const std::string &bytes) {
  Clear();
  if (bytes.size() < headerSize || bytes.compare(0, 2, header) != 0)
    return;
  std::size_t at = headerSize;
  while (at < bytes.size()) {
    if (bytes.size() - at < 4 || bytes.compare(at, 4, recordStart) != 0)
      return;
    at += 4;
    if (bytes.size() - at < recordFieldsSize)
      return;
    const char *fields = bytes.data() + at;
    at += recordFieldsSize;
    currentKey_ = fieldText(fields + NameSize, KeySize);
    std::uint32_t size = readU32(fields + NameSize + KeySize + 1);
    if (bytes.size() - at < 4 || bytes.compare(at, 4, dataStart) != 0)
      return;
    at += 4;
    // A size beyond the file's end is damage, not a reason to allocate it.
    if (size > bytes.size() - at)
      return;
    records_.push_back(Record{fieldText(fields, NameSize), currentKey_,
                              static_cast<std::uint8_t>(fields[NameSize + KeySize]),
                              bytes.substr(at, size)});
    at += size;
  }
}

bool TkfRegFile::LoadFromFile(const std::string &path, components::FileSystem &fileSystem) {
  Clear();
  std::string bytes;
  if (!fileSystem.readFile(path, bytes))
    return false;
  LoadFromBytes(bytes);
  return true;
}

bool TkfRegFile::SaveToFile(const std::string &path, components::FileSystem &fileSystem) const {
  std::string staging = path + ".new";
  if (!fileSystem.writeFile(staging, SaveToBytes())) {
    fileSystem.removeFile(staging);
    return false;
  }
  if (fileSystem.replaceFile(staging, path))
    return true;
  fileSystem.removeFile(staging);
  return false;
}

} // namespace lexitray
