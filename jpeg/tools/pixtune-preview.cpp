// Times the option pages' preview compression on a binary PPM/PGM:
//
//   pixtune-preview [-l level] [-r repeats] [-t width height] in.pnm
//
// Prints, each as the least thread CPU time over the repeats, in ms:
//   image <ms> <bytes>              compress and reconstruct the whole image
//   thumbnail-first <ms> <n>        a smart-cut thumbnail from scratch
//   thumbnail-levels <ms> <n>       the same after a change of levels only
// where n is the count of whole-image resamples done so far by that
// thumbnail preview (a levels-only change must add none).
#include "jpeg/core/jpeg-errors.h"
#include "jpeg/core/page-previews.h"
#include "jpeg/tools/pnm-image.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>

using namespace pixtune;
using namespace pixtune_tools;

namespace {

double threadMilliseconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) * 1000.0 + static_cast<double>(now.tv_nsec) / 1e6;
}

int usage() {
  std::fprintf(stderr, "usage: pixtune-preview [-l level] [-r repeats] [-t width height] in.pnm\n");
  return 2;
}

} // namespace

int main(int argc, char **argv) {
  int level = 64, repeats = 5, thumbWidth = 160, thumbHeight = 120;
  std::string input;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    if (arg == "-l" && i + 1 < argc)
      level = std::atoi(argv[++i]);
    else if (arg == "-r" && i + 1 < argc)
      repeats = std::max(1, std::atoi(argv[++i]));
    else if (arg == "-t" && i + 2 < argc) {
      thumbWidth = std::atoi(argv[++i]);
      thumbHeight = std::atoi(argv[++i]);
    } else if (input.empty() && arg[0] != '-')
      input = arg;
    else
      return usage();
  }
  if (input.empty())
    return usage();
  try {
    TBitmap bitmap = readPnmBitmap(input);
    if (!bitmap) {
      std::fprintf(stderr, "pixtune-preview: %s: not a binary PGM or PPM\n", input.c_str());
      return 1;
    }
    CompressionParams params;
    params.luminance = params.chrominance = static_cast<std::uint8_t>(level);
    CompressionParams coarser = params;
    coarser.luminance = coarser.chrominance = static_cast<std::uint8_t>(std::min(255, level + 32));

    ImagePreview image(bitmap.Data(), bitmap.Bytes(), nullptr);
    double best = 1e30;
    std::uint32_t bytes = 0;
    for (int i = 0; i < repeats; ++i) {
      double start = threadMilliseconds();
      bytes = image.Compress(params);
      best = std::min(best, threadMilliseconds() - start);
    }
    std::printf("image %.3f %u\n", best, bytes);

    TBitmapView view(bitmap);
    double firstBest = 1e30, levelsBest = 1e30;
    int firstResamples = 0, levelsResamples = 0;
    for (int i = 0; i < repeats; ++i) {
      PluginOptions options;
      options.fitThumbnail = 1;
      options.smartCut = 1;
      options.thumbnailWidth = static_cast<std::uint16_t>(thumbWidth);
      options.thumbnailHeight = static_cast<std::uint16_t>(thumbHeight);
      ThumbnailPreview thumbnail(nullptr);
      double start = threadMilliseconds();
      thumbnail.Compress(view, options, params);
      firstBest = std::min(firstBest, threadMilliseconds() - start);
      firstResamples = thumbnail.WholeImageResamples();
      start = threadMilliseconds();
      thumbnail.Compress(view, options, coarser);
      levelsBest = std::min(levelsBest, threadMilliseconds() - start);
      levelsResamples = thumbnail.WholeImageResamples();
    }
    std::printf("thumbnail-first %.3f %d\n", firstBest, firstResamples);
    std::printf("thumbnail-levels %.3f %d\n", levelsBest, levelsResamples);
  } catch (const TError &error) {
    std::fprintf(stderr, "pixtune-preview: error %d\n", error.Code());
    return 1;
  }
  return 0;
}
