// What the kit's tests share: QorLib01 registered for the whole run (the
// kit creates its service by class identifier), the prompt seam answering
// with OK and recording every message box.
#ifndef PASSIVE_LIB_UIKIT_TESTS_KIT_FIXTURE_H
#define PASSIVE_LIB_UIKIT_TESTS_KIT_FIXTURE_H

#include "passive-lib/uikit/tests/page-test.h"

#include "platform/base/win32/com-ptr.h"

#include <string>
#include <vector>

namespace kit_test {

using uikit_test::TestOwner;

// Every box shown since the last clear, answered with IDOK.
std::vector<uikit_test::Box> &shownBoxes();
base::ComPtr<IQorLib> qorLib();

} // namespace kit_test

#endif
