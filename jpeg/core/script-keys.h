// The export's scripting keys: which settings field each recorded key
// carries, of what type, and how a replayed value is brought into the
// field's range. One table serves both directions: playback stores a value
// through the key's field accessor, recording reads it through the same.
#ifndef JPEG_CORE_SCRIPT_KEYS_H
#define JPEG_CORE_SCRIPT_KEYS_H

#include "jpeg/core/export-settings.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace pixtune {

// A key's four characters as the host's 32-bit code, first character in the
// top byte.
constexpr std::uint32_t ScriptCode(const char (&code)[5]) {
  return static_cast<std::uint32_t>(static_cast<std::uint8_t>(code[0])) << 24 |
         static_cast<std::uint32_t>(static_cast<std::uint8_t>(code[1])) << 16 |
         static_cast<std::uint32_t>(static_cast<std::uint8_t>(code[2])) << 8 |
         static_cast<std::uint32_t>(static_cast<std::uint8_t>(code[3]));
}

enum class ScriptValueType { Integer, Boolean, Float, Text };

// Text values are kept to as much as the registry stores.
constexpr std::size_t MaxScriptText = 1023;

// One settings field, through exactly one typed pointer.
struct ScriptField {
  std::uint8_t *byte = nullptr;    // a level 0..255, or a flag
  std::int16_t *sharpen = nullptr; // 0..100
  std::uint16_t *side = nullptr;   // 0..65535
  std::int32_t *integer = nullptr; // taken as it comes
  double *real = nullptr;
  std::string *text = nullptr;
};

struct ScriptKey {
  std::uint32_t code;
  ScriptValueType type;
  ScriptField (*field)(TSettings &settings);
  bool inverted; // a flag the script holds in the opposite sense
};

// The recorded keys, in recording order.
const ScriptKey *ScriptKeysBegin();
const ScriptKey *ScriptKeysEnd();
// Null for a key that is not ours.
const ScriptKey *FindScriptKey(std::uint32_t code);

// Playback. Integers beyond a field's width are clamped to it rather than
// truncated, so that validation sees the value the script meant; text is
// cut at MaxScriptText.
void StoreScriptInteger(const ScriptKey &key, std::int32_t value, TSettings &settings);
void StoreScriptBoolean(const ScriptKey &key, bool value, TSettings &settings);
void StoreScriptFloat(const ScriptKey &key, double value, TSettings &settings);
void StoreScriptText(const ScriptKey &key, const std::string &value, TSettings &settings);

// Recording.
std::int32_t ScriptInteger(const ScriptKey &key, const TSettings &settings);
bool ScriptBoolean(const ScriptKey &key, const TSettings &settings);
double ScriptFloat(const ScriptKey &key, const TSettings &settings);
std::string ScriptText(const ScriptKey &key, const TSettings &settings);

} // namespace pixtune

#endif
