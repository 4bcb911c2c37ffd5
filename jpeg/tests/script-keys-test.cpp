// The scripting keys: the recorded order and types (what recorded scripts
// of the host hold), the ranges a replayed value is brought into, the one
// key kept in the opposite sense, and a record-then-replay round trip.
#include "jpeg/core/script-keys.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

using namespace pixtune;

namespace {

std::string codeText(std::uint32_t code) {
  std::string text;
  for (int shift = 24; shift >= 0; shift -= 8)
    text += static_cast<char>(code >> shift & 0xFF);
  return text;
}

const ScriptKey &key(const char *text) {
  char code[5] = {text[0], text[1], text[2], text[3], 0};
  const ScriptKey *found = FindScriptKey(ScriptCode(code));
  if (!found)
    throw std::runtime_error(std::string("no key ") + code);
  return *found;
}

} // namespace

TEST(ScriptKeys, RecordedInTheirOrderWithTheirTypes) {
  using T = ScriptValueType;
  const std::vector<std::pair<std::string, T>> expected = {
      {"Lmnc", T::Integer}, {"cHrm", T::Integer}, {"pRgr", T::Boolean}, {"sHrp", T::Integer},
      {"tLum", T::Integer}, {"tChr", T::Integer}, {"tPrg", T::Boolean}, {"tShr", T::Integer},
      {"tMbl", T::Integer}, {"tMbw", T::Integer}, {"tMbh", T::Integer}, {"tFit", T::Boolean},
      {"tCut", T::Boolean}, {"tCvL", T::Float},   {"tCvR", T::Float},   {"tCvT", T::Float},
      {"tCvB", T::Float},   {"mCra", T::Boolean}, {"pRex", T::Boolean}, {"tExp", T::Text},
      {"fPin", T::Text}};
  std::vector<std::pair<std::string, T>> table;
  for (const ScriptKey *k = ScriptKeysBegin(); k != ScriptKeysEnd(); ++k)
    table.emplace_back(codeText(k->code), k->type);
  EXPECT_EQ(table, expected);
  EXPECT_EQ(ScriptCode("Lmnc"), 0x4C6D6E63u) << "first character in the top byte";
  EXPECT_EQ(FindScriptKey(ScriptCode("Lmnx")), nullptr);
}

TEST(ScriptKeys, ReplayedIntegersAreClampedToTheirFields) {
  struct Case {
    const char *code;
    std::int32_t value;
    std::int32_t stored;
  };
  const Case cases[] = {
      {"Lmnc", 300, 255},     {"Lmnc", -5, 0},     {"Lmnc", 20, 20},
      {"cHrm", 256, 255},     {"tLum", 1000, 255}, {"tChr", -1, 0},
      {"sHrp", 150, 100},     {"sHrp", -3, 0},     {"tShr", 101, 100},
      {"tMbw", 70000, 65535}, {"tMbw", -5, 0},     {"tMbh", 65536, 65535},
      {"tMbl", -7, -7},       {"tMbl", 2, 2},      {"tMbl", 1 << 30, 1 << 30},
  };
  for (const Case &c : cases) {
    TSettings settings;
    StoreScriptInteger(key(c.code), c.value, settings);
    EXPECT_EQ(ScriptInteger(key(c.code), settings), c.stored) << c.code << " " << c.value;
  }
  TSettings settings;
  StoreScriptInteger(key("tMbw"), 70000, settings);
  EXPECT_EQ(settings.options.thumbnailWidth, 65535);
  StoreScriptInteger(key("sHrp"), 150, settings);
  EXPECT_EQ(settings.imageParams.sharpen, 100);
}

