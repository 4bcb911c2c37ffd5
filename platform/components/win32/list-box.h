// A list box, plain or owner-drawn.
#ifndef COMPONENTS_WIN32_LIST_BOX_H
#define COMPONENTS_WIN32_LIST_BOX_H

#include "platform/components/win32/controls.h"
#include "platform/components/win32/control-items.h"

#include <string>
#include <vector>

namespace components {

enum TListBoxStyle { lbStandard, lbOwnerDrawFixed };
using TOwnerDrawState = unsigned;
constexpr TOwnerDrawState odSelected = 1, odFocused = 2, odDisabled = 4;
using TDrawItemEvent = Event<TObject *, int, const RECT &, TOwnerDrawState>;

class TListBox : public TWinControl {
public:
  explicit TListBox(TComponent *owner);
  TControlItems &Items() { return items_; }
  int ItemIndex();
  void SetItemIndex(int index);
  void SetStyle(TListBoxStyle style) { style_ = style; }
  void SetItemHeight(int height);
  // The item at a client point, or -1.
  int ItemAtPos(POINT point);
  // The canvas that OnDrawItem draws on.
  TCanvas &Canvas() { return canvas_; }
  TDrawItemEvent OnDrawItem;

protected:
  void CreateParams(TCreateParams &params) override;
  void handleCreated() override;
  void command(WORD code, WORD id) override;
  void drawItem(DRAWITEMSTRUCT &item) override;
  bool notifiesDoubleClicks() const override { return true; }

private:
  TControlItems items_;
  TListBoxStyle style_ = lbStandard;
  int itemHeight_ = 13;
  int itemIndex_ = -1;
  TCanvas canvas_;
};

} // namespace components

#endif
