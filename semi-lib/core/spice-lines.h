// The SPICE model names and ".MODEL" lines of the semiconductor devices,
// built from the PARAMS items of the component data. Two different model
// texts never share a name: the default diode, NPN and PNP models each have
// their own name, and a custom model named after its part identifier never
// takes one of those.
#ifndef SEMI_LIB_SPICE_LINES_H
#define SEMI_LIB_SPICE_LINES_H

#include "semi-lib/core/device-host.h"

#include <string>
#include <vector>

namespace semi {

enum class SpiceKind { Diode, Npn, Pnp };

// The library defaults' model names.
const char *defaultModelName(SpiceKind kind);

// The model name for a TYPE text: the default name for "DEFAULT", the part
// identifier followed by "MOD" for "CUSTOM" (with a further "C" where that
// would read as a default name), else the type itself, prefixed with "D" or
// "Q" unless it starts with a letter.
std::string spiceModelName(SpiceKind kind, const std::string &typeText, const std::string &partId);

// The TYPE item's text: its "TEXT", else its "DEFAULT", else "DEFAULT".
std::string typeText(const std::vector<ParamItem> &items);

// ".MODEL <name> D(IS=... N=...)": every item with a non-empty TEXT in
// document order, except ID, TYPE, GMIN and IMAX.
std::string spiceModelLine(SpiceKind kind, const std::vector<ParamItem> &items,
                           const std::string &partId);

} // namespace semi

#endif
