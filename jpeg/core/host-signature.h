// Which image editor is running us: its four-character signature from the
// internal name in its version information. Known hosts hand over their
// pixels in their own order, which the main window converts around its
// dialog. Reading the version information is the Windows side's job; the
// matching lives here.
#ifndef JPEG_CORE_HOST_SIGNATURE_H
#define JPEG_CORE_HOST_SIGNATURE_H

#include <string>

namespace pixtune {

// The signature for an internal name, or "" for an unknown host. A name
// matches only as a whole, ignoring the case of A to Z.
std::string HostSignature(const char *internalName);

// True when the host has a signature.
inline bool IsKnownHost(const std::string &signature) { return !signature.empty(); }

// ALD5, ALD6 and AD65 are versions of one program.
bool IsLayoutHostFamily(const std::string &signature);

} // namespace pixtune

#endif
