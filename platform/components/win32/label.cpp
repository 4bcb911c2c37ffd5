// A label: static text that hands its accelerator to its focus control.
#include "platform/components/win32/label.h"

#include "platform/components/core/exception.h"
#include "platform/components/core/string-list.h"
#include "platform/components/win32/application.h"
#include "platform/components/win32/forms.h"
#include "platform/base/win32/unique-handle.h"

#include <algorithm>

namespace components {

namespace {

// Whether key is the letter after the first single "&" of a caption ("&&"
// shows an ampersand), compared as the platform compares letters.
bool isAccelerator(char key, const std::string &caption) {
  for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != '&')
      continue;
    if (caption[i + 1] == '&') {
      ++i;
      continue;
    }
    char letters[2] = {caption[i + 1], key};
    CharUpperBuffA(letters, 2);
    return letters[0] == letters[1];
  }
  return false;
}

} // namespace

TLabel::TLabel(TComponent *owner) : TWinControl(owner) { SetBounds(0, 0, 65, 13); }

void TLabel::CreateParams(TCreateParams &params) {
  params.className = "STATIC";
  params.ownClass = false;
  params.style = WS_CHILD | WS_CLIPSIBLINGS | SS_LEFT;
}

void TLabel::Notification(TComponent *component, bool removing) {
  TWinControl::Notification(component, removing);
  if (removing && component == focusControl_)
    focusControl_ = nullptr;
}

bool TLabel::DialogChar(char key) {
  if (!focusControl_ || !Visible() || !isAccelerator(key, Caption()))
    return false;
  if (focusControl_->Visible() && focusControl_->Enabled())
    focusControl_->SetFocus();
  return true;
}

} // namespace components
