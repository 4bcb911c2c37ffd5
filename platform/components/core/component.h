// Components: objects with an owner that frees them, a name, and published
// properties whose defaults are set by the constructor. A component created
// with an owner is destroyed with it, in reverse order of creation; a
// component destroyed earlier leaves its owner's list.
#ifndef COMPONENTS_COMPONENT_H
#define COMPONENTS_COMPONENT_H

#include "platform/components/core/event.h"

#include <string>
#include <vector>

namespace components {

class TComponent : public TObject {
public:
  explicit TComponent(TComponent *owner);
  ~TComponent() override;
  TComponent(const TComponent &) = delete;
  TComponent &operator=(const TComponent &) = delete;

  TComponent *Owner() const { return owner_; }
  const std::string &Name() const { return name_; }
  void SetName(std::string name) { name_ = std::move(name); }

  int ComponentCount() const { return static_cast<int>(components_.size()); }
  TComponent *Components(int index) const { return components_.at(index); }
  // The owned component with this name (case-insensitive), or null.
  TComponent *FindComponent(const std::string &name) const;

  // True while the owner's properties are being set from stored values;
  // Loaded() ends that phase.
  bool Loading() const { return loading_; }
  void BeginLoading() { loading_ = true; }
  virtual void Loaded() { loading_ = false; }
  bool Destroying() const { return destroying_; }

  // Called on every owned component (and the owner's descendants) when a
  // component they may refer to is going away.
  virtual void Notification(TComponent *component, bool removing);

private:
  void insertComponent(TComponent *component);
  void removeComponent(TComponent *component);

  TComponent *owner_;
  std::string name_;
  std::vector<TComponent *> components_;
  bool loading_ = false;
  bool destroying_ = false;
};

} // namespace components

#endif
