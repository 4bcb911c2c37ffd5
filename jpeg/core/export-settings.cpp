// Defaults, validation and the byte layout of the export settings.
#include "jpeg/core/export-settings.h"

#include "jpeg/core/byte-order.h"

#include <cstring>

namespace pixtune {

namespace {

bool inRange(double value, double low, double high) { return value >= low && value <= high; }

// Clamps a low/high crop pair and only then checks its order, so that a
// clamped edge can never meet the other one: every crop that survives
// has a positive size. NaN counts as out of range.
void validateCropPair(double &low, double &high) {
  if (!inRange(low, 0, 100))
    low = 0;
  if (!(high <= 100))
    high = 100;
  if (!(high > low)) {
    low = 0;
    high = 100;
  }
}

double readDouble(const std::uint8_t *p) {
  std::uint64_t bits =
      static_cast<std::uint64_t>(readLE32(p)) | static_cast<std::uint64_t>(readLE32(p + 4)) << 32;
  double value;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

void writeDouble(std::uint8_t *p, double value) {
  std::uint64_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  writeLE32(p, static_cast<std::uint32_t>(bits));
  writeLE32(p + 4, static_cast<std::uint32_t>(bits >> 32));
}

} // namespace

void TSettings::Validate() {
  PluginOptions &o = options;
  validateCropPair(o.cropTop, o.cropBottom);
  validateCropPair(o.cropLeft, o.cropRight);
  if (o.previewDelay < 0 || o.previewDelay > 10000)
    o.previewDelay = 1500;
  if (o.modemSpeed < 2400 || o.modemSpeed > 67200)
    o.modemSpeed = 33600;
  if (o.thumbnailWidth < 8)
    o.thumbnailWidth = 100;
  if (o.thumbnailHeight < 8)
    o.thumbnailHeight = 100;
  if (o.thumbnailMode < ThumbnailModeImage || o.thumbnailMode > ThumbnailModeBoth)
    o.thumbnailMode = ThumbnailModeImage;
}

void EncodePluginOptions(const PluginOptions &o, std::uint8_t (&bytes)[PluginOptionsBytes]) {
  writeLE32(bytes + 0, static_cast<std::uint32_t>(o.previewDelay));
  writeLE32(bytes + 4, static_cast<std::uint32_t>(o.modemSpeed));
  writeDouble(bytes + 8, o.cropLeft);
  writeDouble(bytes + 16, o.cropTop);
  writeDouble(bytes + 24, o.cropRight);
  writeDouble(bytes + 32, o.cropBottom);
  const std::uint8_t flags[8] = {
      o.fitThumbnail, o.smartCut,   o.automaticPreview, o.independentChrominance,
      o.lockSliders,  o.prefixForm, o.saveCrop,         o.reserved};
  std::memcpy(bytes + 40, flags, sizeof flags);
  writeLE32(bytes + 48, static_cast<std::uint32_t>(o.thumbnailMode));
  writeLE16(bytes + 52, o.thumbnailWidth);
  writeLE16(bytes + 54, o.thumbnailHeight);
}

PluginOptions DecodePluginOptions(const std::uint8_t (&bytes)[PluginOptionsBytes]) {
  PluginOptions o;
  o.previewDelay = static_cast<std::int32_t>(readLE32(bytes + 0));
  o.modemSpeed = static_cast<std::int32_t>(readLE32(bytes + 4));
  o.cropLeft = readDouble(bytes + 8);
  o.cropTop = readDouble(bytes + 16);
  o.cropRight = readDouble(bytes + 24);
  o.cropBottom = readDouble(bytes + 32);
  o.fitThumbnail = bytes[40];
  o.smartCut = bytes[41];
  o.automaticPreview = bytes[42];
  o.independentChrominance = bytes[43];
  o.lockSliders = bytes[44];
  o.prefixForm = bytes[45];
  o.saveCrop = bytes[46];
  o.reserved = bytes[47];
  o.thumbnailMode = static_cast<std::int32_t>(readLE32(bytes + 48));
  o.thumbnailWidth = readLE16(bytes + 52);
  o.thumbnailHeight = readLE16(bytes + 54);
  return o;
}

void EncodeCompressionParams(const CompressionParams &params,
                             std::uint8_t (&bytes)[CompressionParamsBytes]) {
  bytes[0] = params.luminance;
  bytes[1] = params.chrominance;
  bytes[2] = params.reserved;
  bytes[3] = params.progressive;
  writeLE16(bytes + 4, static_cast<std::uint16_t>(params.sharpen));
}

CompressionParams DecodeCompressionParams(const std::uint8_t (&bytes)[CompressionParamsBytes]) {
  CompressionParams params;
  params.luminance = bytes[0];
  params.chrominance = bytes[1];
  params.reserved = bytes[2];
  params.progressive = bytes[3];
  params.sharpen = static_cast<std::int16_t>(readLE16(bytes + 4));
  return params;
}

} // namespace pixtune
