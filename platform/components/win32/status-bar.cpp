#include "platform/components/win32/status-bar.h"

#include "platform/components/win32/status-panel.h"

#include "platform/components/win32/menus.h"

#include <commctrl.h>

#include <algorithm>

namespace components {

TStatusBar::TStatusBar(TComponent *owner) : TWinControl(owner) {
  SetBounds(0, 0, 200, 19);
  SetAlign(alBottom);
}

void TStatusBar::CreateParams(TCreateParams &params) {
  params.className = STATUSCLASSNAMEA;
  params.ownClass = false;
  // The bar is placed by our alignment, not by its own parent-sizing.
  params.style = WS_CHILD | WS_CLIPSIBLINGS | CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NODIVIDER;
}

void TStatusBar::handleCreated() {
  updateParts();
  for (const auto &panel : panels_)
    updatePanel(*panel);
  SetSimplePanel(simplePanel_);
  SetSimpleText(simpleText_);
}

TStatusPanel &TStatusBar::AddPanel() {
  panels_.push_back(std::make_unique<TStatusPanel>(*this, PanelCount()));
  updateParts();
  return *panels_.back();
}

void TStatusBar::updateParts() {
  if (!HandleAllocated() || panels_.empty())
    return;
  std::vector<int> edges;
  int edge = 0;
  for (const auto &panel : panels_) {
    edge += panel->Width();
    edges.push_back(edge);
  }
  SendMessageA(Handle(), SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
  for (const auto &panel : panels_)
    updatePanel(*panel);
}

void TStatusBar::updatePanel(const TStatusPanel &panel) {
  if (!HandleAllocated())
    return;
  // A tab before the text centres it, two align it right.
  std::string text = panel.alignment_ == taCenter         ? "\t" + panel.text_
                     : panel.alignment_ == taRightJustify ? "\t\t" + panel.text_
                                                          : panel.text_;
  SendMessageA(Handle(), SB_SETTEXTA, static_cast<WPARAM>(panel.index_),
               reinterpret_cast<LPARAM>(text.c_str()));
}

void TStatusBar::SetSimplePanel(bool simple) {
  simplePanel_ = simple;
  if (HandleAllocated())
    SendMessageA(Handle(), SB_SIMPLE, simple, 0);
}

void TStatusBar::SetSimpleText(const std::string &text) {
  simpleText_ = text;
  if (HandleAllocated())
    SendMessageA(Handle(), SB_SETTEXTA, SB_SIMPLEID, reinterpret_cast<LPARAM>(simpleText_.c_str()));
}

} // namespace components
