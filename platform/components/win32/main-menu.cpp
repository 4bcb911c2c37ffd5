#include "platform/components/win32/main-menu.h"

#include "platform/components/win32/application.h"
#include "platform/components/win32/forms.h"

#include <algorithm>

namespace components {

void TMainMenu::menuRebuilt() {
  auto *form = dynamic_cast<TForm *>(Owner());
  if (!form || form->Menu() != this || !form->HandleAllocated())
    return;
  if (GetMenu(form->Handle()) != Handle())
    ::SetMenu(form->Handle(), Handle());
  DrawMenuBar(form->Handle());
}

} // namespace components
