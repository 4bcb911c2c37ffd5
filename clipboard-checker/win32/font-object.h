// A font property's object for the persistence component: the font's
// published state written and read as its stored text.
#ifndef CLIPBOARD_CHECKER_WIN32_FONT_OBJECT_H
#define CLIPBOARD_CHECKER_WIN32_FONT_OBJECT_H

#include "clipboard-checker/core/published-property.h"
#include "platform/components/win32/graphics.h"

namespace lexitray {

class FontObject : public PersistentObject {
public:
  explicit FontObject(components::TFont &font) : font_(font) {}
  Kind kind() const override { return Kind::Font; }
  std::string className() const override { return "TFont"; }
  bool isEmpty() const override { return false; }
  void clear() override {}
  std::string saveState() const override;
  // All of the state or none: a damaged state leaves the font as it was.
  void loadState(const std::string &state) override;

private:
  components::TFont &font_;
};

} // namespace lexitray

#endif
