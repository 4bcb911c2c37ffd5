// Reading and writing the control property stream.
#include "platform/com/core/control-stream.h"

#include <cstring>

namespace com {
namespace {

bool readU16(ByteSource &source, std::uint16_t &value) {
  std::uint8_t bytes[2];
  if (!source.read(bytes, 2))
    return false;
  value = static_cast<std::uint16_t>(bytes[0] | bytes[1] << 8);
  return true;
}

bool readU32(ByteSource &source, std::uint32_t &value) {
  std::uint8_t bytes[4];
  if (!source.read(bytes, 4))
    return false;
  value = static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
          static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
  return true;
}

void putU16(std::string &out, std::uint16_t value) {
  out += static_cast<char>(value & 0xFF);
  out += static_cast<char>(value >> 8);
}

void putU32(std::string &out, std::uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8)
    out += static_cast<char>((value >> shift) & 0xFF);
}

StreamStatus readText(ByteSource &source, StoredText &text) {
  std::uint16_t type = 0;
  std::uint32_t count = 0;
  if (!readU16(source, type) || !readU32(source, count))
    return StreamStatus::Truncated;
  if (type != VariantString)
    return StreamStatus::NotAString;
  if (count == 0) {
    text = StoredText();
    return StreamStatus::Ok;
  }
  if (count % 2 != 0)
    return StreamStatus::OddCount;
  if (count > MaxTextBytes || count > source.remaining())
    return StreamStatus::CountTooLarge;
  std::vector<std::uint8_t> bytes(count);
  if (!source.read(bytes.data(), count))
    return StreamStatus::Truncated;
  if (bytes[count - 2] != 0 || bytes[count - 1] != 0)
    return StreamStatus::NoTerminator;
  text.null = false;
  text.units.resize(count / 2 - 1);
  for (std::size_t i = 0; i + 1 < count / 2; ++i)
    text.units[i] = static_cast<char16_t>(bytes[2 * i] | bytes[2 * i + 1] << 8);
  return StreamStatus::Ok;
}

} // namespace

bool MemorySource::read(void *into, std::size_t size) {
  if (size > size_ - at_)
    return false;
  if (size)
    std::memcpy(into, data_ + at_, size);
  at_ += size;
  return true;
}

StreamStatus readControlProperties(ByteSource &source, std::size_t textCount,
                                   ControlProperties &properties) {
  ControlProperties read;
  std::uint32_t version = 0;
  if (!readU32(source, version))
    return StreamStatus::Truncated;
  if (version > ControlStreamVersion)
    return StreamStatus::NewerVersion;
  if (!readU32(source, read.width) || !readU32(source, read.height))
    return StreamStatus::Truncated;
  read.texts.resize(textCount);
  for (StoredText &text : read.texts) {
    const StreamStatus status = readText(source, text);
    if (status != StreamStatus::Ok)
      return status;
  }
  properties = std::move(read);
  return StreamStatus::Ok;
}

std::string writeControlProperties(const ControlProperties &properties) {
  std::string out;
  putU32(out, ControlStreamVersion);
  putU32(out, properties.width);
  putU32(out, properties.height);
  for (const StoredText &text : properties.texts) {
    putU16(out, VariantString);
    if (text.null) {
      putU32(out, 0);
      continue;
    }
    putU32(out, static_cast<std::uint32_t>(text.units.size() * 2 + 2));
    for (char16_t unit : text.units)
      putU16(out, static_cast<std::uint16_t>(unit));
    putU16(out, 0);
  }
  return out;
}

} // namespace com
