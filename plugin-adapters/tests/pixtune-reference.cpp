// What the compressor core writes for given parameters, without any host,
// adapter or export flow: the end-to-end tests compare the plug-ins'
// files with these byte for byte.
//
//   pixtune-reference in.pnm --image out.jpg lum chr progressive sharpen
//       --thumbnail out.jpg lum chr progressive sharpen width height fit cut
//                   left top right bottom
// Either output may be left out.
#include "jpeg/core/jpeg-encoder.h"
#include "jpeg/core/jpeg-errors.h"
#include "jpeg/core/thumbnail-geometry.h"
#include "jpeg/tools/pnm-image.h"

#include <cstdio>
#include <cstdlib>
#include <string>

using namespace pixtune;

namespace {

CompressionParams paramsFrom(char **argv) {
  CompressionParams p;
  p.luminance = static_cast<std::uint8_t>(std::atoi(argv[0]));
  p.chrominance = static_cast<std::uint8_t>(std::atoi(argv[1]));
  p.progressive = static_cast<std::uint8_t>(std::atoi(argv[2]));
  p.sharpen = static_cast<std::int16_t>(std::atoi(argv[3]));
  return p;
}

void encodeFile(const TBitmap &bitmap, const CompressionParams &params, const char *path) {
  TFileStream file(path, FileModeCreate);
  TJpegEncoder encoder(bitmap.Data(), bitmap.Bytes(), nullptr, 0, file, nullptr, 0, nullptr);
  encoder.Encode(params);
  if (!file.Close())
    throw TVMError(ErrorWriteFailed);
}

void writeThumbnail(const TBitmap &bitmap, char **argv) {
  CompressionParams params = paramsFrom(argv + 1);
  int width = std::atoi(argv[5]), height = std::atoi(argv[6]);
  bool fit = std::atoi(argv[7]) != 0, cut = std::atoi(argv[8]) != 0;
  CropPercentages crop{std::atof(argv[9]), std::atof(argv[10]), std::atof(argv[11]),
                       std::atof(argv[12])};
  TBitmapView image(bitmap);
  PixelRect rect;
  if (fit && cut)
    SmartCropThumbnail(image.Width(), image.Height(), height, width, crop, rect);
  else
    ComputeThumbnailCrop(image.Width(), image.Height(), height, width, false, crop, rect);
  TBitmap cropped = CropImage(image, rect);
  TBitmap thumbnail = ResizeImage(TBitmapView(cropped), width, height, !fit, nullptr);
  encodeFile(thumbnail, params, argv[0]);
}

} // namespace

int main(int argc, char **argv) {
  if (argc < 2) {
    std::fprintf(stderr,
                 "usage: pixtune-reference in.pnm [--image out lum chr prog sharpen]\n"
                 "  [--thumbnail out lum chr prog sharpen w h fit cut left top right bottom]\n");
    return 2;
  }
  try {
    TBitmap bitmap = pixtune_tools::readPnmBitmap(argv[1]);
    if (!bitmap)
      return 1;
    for (int i = 2; i < argc;) {
      std::string option = argv[i];
      if (option == "--image" && i + 5 < argc) {
        encodeFile(bitmap, paramsFrom(argv + i + 2), argv[i + 1]);
        i += 6;
      } else if (option == "--thumbnail" && i + 13 < argc) {
        writeThumbnail(bitmap, argv + i + 1);
        i += 14;
      } else {
        return 2;
      }
    }
  } catch (const TError &error) {
    std::fprintf(stderr, "pixtune-reference: error %d\n", error.Code());
    return 1;
  }
  return 0;
}