TEST(ScriptKeys, SaveCropIsKeptInTheOppositeSense) {
  TSettings settings;
  StoreScriptBoolean(key("mCra"), true, settings);
  EXPECT_EQ(settings.options.saveCrop, 0);
  EXPECT_TRUE(ScriptBoolean(key("mCra"), settings));
  StoreScriptBoolean(key("mCra"), false, settings);
  EXPECT_EQ(settings.options.saveCrop, 1);
  EXPECT_FALSE(ScriptBoolean(key("mCra"), settings));
  StoreScriptBoolean(key("pRex"), false, settings);
  EXPECT_EQ(settings.options.prefixForm, 0);
  StoreScriptBoolean(key("pRgr"), true, settings);
  EXPECT_EQ(settings.imageParams.progressive, 1);
}

TEST(ScriptKeys, AValueOfAnotherTypeChangesNothing) {
  TSettings settings, untouched;
  StoreScriptInteger(key("pRgr"), 1, settings);
  StoreScriptBoolean(key("Lmnc"), true, settings);
  StoreScriptFloat(key("tExp"), 3.5, settings);
  StoreScriptText(key("tCvL"), "x", settings);
  EXPECT_EQ(settings.imageParams.progressive, untouched.imageParams.progressive);
  EXPECT_EQ(settings.imageParams.luminance, untouched.imageParams.luminance);
  EXPECT_EQ(settings.thumbnailExpansion, untouched.thumbnailExpansion);
  EXPECT_EQ(settings.options.cropLeft, untouched.options.cropLeft);
}

TEST(ScriptKeys, TextIsKeptToWhatTheRegistryStores) {
  TSettings settings;
  StoreScriptText(key("fPin"), std::string(5000, 'p'), settings);
  EXPECT_EQ(settings.lastPath, std::string(MaxScriptText, 'p'));
  StoreScriptText(key("tExp"), "small_", settings);
  EXPECT_EQ(ScriptText(key("tExp"), settings), "small_");
}

TEST(ScriptKeys, RecordingThenReplayingGivesTheSameSettings) {
  TSettings source;
  source.imageParams = {20, 30, 0, 1, 55};
  source.thumbnailParams = {70, 80, 0, 0, 5};
  source.options.thumbnailMode = ThumbnailModeBoth;
  source.options.thumbnailWidth = 640;
  source.options.thumbnailHeight = 480;
  source.options.fitThumbnail = 1;
  source.options.smartCut = 0;
  source.options.cropLeft = 12.5;
  source.options.cropRight = 87.25;
  source.options.cropTop = 3;
  source.options.cropBottom = 99;
  source.options.saveCrop = 1;
  source.options.prefixForm = 0;
  source.thumbnailExpansion = "small_";
  source.lastPath = "C:\\pictures\\out.jpg";

  TSettings replayed;
  for (const ScriptKey *k = ScriptKeysBegin(); k != ScriptKeysEnd(); ++k) {
    switch (k->type) {
    case ScriptValueType::Integer:
      StoreScriptInteger(*k, ScriptInteger(*k, source), replayed);
      break;
    case ScriptValueType::Boolean:
      StoreScriptBoolean(*k, ScriptBoolean(*k, source), replayed);
      break;
    case ScriptValueType::Float:
      StoreScriptFloat(*k, ScriptFloat(*k, source), replayed);
      break;
    case ScriptValueType::Text:
      StoreScriptText(*k, ScriptText(*k, source), replayed);
      break;
    }
  }
  auto bytes = [](const CompressionParams &p) {
    std::uint8_t out[CompressionParamsBytes];
    EncodeCompressionParams(p, out);
    return std::vector<std::uint8_t>(out, out + CompressionParamsBytes);
  };
  auto options = [](const PluginOptions &o) {
    std::uint8_t out[PluginOptionsBytes];
    EncodePluginOptions(o, out);
    return std::vector<std::uint8_t>(out, out + PluginOptionsBytes);
  };
  EXPECT_EQ(bytes(replayed.imageParams), bytes(source.imageParams));
  EXPECT_EQ(bytes(replayed.thumbnailParams), bytes(source.thumbnailParams));
  EXPECT_EQ(options(replayed.options), options(source.options));
  EXPECT_EQ(replayed.thumbnailExpansion, source.thumbnailExpansion);
  EXPECT_EQ(replayed.lastPath, source.lastPath);
}
