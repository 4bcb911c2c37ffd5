// Fonts kept by the persistence component.
#include "clipboard-checker/win32/font-object.h"

#include "clipboard-checker/core/font-state.h"

namespace lexitray {

std::string FontObject::saveState() const {
  FontState state;
  state.colour = static_cast<std::int64_t>(font_.Color());
  state.height = font_.Height();
  state.name = font_.Name();
  state.style = font_.Style();
  return fontStateText(state);
}

void FontObject::loadState(const std::string &text) {
  FontState state = parseFontState(text);
  components::TFont font;
  font.SetName(state.name);
  font.SetHeight(state.height);
  font.SetStyle(state.style);
  font.SetColor(static_cast<components::TColor>(state.colour));
  font_.Assign(font);
}

} // namespace lexitray
