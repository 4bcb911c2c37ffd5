// The scripting keys' table and the conversions between script values and
// settings fields.
#include "jpeg/core/script-keys.h"

#include <algorithm>
#include <iterator>

namespace pixtune {

namespace {

ScriptField field(std::uint8_t &value) {
  ScriptField f;
  f.byte = &value;
  return f;
}
ScriptField field(std::int16_t &value) {
  ScriptField f;
  f.sharpen = &value;
  return f;
}
ScriptField field(std::uint16_t &value) {
  ScriptField f;
  f.side = &value;
  return f;
}
ScriptField field(std::int32_t &value) {
  ScriptField f;
  f.integer = &value;
  return f;
}
ScriptField field(double &value) {
  ScriptField f;
  f.real = &value;
  return f;
}
ScriptField field(std::string &value) {
  ScriptField f;
  f.text = &value;
  return f;
}

using Type = ScriptValueType;

const ScriptKey scriptKeys[] = {
    {ScriptCode("Lmnc"), Type::Integer, [](TSettings &s) { return field(s.imageParams.luminance); },
     false},
    {ScriptCode("cHrm"), Type::Integer,
     [](TSettings &s) { return field(s.imageParams.chrominance); }, false},
    {ScriptCode("pRgr"), Type::Boolean,
     [](TSettings &s) { return field(s.imageParams.progressive); }, false},
    {ScriptCode("sHrp"), Type::Integer, [](TSettings &s) { return field(s.imageParams.sharpen); },
     false},
    {ScriptCode("tLum"), Type::Integer,
     [](TSettings &s) { return field(s.thumbnailParams.luminance); }, false},
    {ScriptCode("tChr"), Type::Integer,
     [](TSettings &s) { return field(s.thumbnailParams.chrominance); }, false},
    {ScriptCode("tPrg"), Type::Boolean,
     [](TSettings &s) { return field(s.thumbnailParams.progressive); }, false},
    {ScriptCode("tShr"), Type::Integer,
     [](TSettings &s) { return field(s.thumbnailParams.sharpen); }, false},
    {ScriptCode("tMbl"), Type::Integer, [](TSettings &s) { return field(s.options.thumbnailMode); },
     false},
    {ScriptCode("tMbw"), Type::Integer,
     [](TSettings &s) { return field(s.options.thumbnailWidth); }, false},
    {ScriptCode("tMbh"), Type::Integer,
     [](TSettings &s) { return field(s.options.thumbnailHeight); }, false},
    {ScriptCode("tFit"), Type::Boolean, [](TSettings &s) { return field(s.options.fitThumbnail); },
     false},
    {ScriptCode("tCut"), Type::Boolean, [](TSettings &s) { return field(s.options.smartCut); },
     false},
    {ScriptCode("tCvL"), Type::Float, [](TSettings &s) { return field(s.options.cropLeft); },
     false},
    {ScriptCode("tCvR"), Type::Float, [](TSettings &s) { return field(s.options.cropRight); },
     false},
    {ScriptCode("tCvT"), Type::Float, [](TSettings &s) { return field(s.options.cropTop); }, false},
    {ScriptCode("tCvB"), Type::Float, [](TSettings &s) { return field(s.options.cropBottom); },
     false},
    // The script keeps "save crop" in the opposite sense.
    {ScriptCode("mCra"), Type::Boolean, [](TSettings &s) { return field(s.options.saveCrop); },
     true},
    {ScriptCode("pRex"), Type::Boolean, [](TSettings &s) { return field(s.options.prefixForm); },
     false},
    {ScriptCode("tExp"), Type::Text, [](TSettings &s) { return field(s.thumbnailExpansion); },
     false},
    {ScriptCode("fPin"), Type::Text, [](TSettings &s) { return field(s.lastPath); }, false},
};

// Recording reads through the same accessors; nothing is written.
ScriptField readField(const ScriptKey &key, const TSettings &settings) {
  return key.field(const_cast<TSettings &>(settings));
}

} // namespace

const ScriptKey *ScriptKeysBegin() { return std::begin(scriptKeys); }
const ScriptKey *ScriptKeysEnd() { return std::end(scriptKeys); }

const ScriptKey *FindScriptKey(std::uint32_t code) {
  for (const ScriptKey &key : scriptKeys)
    if (key.code == code)
      return &key;
  return nullptr;
}

void StoreScriptInteger(const ScriptKey &key, std::int32_t value, TSettings &settings) {
  if (key.type != ScriptValueType::Integer)
    return;
  ScriptField f = key.field(settings);
  if (f.byte)
    *f.byte = static_cast<std::uint8_t>(std::clamp(value, 0, 255));
  else if (f.sharpen)
    *f.sharpen = static_cast<std::int16_t>(std::clamp(value, 0, 100));
  else if (f.side)
    *f.side = static_cast<std::uint16_t>(std::clamp(value, 0, 65535));
  else if (f.integer)
    *f.integer = value;
}

void StoreScriptBoolean(const ScriptKey &key, bool value, TSettings &settings) {
  ScriptField f = key.field(settings);
  if (key.type == ScriptValueType::Boolean && f.byte)
    *f.byte = value != key.inverted ? 1 : 0;
}

void StoreScriptFloat(const ScriptKey &key, double value, TSettings &settings) {
  ScriptField f = key.field(settings);
  if (key.type == ScriptValueType::Float && f.real)
    *f.real = value;
}

void StoreScriptText(const ScriptKey &key, const std::string &value, TSettings &settings) {
  ScriptField f = key.field(settings);
  if (key.type == ScriptValueType::Text && f.text)
    *f.text = value.substr(0, MaxScriptText);
}

std::int32_t ScriptInteger(const ScriptKey &key, const TSettings &settings) {
  ScriptField f = readField(key, settings);
  if (f.byte)
    return *f.byte;
  if (f.sharpen)
    return *f.sharpen;
  if (f.side)
    return *f.side;
  return f.integer ? *f.integer : 0;
}

bool ScriptBoolean(const ScriptKey &key, const TSettings &settings) {
  ScriptField f = readField(key, settings);
  return f.byte && (*f.byte != 0) != key.inverted;
}

double ScriptFloat(const ScriptKey &key, const TSettings &settings) {
  ScriptField f = readField(key, settings);
  return f.real ? *f.real : 0;
}

std::string ScriptText(const ScriptKey &key, const TSettings &settings) {
  ScriptField f = readField(key, settings);
  return f.text ? *f.text : std::string();
}

} // namespace pixtune
