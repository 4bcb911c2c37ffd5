// The common controls: status bar with panels, progress bar, page control
// with tab sheets, and tool bar with tool buttons.
#ifndef COMPONENTS_WIN32_COMMON_CONTROLS_H
#define COMPONENTS_WIN32_COMMON_CONTROLS_H

#include "platform/components/win32/status-panel.h"
#include "platform/components/win32/status-bar.h"
#include "platform/components/win32/progress-bar.h"
#include "platform/components/win32/tab-sheet.h"
#include "platform/components/win32/page-control.h"
#include "platform/components/win32/tool-button.h"
#include "platform/components/win32/tool-bar.h"

#endif
