// A button of a standard kind that shows the kind's glyph beside its text,
// as the dialogs' OK and Cancel buttons do: a green tick for OK, a red
// cross for Cancel. The platform's push buttons show either a bitmap or a
// text, so this one draws itself.
#ifndef SPELLING_WIN32_DIALOGS_GLYPH_BUTTON_H
#define SPELLING_WIN32_DIALOGS_GLYPH_BUTTON_H

#include "platform/components/win32/std-controls.h"

namespace spelling {

class TGlyphButton : public components::TBitBtn {
public:
  using TBitBtn::TBitBtn;

protected:
  void CreateParams(components::TCreateParams &params) override;
  void drawItem(DRAWITEMSTRUCT &item) override;

private:
  void drawGlyph(HDC dc, int left, int top, bool enabled);
};

} // namespace spelling

#endif
