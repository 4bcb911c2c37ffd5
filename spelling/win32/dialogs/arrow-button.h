// The small square buttons that move a dictionary entry up or down: a
// push button showing an arrow drawn into a bitmap of its own.
#ifndef SPELLING_WIN32_DIALOGS_ARROW_BUTTON_H
#define SPELLING_WIN32_DIALOGS_ARROW_BUTTON_H

#include "platform/base/win32/gdi-owners.h"
#include "platform/components/win32/std-controls.h"

namespace spelling {

class TArrowButton : public components::TButton {
public:
  TArrowButton(components::TComponent *owner, bool up);

protected:
  void CreateParams(components::TCreateParams &params) override;
  void handleCreated() override;

private:
  bool up_;
  base::GdiObject<HBITMAP> glyph_;
};

} // namespace spelling

#endif
