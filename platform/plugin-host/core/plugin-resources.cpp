// Property list and scripting dictionary readers.
#include "platform/plugin-host/core/plugin-resources.h"

#include <cstring>

namespace plugin {

namespace {

// Bounds-checked little-endian reading; the first failure sticks.
class Reader {
public:
  Reader(const std::uint8_t *data, std::size_t size) : data_(data), size_(size) {}
  bool ok() const { return ok_; }
  std::size_t offset() const { return offset_; }
  std::string error() const { return error_; }

  std::uint32_t u32(const char *what) {
    std::uint8_t b[4] = {};
    take(b, 4, what);
    return static_cast<std::uint32_t>(b[0]) | static_cast<std::uint32_t>(b[1]) << 8 |
           static_cast<std::uint32_t>(b[2]) << 16 | static_cast<std::uint32_t>(b[3]) << 24;
  }
  std::uint16_t u16(const char *what) {
    std::uint8_t b[2] = {};
    take(b, 2, what);
    return static_cast<std::uint16_t>(b[0] | b[1] << 8);
  }
  std::uint8_t u8(const char *what) {
    std::uint8_t b = 0;
    take(&b, 1, what);
    return b;
  }
  std::string bytes(std::size_t count, const char *what) {
    std::string text(ok_ && count <= size_ - offset_ ? count : 0, '\0');
    if (!text.empty() || count == 0)
      take(text.data(), count, what);
    else
      fail(what);
    return text;
  }
  // A length-prefixed text padded to an even length.
  std::string paddedPascal(const char *what) {
    std::uint8_t length = u8(what);
    std::string text = bytes(length, what);
    if ((length + 1) % 2)
      u8(what);
    return text;
  }
  void skip(std::size_t count, const char *what) {
    if (!ok_ || count > size_ - offset_)
      return fail(what);
    offset_ += count;
  }
  void fail(const char *what) {
    if (!ok_)
      return;
    ok_ = false;
    error_ = "offset " + std::to_string(offset_) + ": expected " + what;
  }

private:
  void take(void *out, std::size_t count, const char *what) {
    if (!ok_ || count > size_ - offset_)
      return fail(what);
    std::memcpy(out, data_ + offset_, count);
    offset_ += count;
  }
  const std::uint8_t *data_;
  std::size_t size_;
  std::size_t offset_ = 0;
  bool ok_ = true;
  std::string error_;
};

// The text up to the first zero inside data; false without one.
bool terminated(const std::string &data, std::string &text) {
  std::size_t end = data.find('\0');
  if (end == std::string::npos)
    return false;
  text = data.substr(0, end);
  return true;
}

std::uint32_t word(const std::string &data) {
  const auto *b = reinterpret_cast<const std::uint8_t *>(data.data());
  return static_cast<std::uint32_t>(b[0]) | static_cast<std::uint32_t>(b[1]) << 8 |
         static_cast<std::uint32_t>(b[2]) << 16 | static_cast<std::uint32_t>(b[3]) << 24;
}

bool readProperty(OSType key, const std::string &data, PropertyList &list) {
  if (key == fourCC("kind") || key == fourCC("vers") || key == fourCC("mode")) {
    if (data.size() != 4)
      return false;
    (key == fourCC("kind")   ? list.kind
     : key == fourCC("vers") ? list.version
                             : list.modes) = word(data);
    return true;
  }
  if (key == fourCC("name") || key == fourCC("catg")) {
    if (data.empty() || static_cast<std::uint8_t>(data[0]) + 1u > data.size())
      return false;
    (key == fourCC("name") ? list.name : list.category) =
        data.substr(1, static_cast<std::uint8_t>(data[0]));
    return true;
  }
  if (key == fourCC("wx86"))
    return terminated(data, list.entryX86);
  if (key == fourCC("8664"))
    return terminated(data, list.entryX64);
  if (key == fourCC("enbl"))
    return terminated(data, list.enableRule);
  if (key == fourCC("hstm")) {
    if (data.size() < 15)
      return false;
    list.hasTerminology = true;
    list.eventClass = word(data.substr(4, 4));
    list.eventId = word(data.substr(8, 4));
    list.dictionaryId = static_cast<std::int16_t>(static_cast<std::uint8_t>(data[12]) |
                                                  static_cast<std::uint8_t>(data[13]) << 8);
    return terminated(data.substr(14), list.scope);
  }
  return true; // properties a host does not know are skipped
}

} // namespace

std::string fourCCText(OSType code) {
  std::string text(4, ' ');
  for (int i = 0; i < 4; ++i)
    text[static_cast<std::size_t>(i)] = static_cast<char>(code >> (24 - 8 * i));
  return text;
}

bool ParsePropertyList(const std::uint8_t *data, std::size_t size, PropertyList &list,
                       std::string &error) {
  list = PropertyList();
  Reader in(data, size);
  if (in.u16("resource version") != 1)
    in.fail("resource version 1");
  if (in.u32("list version") != 0)
    in.fail("list version 0");
  std::uint32_t count = in.u32("property count");
  for (std::uint32_t i = 0; in.ok() && i < count; ++i) {
    if (in.u32("vendor") != fourCC("8BIM"))
      in.fail("vendor '8BIM'");
    OSType key = in.u32("property key");
    in.u32("property id");
    std::uint32_t length = in.u32("property length");
    std::string body = in.bytes(length, "property data");
    in.skip((4 - length % 4) % 4, "property padding");
    if (in.ok() && !readProperty(key, body, list))
      in.fail(("well-formed '" + fourCCText(key) + "' data").c_str());
    list.keys.push_back(key);
  }
  if (in.ok() && in.offset() != size)
    in.fail("end of resource");
  error = in.error();
  return in.ok();
}

bool ParseScriptingDictionary(const std::uint8_t *data, std::size_t size,
                              ScriptingDictionary &dictionary, std::string &error) {
  dictionary = ScriptingDictionary();
  Reader in(data, size);
  if (in.u8("major version") != 1 || in.u8("minor version") != 0)
    in.fail("version 1.0");
  in.u16("language");
  in.u16("script");
  if (in.u16("suite count") != 1)
    in.fail("one suite");
  in.paddedPascal("suite name");
  in.paddedPascal("suite description");
  dictionary.suiteId = in.u32("suite id");
  in.u16("suite level");
  in.u16("suite version");
  if (in.u16("event count") != 1)
    in.fail("one event");
  in.paddedPascal("event name");
  in.paddedPascal("event description");
  dictionary.eventClass = in.u32("event class");
  dictionary.eventId = in.u32("event id");
  in.u32("reply type");
  in.paddedPascal("reply description");
  in.u16("reply flags");
  in.u32("direct parameter type");
  in.paddedPascal("direct parameter description");
  in.u16("direct parameter flags");
  std::uint16_t parameters = in.u16("parameter count");
  for (std::uint16_t i = 0; in.ok() && i < parameters; ++i) {
    DictionaryParameter parameter;
    parameter.name = in.paddedPascal("parameter name");
    parameter.key = in.u32("parameter key");
    parameter.type = in.u32("parameter type");
    in.paddedPascal("parameter description");
    in.u16("parameter flags");
    dictionary.parameters.push_back(parameter);
  }
  for (const char *what : {"class count", "comparison count", "enumeration count"})
    if (in.u16(what) != 0)
      in.fail(what);
  if (in.ok() && in.offset() != size)
    in.fail("end of resource");
  error = in.error();
  return in.ok();
}

} // namespace plugin
