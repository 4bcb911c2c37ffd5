// The component XML with which each passive kind starts: one line, no white
// space between elements, "%s" where the library's file version (VERSION)
// and the creation date (CREATED) go.
#ifndef PASSIVE_LIB_CORE_COMPONENT_TEMPLATES_H
#define PASSIVE_LIB_CORE_COMPONENT_TEMPLATES_H

#include <string>

namespace passive {

enum class ComponentKind { Ground, PowerRail, Resistor, Inductor, Capacitor, DcSource };

const ComponentKind AllComponentKinds[] = {ComponentKind::Ground,    ComponentKind::PowerRail,
                                           ComponentKind::Resistor,  ComponentKind::Inductor,
                                           ComponentKind::Capacitor, ComponentKind::DcSource};

// The format text, with its two "%s".
const char *componentTemplate(ComponentKind kind);
// The template with version and created in its two places.
std::string filledTemplate(ComponentKind kind, const std::string &version,
                           const std::string &created);

} // namespace passive

#endif
