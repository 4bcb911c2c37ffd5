// The benchmark's peer: libjpeg's compressor driven the way cjpeg drives it
// for the benchmark's command line (-qtables with slots 0,1,1, -sample
// 2x2,1x1,1x1, -optimize, -scans), but encoding from memory into memory
// many times in one process, so that its time can be set beside ours
// without process start-up or file reading. Its file must equal cjpeg's.
//
//   libjpeg-encode [--reconstruct] qtables.txt scans.txt|- repeats in.ppm out.jpg
//
// Prints the least thread CPU time of one encode, in ms. With --reconstruct
// each encode is followed by a decode of the result from memory back into
// RGB pixels, timed with it: the work of the export window's image preview.
// libjpeg-turbo reads JSIMD_FORCENONE=1 from the environment for its plain
// code.
#include "jpeg/tools/pnm-image.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include <jpeglib.h>

using namespace pixtune_tools;

namespace {

double threadMilliseconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) * 1000.0 + static_cast<double>(now.tv_nsec) / 1e6;
}

// Two tables of 64 values in natural order, as cjpeg -qtables reads them.
bool readTables(const std::string &path, unsigned tables[2][64]) {
  std::FILE *f = std::fopen(path.c_str(), "r");
  if (!f)
    return false;
  bool ok = true;
  for (int t = 0; t < 2 && ok; ++t)
    for (int i = 0; i < 64 && ok; ++i)
      ok = std::fscanf(f, "%u", &tables[t][i]) == 1;
  std::fclose(f);
  return ok;
}

// Lines "c[,c...]: Ss Se Ah Al;" as jpegtran -scans reads them.
bool readScans(const std::string &path, std::vector<jpeg_scan_info> &scans) {
  std::FILE *f = std::fopen(path.c_str(), "r");
  if (!f)
    return false;
  char line[256];
  while (std::fgets(line, sizeof line, f)) {
    jpeg_scan_info scan{};
    char *p = line;
    while (*p && *p != ':') {
      scan.component_index[scan.comps_in_scan++] = static_cast<int>(std::strtol(p, &p, 10));
      if (*p == ',')
        ++p;
    }
    if (*p != ':' || std::sscanf(p + 1, "%d %d %d %d", &scan.Ss, &scan.Se, &scan.Ah, &scan.Al) != 4)
      continue;
    scans.push_back(scan);
  }
  std::fclose(f);
  return !scans.empty();
}

// Decodes a JPEG from memory into RGB pixels; false when libjpeg stops early.
bool reconstruct(jpeg_decompress_struct &dinfo, const unsigned char *data, unsigned long size,
                 std::vector<unsigned char> &pixels) {
  jpeg_mem_src(&dinfo, data, size);
  if (jpeg_read_header(&dinfo, TRUE) != JPEG_HEADER_OK)
    return false;
  dinfo.out_color_space = JCS_RGB;
  jpeg_start_decompress(&dinfo);
  const std::size_t stride = static_cast<std::size_t>(dinfo.output_width) * 3;
  pixels.resize(stride * dinfo.output_height);
  while (dinfo.output_scanline < dinfo.output_height) {
    JSAMPROW row = pixels.data() + stride * dinfo.output_scanline;
    jpeg_read_scanlines(&dinfo, &row, 1);
  }
  return jpeg_finish_decompress(&dinfo) == TRUE;
}

} // namespace

int main(int argc, char **argv) {
  bool withReconstruction = argc > 1 && std::string(argv[1]) == "--reconstruct";
  if (withReconstruction) {
    --argc;
    ++argv;
  }
  if (argc != 6) {
    std::fprintf(stderr, "usage: libjpeg-encode [--reconstruct] qtables.txt scans.txt|- repeats "
                         "in.ppm out.jpg\n");
    return 2;
  }
  unsigned tables[2][64];
  std::vector<jpeg_scan_info> scans;
  PnmImage image;
  if (!readTables(argv[1], tables) || (std::string(argv[2]) != "-" && !readScans(argv[2], scans)) ||
      !readPnm(argv[4], image) || image.channels != 3) {
    std::fprintf(stderr, "libjpeg-encode: bad tables, scans or picture\n");
    return 1;
  }
  int repeats = std::max(1, std::atoi(argv[3]));

  jpeg_compress_struct cinfo{};
  jpeg_error_mgr errors{};
  cinfo.err = jpeg_std_error(&errors);
  jpeg_create_compress(&cinfo);
  std::vector<JSAMPROW> rows(static_cast<std::size_t>(image.height));
  for (int y = 0; y < image.height; ++y)
    rows[static_cast<std::size_t>(y)] =
        image.pixels.data() + static_cast<std::size_t>(y) * image.width * 3;

  jpeg_decompress_struct dinfo{};
  jpeg_error_mgr decodeErrors{};
  dinfo.err = jpeg_std_error(&decodeErrors);
  jpeg_create_decompress(&dinfo);
  std::vector<unsigned char> reconstructed;

  unsigned char *buffer = nullptr;
  unsigned long size = 0;
  double best = 1e30;
  for (int run = 0; run < repeats; ++run) {
    double start = threadMilliseconds();
    std::free(buffer);
    buffer = nullptr;
    size = 0;
    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = static_cast<JDIMENSION>(image.width);
    cinfo.image_height = static_cast<JDIMENSION>(image.height);
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_add_quant_table(&cinfo, 0, tables[0], 100, TRUE);
    jpeg_add_quant_table(&cinfo, 1, tables[1], 100, TRUE);
    cinfo.comp_info[0].h_samp_factor = cinfo.comp_info[0].v_samp_factor = 2;
    for (int c = 1; c < 3; ++c) {
      cinfo.comp_info[c].h_samp_factor = cinfo.comp_info[c].v_samp_factor = 1;
      cinfo.comp_info[c].quant_tbl_no = 1;
    }
    cinfo.optimize_coding = TRUE;
    if (!scans.empty()) {
      cinfo.scan_info = scans.data();
      cinfo.num_scans = static_cast<int>(scans.size());
    }
    jpeg_start_compress(&cinfo, TRUE);
    jpeg_write_scanlines(&cinfo, rows.data(), static_cast<JDIMENSION>(image.height));
    jpeg_finish_compress(&cinfo);
    if (withReconstruction && !reconstruct(dinfo, buffer, size, reconstructed)) {
      std::fprintf(stderr, "libjpeg-encode: its own file did not decode\n");
      return 1;
    }
    best = std::min(best, threadMilliseconds() - start);
  }
  jpeg_destroy_compress(&cinfo);
  jpeg_destroy_decompress(&dinfo);

  std::FILE *out = std::fopen(argv[5], "wb");
  bool written = out && std::fwrite(buffer, 1, size, out) == size;
  if (out)
    written = std::fclose(out) == 0 && written;
  std::free(buffer);
  if (!written) {
    std::fprintf(stderr, "libjpeg-encode: cannot write %s\n", argv[5]);
    return 1;
  }
  std::printf("%.3f\n", best);
  return 0;
}
