// Pictures' stored state.
#include "clipboard-checker/core/picture-state.h"

#include "platform/components/core/exception.h"

#include <cstdint>

namespace lexitray {

namespace {

[[noreturn]] void damaged(const char *what) {
  throw components::Exception(std::string("The stored picture is damaged: ") + what);
}

} // namespace

std::string pictureStateBytes(const PictureState &picture) {
  std::string bytes(1, static_cast<char>(picture.graphicClass.size() & 0xFF));
  bytes += picture.graphicClass.substr(0, 255);
  auto size = static_cast<std::uint32_t>(picture.data.size());
  for (int i = 0; i < 4; ++i)
    bytes += static_cast<char>(size >> (8 * i) & 0xFF);
  return bytes + picture.data;
}

PictureState parsePictureState(const std::string &bytes) {
  if (bytes.empty())
    damaged("it is empty");
  std::size_t nameLength = static_cast<unsigned char>(bytes[0]);
  if (nameLength == 0 || bytes.size() < 1 + nameLength + 4)
    damaged("its graphic's class is cut short");
  PictureState picture;
  picture.graphicClass = bytes.substr(1, nameLength);
  std::size_t at = 1 + nameLength;
  std::uint32_t size = 0;
  for (int i = 0; i < 4; ++i)
    size |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + i])) << (8 * i);
  at += 4;
  if (size != bytes.size() - at)
    damaged("its graphic's size does not match its data");
  picture.data = bytes.substr(at);
  return picture;
}

} // namespace lexitray
