// The common font dialog over a TFont.
#include "platform/components/win32/font-dialog.h"

#include "platform/components/win32/application.h"

#include <commdlg.h>

namespace components {

bool TFontDialog::Execute() {
  LOGFONTA font{};
  GetObjectA(font_.Handle(), sizeof font, &font);
  CHOOSEFONTA dialog{};
  dialog.lStructSize = sizeof dialog;
  HWND owner = GetActiveWindow();
  dialog.hwndOwner = owner ? owner : Application->Handle();
  dialog.lpLogFont = &font;
  dialog.Flags = CF_SCREENFONTS | CF_EFFECTS | CF_INITTOLOGFONTSTRUCT;
  dialog.rgbColors = ColorToRGB(font_.Color());
  if (!ChooseFontA(&dialog))
    return false;
  TFontStyles style = 0;
  if (font.lfWeight >= FW_BOLD)
    style |= fsBold;
  if (font.lfItalic)
    style |= fsItalic;
  if (font.lfUnderline)
    style |= fsUnderline;
  if (font.lfStrikeOut)
    style |= fsStrikeOut;
  TFont chosen;
  chosen.SetName(font.lfFaceName);
  chosen.SetHeight(font.lfHeight);
  chosen.SetStyle(style);
  chosen.SetColor(dialog.rgbColors);
  font_.Assign(chosen);
  return true;
}

} // namespace components
