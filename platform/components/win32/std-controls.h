// The standard controls: label, buttons, edits (single-line, memo, rich
// edit), list and combo boxes, check box, radio group, group box and panel.
// Change events follow the class library: setting an edit's text, a check
// box's state or a radio group's index from the program fires them too;
// setting a list or combo box's index does not.
#ifndef COMPONENTS_WIN32_STD_CONTROLS_H
#define COMPONENTS_WIN32_STD_CONTROLS_H

#include "platform/components/win32/control-items.h"
#include "platform/components/win32/label.h"
#include "platform/components/win32/button.h"
#include "platform/components/win32/bit-btn.h"
#include "platform/components/win32/custom-edit.h"
#include "platform/components/win32/edit.h"
#include "platform/components/win32/memo-lines.h"
#include "platform/components/win32/custom-memo.h"
#include "platform/components/win32/memo.h"
#include "platform/components/win32/custom-rich-edit.h"
#include "platform/components/win32/rich-edit.h"
#include "platform/components/win32/list-box.h"
#include "platform/components/win32/combo-box.h"
#include "platform/components/win32/check-box.h"
#include "platform/components/win32/group-box.h"
#include "platform/components/win32/radio-group.h"
#include "platform/components/win32/panel.h"

#endif
