// Output and thumbnail names of an export.
#include "jpeg/core/export-names.h"

#include "jpeg/core/export-settings.h"

namespace pixtune {

void SplitFullPath(const std::string &fullPath, std::string &folder, std::string &fileName) {
  folder.clear();
  fileName.clear();
  std::string::size_type separator = fullPath.find_last_of("\\/");
  if (separator == std::string::npos) {
    fileName = fullPath;
    return;
  }
  folder = fullPath.substr(0, separator + 1);
  fileName = fullPath.substr(separator + 1);
}

void SplitExtension(const std::string &name, std::string &stem, std::string &extension) {
  stem.clear();
  extension.clear();
  std::string::size_type stop = name.rfind('.');
  if (stop == std::string::npos) {
    stem = name;
    return;
  }
  stem = name.substr(0, stop);
  extension = name.substr(stop + 1);
}

std::string DefaultJpegName(const char *documentName) {
  std::string folder, fileName, stem, extension;
  if (documentName)
    SplitFullPath(documentName, folder, fileName);
  SplitExtension(fileName, stem, extension);
  return (stem.empty() ? std::string("Untitled") : stem) + ".jpg";
}

std::string ScriptedOutputPath(const std::string &lastPath, const char *documentName) {
  std::string folder, fileName;
  SplitFullPath(lastPath, folder, fileName);
  if (!fileName.empty())
    return lastPath;
  return lastPath + DefaultJpegName(documentName);
}

std::string ThumbnailPath(const std::string &fullPath, const std::string &expansion,
                          bool prefixForm) {
  const std::string used = expansion.empty() ? std::string(DefaultThumbnailExpansion) : expansion;
  std::string folder, fileName, stem, extension;
  SplitFullPath(fullPath, folder, fileName);
  if (prefixForm)
    return folder + used + fileName;
  SplitExtension(fileName, stem, extension);
  return folder + stem + used + "." + extension;
}

} // namespace pixtune
