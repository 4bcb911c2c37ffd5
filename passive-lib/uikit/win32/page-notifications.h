// What the pages read from their lists' notifications: check box changes
// (state image 1 unchecked, 2 checked), selection changes, the cell a tool
// tip asks for.
#ifndef PASSIVE_LIB_UIKIT_PAGE_NOTIFICATIONS_H
#define PASSIVE_LIB_UIKIT_PAGE_NOTIFICATIONS_H

#include "passive-lib/uikit/win32/tip-reply.h"

#include <windows.h>
#include <commctrl.h>

#include <string>

namespace uikit {

inline UINT stateImage(UINT state) { return (state & LVIS_STATEIMAGEMASK) >> 12; }

// A state change of a row whose check box changed.
inline bool checkBoxChanged(const NMLISTVIEW &change) {
  return change.iItem >= 0 && (change.uChanged & LVIF_STATE) &&
         stateImage(change.uNewState) != stateImage(change.uOldState);
}
inline bool nowChecked(const NMLISTVIEW &change) { return stateImage(change.uNewState) == 2; }

inline bool selectionGained(const NMLISTVIEW &change) {
  return change.iItem >= 0 && (change.uChanged & LVIF_STATE) &&
         (change.uNewState & LVIS_SELECTED) && !(change.uOldState & LVIS_SELECTED);
}
inline bool selectionLost(const NMLISTVIEW &change) {
  return change.iItem >= 0 && (change.uChanged & LVIF_STATE) &&
         !(change.uNewState & LVIS_SELECTED) && (change.uOldState & LVIS_SELECTED);
}

// The list's cell code of a tip request: row in bits 8 and up, column in
// the low byte (255: the row's check box).
inline int tipRow(const NMHDR &header) { return static_cast<int>(tipRequestCode(&header) >> 8); }
inline int tipColumn(const NMHDR &header) {
  return static_cast<int>(tipRequestCode(&header) & 0xFF);
}

} // namespace uikit

#endif
