// Readout texts.
#include "jpeg/core/readouts.h"

#include <cstdio>

namespace pixtune {

TString FormatSize(std::uint64_t bytes) {
  TString text = TString::Reserved(1024);
  char *out = text.Buffer();
  unsigned long long kb = (bytes / 1024) % 1024;
  if (bytes >= 1048576)
    std::snprintf(out, 1024, "%llu.%.2llu Mb", static_cast<unsigned long long>(bytes / 1048576),
                  kb * 100 / 1024);
  else if (kb != 0)
    std::snprintf(out, 1024, "%llu.%.2llu Kb", kb,
                  static_cast<unsigned long long>(bytes % 1024 * 100 / 1024));
  else
    std::snprintf(out, 1024, "%llu bytes", static_cast<unsigned long long>(bytes % 1024));
  return text;
}

TString FormatDuration(std::uint64_t ticks) {
  TString text = TString::Reserved(1024);
  char *out = text.Buffer();
  unsigned long long hours = ticks / 216000;
  unsigned long long minutes = ticks % 216000 / 3600;
  unsigned long long seconds = ticks % 3600 / 60;
  unsigned long long sixtieths = ticks % 60;
  if (hours != 0)
    std::snprintf(out, 1024, "%llu h %llu min", hours, minutes);
  else if (minutes != 0)
    std::snprintf(out, 1024, "%llu min %llu sec", minutes, seconds);
  else if (seconds != 0)
    std::snprintf(out, 1024, "%llu.%.2llu sec", seconds, sixtieths * 100 / 60);
  else if (ticks != 0)
    std::snprintf(out, 1024, "%llu ms", static_cast<unsigned long long>(ticks * 1000 / 60));
  else
    std::snprintf(out, 1024, "<1 ms");
  return text;
}

Readouts MakeReadouts(std::uint32_t width, std::uint32_t height, std::uint32_t bitsPerPixel,
                      std::uint64_t compressedBytes, std::uint32_t modemSpeed) {
  std::uint64_t original = std::uint64_t(bitsPerPixel) * height * width / 8;
  Readouts readouts;
  readouts.sizes = FormatSize(original) + " / " + FormatSize(compressedBytes);
  if (compressedBytes != 0)
    readouts.ratio.SetDouble(double(original) / double(compressedBytes), 2);
  else
    readouts.ratio = "0";
  // 480 = 8 bits a byte x 60 ticks a second.
  std::uint64_t ticks = modemSpeed ? compressedBytes * 480 / modemSpeed : 0;
  TString speed;
  speed.SetInt(modemSpeed);
  readouts.download = FormatDuration(ticks) + " @ " + speed + "bps";
  return readouts;
}

} // namespace pixtune
