// File names of an export: the default and scripted output names and the
// thumbnail's name beside the image. Paths are Windows paths in the ANSI
// code page; both separators count.
#ifndef JPEG_CORE_EXPORT_NAMES_H
#define JPEG_CORE_EXPORT_NAMES_H

#include <string>

namespace pixtune {

// Divides a full path after its last separator: folder (with the
// separator) and file name. Without a separator the folder stays empty.
void SplitFullPath(const std::string &fullPath, std::string &folder, std::string &fileName);

// Divides a name at its last full stop: the stem before it and the
// extension after it; without a full stop the stem is the whole name.
void SplitExtension(const std::string &name, std::string &stem, std::string &extension);

// The stem of a document name with its folder and extension removed,
// followed by ".jpg"; "Untitled.jpg" when that stem is empty.
std::string DefaultJpegName(const char *documentName);

// The output of a scripted export: the stored path, or, when it names only
// a folder, that folder with DefaultJpegName(documentName).
std::string ScriptedOutputPath(const std::string &lastPath, const char *documentName);

// The thumbnail beside fullPath: the expansion before the file name
// (prefix form) or between stem and extension. An empty expansion counts
// as the default one, so that the thumbnail never takes the image's name.
std::string ThumbnailPath(const std::string &fullPath, const std::string &expansion,
                          bool prefixForm);

} // namespace pixtune

#endif
