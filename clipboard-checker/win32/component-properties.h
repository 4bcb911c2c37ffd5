// The published properties of the component library's controls, forms and
// menu items, as the persistence component reads and writes them, with
// the pseudo properties "Bounds" and "Parent" of controls.
#ifndef CLIPBOARD_CHECKER_WIN32_COMPONENT_PROPERTIES_H
#define CLIPBOARD_CHECKER_WIN32_COMPONENT_PROPERTIES_H

#include "clipboard-checker/core/published-property.h"

namespace lexitray {

class ComponentProperties : public PropertyAccess {
public:
  bool findProperty(components::TComponent &component, const std::string &name,
                    PublishedProperty &property) override;
  bool findControl(components::TComponent &component, ControlAccess &control) override;
};

} // namespace lexitray

#endif
