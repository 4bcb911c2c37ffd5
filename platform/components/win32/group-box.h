// A group box that lays out its children inside its frame.
#ifndef COMPONENTS_WIN32_GROUP_BOX_H
#define COMPONENTS_WIN32_GROUP_BOX_H

#include "platform/components/win32/controls.h"

#include <string>
#include <vector>

namespace components {

class TGroupBox : public TWinControl {
public:
  explicit TGroupBox(TComponent *owner);

protected:
  void CreateParams(TCreateParams &params) override;
  RECT alignArea() override;
  void WndProc(TMessage &message) override;
};

} // namespace components

#endif
