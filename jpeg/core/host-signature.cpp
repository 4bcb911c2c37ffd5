// The host table, compared in order; the first match wins.
#include "jpeg/core/host-signature.h"

namespace pixtune {

namespace {

struct KnownHost {
  const char *internalName;
  const char *signature;
};

const KnownHost KnownHosts[] = {
    {"Adobe After Effects", "FXTC"},
    {"Adobe Illustrator", "ART5"},
    {"PM5", "ALD5"},
    {"PM6", "ALD6"},
    {"PM65", "AD65"},
    {"PhotoDeluxe", "PHUT"},
    {"Photoshp", "8BIM"},
    {"Adobe Premiere", "PrMr"},
};

// Only A to Z fold: the comparison must not depend on the code page.
char foldAsciiCase(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool sameName(const char *a, const char *b) {
  for (; *a && *b; ++a, ++b)
    if (foldAsciiCase(*a) != foldAsciiCase(*b))
      return false;
  return *a == *b;
}

} // namespace

std::string HostSignature(const char *internalName) {
  if (!internalName)
    return "";
  for (const KnownHost &host : KnownHosts)
    if (sameName(internalName, host.internalName))
      return host.signature;
  return "";
}

bool IsLayoutHostFamily(const std::string &signature) {
  return signature == "ALD5" || signature == "ALD6" || signature == "AD65";
}

} // namespace pixtune
