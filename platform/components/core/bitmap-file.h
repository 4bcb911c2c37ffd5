// The device-independent bitmap file (".bmp") as pictures load it: the
// file header, the information header, the colour table and the pixel rows,
// each checked against the file's length before anything is drawn from it.
#ifndef COMPONENTS_BITMAP_FILE_H
#define COMPONENTS_BITMAP_FILE_H

#include <cstdint>
#include <string>

namespace components {

struct BitmapFileInfo {
  std::int32_t width = 0;
  std::int32_t height = 0; // negative: rows stored top down
  std::uint16_t bitCount = 0;
  std::uint32_t compression = 0;
  std::uint32_t bitsOffset = 0; // where the pixel rows start
};

// Reads and checks a whole bitmap file. False, with problem saying what is
// wrong in a few words, for anything that is not an uncompressed bitmap
// whose headers, colour table and rows lie inside the data.
bool ReadBitmapFile(const std::string &data, BitmapFileInfo &info, std::string &problem);

// An uncompressed bitmap file of 24 bits a pixel, rows bottom up; pixels
// are given top row first as 0x00RRGGBB. For tests and for new pictures.
std::string MakeBitmapFile(int width, int height, const std::uint32_t *pixels);

} // namespace components

#endif
