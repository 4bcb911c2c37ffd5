// The font dialog: the platform's common font dialog, opened on a font and
// giving back the face, size, style and colour chosen.
#ifndef COMPONENTS_WIN32_FONT_DIALOG_H
#define COMPONENTS_WIN32_FONT_DIALOG_H

#include "platform/components/core/component.h"
#include "platform/components/win32/graphics.h"

namespace components {

class TFontDialog : public TComponent {
public:
  explicit TFontDialog(TComponent *owner) : TComponent(owner) {}
  TFont &Font() { return font_; }
  // Runs the dialog on Font(); true, with Font() set to the choice, when
  // the user pressed OK. Cancel leaves Font() as it was.
  virtual bool Execute();

private:
  TFont font_;
};

} // namespace components

#endif
