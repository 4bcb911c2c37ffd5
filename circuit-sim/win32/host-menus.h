// The add-on's items in the host's menus: help and about in "&Help", the
// netlist item in "&File", installed as the document's custom menus.
#ifndef CIRCUIT_SIM_HOST_MENUS_H
#define CIRCUIT_SIM_HOST_MENUS_H

#include "QorSim.h"

namespace qorsim {

// Starts from the host's built-in menus every time, so that several pages
// of one document install the three items once. Without a "&File" menu
// with a save item the menus are left as they were.
void installMenus(IDrawDocument *document);

} // namespace qorsim

#endif
