// The names a control's full moniker carries: "<folder>\<document>\<one
// segment>\<page><one character>~<shape>\<rest>". The cut takes the page
// from before the last "~" (dropping the character just before it), skips
// the segment between document and page, and takes the shape up to the
// first backslash after the "~".
#ifndef PASSIVE_LIB_CORE_MONIKER_NAME_H
#define PASSIVE_LIB_CORE_MONIKER_NAME_H

#include <string>

namespace passive {

struct MonikerNames {
  std::string document, page, shape;
};

// False when the text has no "~" or no backslash before it to cut at.
bool cutMonikerName(const std::string &name, MonikerNames &names);

} // namespace passive

#endif
