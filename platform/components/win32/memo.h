// A memo: a multi-line edit.
#ifndef COMPONENTS_WIN32_MEMO_H
#define COMPONENTS_WIN32_MEMO_H

#include "platform/components/win32/controls.h"
#include "platform/components/win32/custom-memo.h"

#include <string>
#include <vector>

namespace components {

class TMemo : public TCustomMemo {
public:
  using TCustomMemo::TCustomMemo;
};

} // namespace components

#endif
