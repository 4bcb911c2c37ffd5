// The export settings: the 56-byte "Plugin options" block, the image and
// thumbnail compression parameters, the window position, the thumbnail
// name expansion and the last path, with their defaults and validation.
//
// "Plugin options", little-endian:
//   0 int32 preview delay (ms)       4 int32 modem speed (bit/s)
//   8, 16, 24, 32 doubles: crop left, top, right, bottom (percent)
//   40..47 bytes: fit, smart cut, automatic preview, independent
//          chrominance, locked sliders, prefix form, save crop, reserved
//   48 int32 thumbnail mode (1 image, 2 thumbnail, 3 both)
//   52, 54 uint16 thumbnail width and height
// The registry layer stores these bytes as they are; reading and writing
// go through the helpers below, never through a struct laid over them.
#ifndef JPEG_CORE_EXPORT_SETTINGS_H
#define JPEG_CORE_EXPORT_SETTINGS_H

#include "jpeg/core/jpeg-encoder.h"

#include <cstdint>
#include <string>

namespace pixtune {

constexpr int PluginOptionsBytes = 56;
constexpr int CompressionParamsBytes = 6;
constexpr int WindowPositionBytes = 8;
constexpr const char *DefaultThumbnailExpansion = "th_";

enum ThumbnailMode : std::int32_t {
  ThumbnailModeImage = 1,
  ThumbnailModeThumbnail = 2,
  ThumbnailModeBoth = 3,
};

struct PluginOptions {
  std::int32_t previewDelay = 1500;
  std::int32_t modemSpeed = 33600;
  double cropLeft = 0, cropTop = 0, cropRight = 100, cropBottom = 100;
  std::uint8_t fitThumbnail = 0;
  std::uint8_t smartCut = 1;
  std::uint8_t automaticPreview = 1;
  std::uint8_t independentChrominance = 0;
  std::uint8_t lockSliders = 1;
  std::uint8_t prefixForm = 1;
  std::uint8_t saveCrop = 0;
  std::uint8_t reserved = 0;
  std::int32_t thumbnailMode = ThumbnailModeImage;
  std::uint16_t thumbnailWidth = 100;
  std::uint16_t thumbnailHeight = 100;
};

struct TSettings {
  PluginOptions options;
  CompressionParams imageParams;
  CompressionParams thumbnailParams;
  std::int32_t windowX = 0, windowY = 0;
  std::string thumbnailExpansion = DefaultThumbnailExpansion;
  std::string lastPath;
  bool registryFailed = false; // some registry access failed; defaults remain

  // Brings every value into its range (see the file comment for the
  // defaults that replace values out of range).
  void Validate();
};

void EncodePluginOptions(const PluginOptions &options, std::uint8_t (&bytes)[PluginOptionsBytes]);
PluginOptions DecodePluginOptions(const std::uint8_t (&bytes)[PluginOptionsBytes]);
void EncodeCompressionParams(const CompressionParams &params,
                             std::uint8_t (&bytes)[CompressionParamsBytes]);
CompressionParams DecodeCompressionParams(const std::uint8_t (&bytes)[CompressionParamsBytes]);

} // namespace pixtune

#endif
