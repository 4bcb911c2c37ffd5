// Command-line front end of the encoder for the benchmark and for trying
// settings by hand: reads a binary PGM/PPM, writes a JPEG file.
//
//   pixtune-encode [-l level] [-c level] [-s sharpen] [-p] [-r repeats] [--prefault]
//                  [--qtables file] [--scans file] [--preview out.pnm] in.pnm out.jpg
//
// Blocks come from the C heap, as in the shipped library; --prefault takes
// large ones from the tools' pre-faulted pages instead, to show what page
// faults cost a short run (not what the library does).
// --qtables writes the quantisation tables in the form cjpeg -qtables
// reads; --scans writes the progressive script in the form of jpegtran
// -scans; -r encodes into memory that many times and prints the least thread
// CPU time of one encode in ms.
#include "jpeg/core/dct.h"
#include "jpeg/core/jpeg-encoder.h"
#include "jpeg/core/jpeg-errors.h"
#include "jpeg/tools/pnm-image.h"
#include "jpeg/tools/prefaulted-allocator.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

using namespace pixtune;
using namespace pixtune_tools;

namespace {

double threadMilliseconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) * 1000.0 + static_cast<double>(now.tv_nsec) / 1e6;
}

int usage() {
  std::fprintf(
      stderr,
      "usage: pixtune-encode [-l level] [-c level] [-s sharpen] [-p] [-r repeats] [--prefault]\n"
      "       [--qtables file] [--scans file] [--preview out.pnm] in.pnm out.jpg\n");
  return 2;
}

bool writeQtables(const std::string &path, const TJpegEncoder &encoder) {
  std::FILE *f = std::fopen(path.c_str(), "w");
  if (!f)
    return false;
  for (int t = 0; t < 2; ++t) {
    int natural[64];
    for (int k = 0; k < 64; ++k)
      natural[ZigzagToNatural[k]] = encoder.QuantTable(t)[k];
    for (int i = 0; i < 64; ++i)
      std::fprintf(f, "%d%c", natural[i], i % 8 == 7 ? '\n' : ' ');
    std::fprintf(f, "\n");
  }
  return std::fclose(f) == 0;
}

bool writeScans(const std::string &path, int level, bool grey) {
  std::FILE *f = std::fopen(path.c_str(), "w");
  if (!f)
    return false;
  for (const ScanInfo &scan : TJpegEncoder::SetupScanScript(level, grey)) {
    for (int i = 0; i < scan.componentCount; ++i)
      std::fprintf(f, "%s%d", i ? "," : "", scan.components[i]);
    std::fprintf(f, ": %d %d %d %d;\n", scan.ss, scan.se, scan.ah, scan.al);
  }
  return std::fclose(f) == 0;
}

} // namespace

int main(int argc, char **argv) {
  CompressionParams params;
  int repeats = 0;
  bool prefault = false;
  std::string qtables, scans, preview;
  std::vector<std::string> files;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    bool hasValue = i + 1 < argc;
    if (arg == "-l" && hasValue)
      params.luminance = params.chrominance = static_cast<std::uint8_t>(std::atoi(argv[++i]));
    else if (arg == "-c" && hasValue)
      params.chrominance = static_cast<std::uint8_t>(std::atoi(argv[++i]));
    else if (arg == "-s" && hasValue)
      params.sharpen = static_cast<std::int16_t>(std::atoi(argv[++i]));
    else if (arg == "-p")
      params.progressive = 1;
    else if (arg == "--prefault")
      prefault = true;
    else if (arg == "-r" && hasValue)
      repeats = std::atoi(argv[++i]);
    else if (arg == "--qtables" && hasValue)
      qtables = argv[++i];
    else if (arg == "--scans" && hasValue)
      scans = argv[++i];
    else if (arg == "--preview" && hasValue)
      preview = argv[++i];
    else if (!arg.empty() && arg[0] != '-')
      files.push_back(arg);
    else
      return usage();
  }
  if (files.size() != 2)
    return usage();

  try {
    PrefaultedAllocator prefaulted;
    BlockAllocator &allocator = prefault ? prefaulted : defaultAllocator();
    TBitmap bitmap = readPnmBitmap(files[0], allocator);
    if (!bitmap) {
      std::fprintf(stderr, "pixtune-encode: %s: not an 8-bit binary PGM or PPM\n",
                   files[0].c_str());
      return 1;
    }
    TBitmapView view(bitmap);
    std::vector<std::uint8_t> previewPixels(preview.empty() ? 0 : view.ImageBytes());
    {
      TFileStream file(files[1].c_str(), FileModeCreate);
      TJpegEncoder encoder(bitmap.Data(), bitmap.Bytes(), nullptr, 0, file,
                           preview.empty() ? nullptr : previewPixels.data(), previewPixels.size(),
                           nullptr, allocator);
      encoder.Encode(params);
      if (!file.Close()) {
        std::fprintf(stderr, "pixtune-encode: %s: close failed\n", files[1].c_str());
        return 1;
      }
      if (!qtables.empty() && !writeQtables(qtables, encoder))
        return 1;
      if (!scans.empty() &&
          !writeScans(scans, params.luminance ? params.luminance : 1, encoder.IsGreyImage()))
        return 1;
    }
    if (!preview.empty() && !writePnm(preview, pnmFromPixels(view, previewPixels.data())))
      return 1;
    if (repeats > 0) {
      // The least thread CPU time of one encode: on a shared machine the
      // least is the steadiest figure, and the peer is timed the same way.
      double best = 1e30;
      for (int i = 0; i < repeats; ++i) {
        double start = threadMilliseconds();
        TMemoryStream memory;
        TJpegEncoder encoder(bitmap.Data(), bitmap.Bytes(), nullptr, 0, memory, nullptr, 0,
                             nullptr);
        encoder.Encode(params);
        best = std::min(best, threadMilliseconds() - start);
      }
      std::printf("%.3f\n", best);
    }
  } catch (const TError &error) {
    std::fprintf(stderr, "pixtune-encode: error %d\n", error.Code());
    return 1;
  }
  return 0;
}
