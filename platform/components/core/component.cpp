// Ownership of components: an owner frees what it owns, newest first.
#include "platform/components/core/component.h"

#include "platform/components/core/string-list.h"

#include <algorithm>

namespace components {

TComponent::TComponent(TComponent *owner) : owner_(owner) {
  if (owner_)
    owner_->insertComponent(this);
}

TComponent::~TComponent() {
  destroying_ = true;
  // Free owned components newest first; each leaves our list as it goes.
  while (!components_.empty()) {
    TComponent *last = components_.back();
    delete last; // owned components are created with new and owned here
  }
  if (owner_)
    owner_->removeComponent(this);
}

TComponent *TComponent::FindComponent(const std::string &name) const {
  for (TComponent *component : components_)
    if (!name.empty() && SameText(component->Name(), name))
      return component;
  return nullptr;
}

void TComponent::Notification(TComponent *component, bool removing) {
  for (TComponent *child : components_)
    if (child != component)
      child->Notification(component, removing);
}

void TComponent::insertComponent(TComponent *component) { components_.push_back(component); }

void TComponent::removeComponent(TComponent *component) {
  auto it = std::find(components_.begin(), components_.end(), component);
  if (it == components_.end())
    return;
  components_.erase(it);
  if (!destroying_)
    Notification(component, true);
}

} // namespace components
