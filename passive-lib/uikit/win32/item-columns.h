// The three columns of the pages' item lists ("Name", "Value", "Units")
// and their widths: name and units as wide as their widest text, header
// included, measured in the list's own font; the value takes the rest.
#ifndef PASSIVE_LIB_UIKIT_ITEM_COLUMNS_H
#define PASSIVE_LIB_UIKIT_ITEM_COLUMNS_H

#include "platform/dialogs/win32/list-view.h"

namespace uikit {

const int NameColumn = 0;
const int ValueColumn = 1;
const int UnitsColumn = 2;

// Sizes the columns of a filled list.
void fitItemColumns(const dialogs::ListView &list);

} // namespace uikit

#endif
