// Readers of a plug-in's two resources (id 16000), as a host checks them.
//
// Property list ("PiPL"): a 16-bit resource version (1), a 32-bit list
// version (0) and a 32-bit property count, then per property the vendor
// ('8BIM'), the key, an id (0) and the data length, all 32-bit, followed
// by the data padded to four bytes. Data by key: 'kind', 'vers' and 'mode'
// one 32-bit word; 'name' and 'catg' a length-prefixed text; 'wx86' and
// '8664' (the entry point on x86 and x86-64) a zero-terminated text;
// 'enbl' the zero-terminated enable rule; 'hstm' a 32-bit version, the
// event class and id, a 16-bit dictionary id and a zero-terminated scope.
//
// Scripting dictionary ("aete"): version bytes 1 and 0, 16-bit language,
// script and suite count; per suite a name and description, its id, level,
// version and event count; per event name, description, class, id, reply
// type, reply description and flags, direct-parameter type, description
// and flags, and the parameter count; per parameter name, key, type,
// description and flags; then three 16-bit zero counts. Texts are
// length-prefixed and padded to an even length; numbers little-endian.
#ifndef PLATFORM_PLUGIN_HOST_PLUGIN_RESOURCES_H
#define PLATFORM_PLUGIN_HOST_PLUGIN_RESOURCES_H

#include "platform/plugin-host/core/plugin-interface.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace plugin {

// Supported-mode flags of the 'mode' property.
constexpr std::uint32_t modeFlagGrayScale = 0x4000;
constexpr std::uint32_t modeFlagRGBColor = 0x1000;

struct PropertyList {
  std::vector<OSType> keys; // in resource order
  OSType kind = 0;
  std::string name, category;
  std::uint32_t version = 0;
  std::string entryX86, entryX64;
  std::uint32_t modes = 0;
  std::string enableRule;
  bool hasTerminology = false;
  OSType eventClass = 0, eventId = 0;
  std::int16_t dictionaryId = 0;
  std::string scope;
};

struct DictionaryParameter {
  std::string name;
  OSType key = 0, type = 0;
};

struct ScriptingDictionary {
  OSType suiteId = 0, eventClass = 0, eventId = 0;
  std::vector<DictionaryParameter> parameters;
};

// Both return false with a message naming the offset and what was wrong
// when the bytes do not hold a well-formed resource.
bool ParsePropertyList(const std::uint8_t *data, std::size_t size, PropertyList &list,
                       std::string &error);
bool ParseScriptingDictionary(const std::uint8_t *data, std::size_t size,
                              ScriptingDictionary &dictionary, std::string &error);

// "8BIM" for 0x3842494D.
std::string fourCCText(OSType code);

} // namespace plugin

#endif
