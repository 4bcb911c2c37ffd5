#include "kit-fixture.h"

#include "platform/base/win32/com-error.h"
#include "platform/dialogs/win32/user-prompts.h"
#include "testing/server-exports.h"
#include "testing/test-paths.h"

#include <gtest/gtest.h>

#include <commctrl.h>

namespace kit_test {

namespace {

HMODULE qorLibModule = nullptr;

class KitEnvironment : public testing::Environment {
public:
  void SetUp() override {
    CoInitialize(nullptr);
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    qorLibModule = LoadLibraryA(testing_support::hostPath(QORLIB01_DLL).c_str());
    ASSERT_TRUE(qorLibModule);
    ASSERT_EQ(testing_support::callExport(qorLibModule, "DllRegisterServer"), S_OK);
    dialogs::UserPrompts::setMessageHandler(
        [](HWND, const std::string &text, const std::string &caption, UINT type) {
          shownBoxes().push_back({text, caption, type});
          return IDOK;
        });
    dialogs::UserPrompts::setHelpHandler(
        [](HWND, const std::string &, UINT, ULONG_PTR) { return true; });
  }
  void TearDown() override {
    dialogs::UserPrompts::setMessageHandler(nullptr);
    dialogs::UserPrompts::setHelpHandler(nullptr);
    EXPECT_EQ(testing_support::callExport(qorLibModule, "DllUnregisterServer"), S_OK);
    CoUninitialize();
  }
};

testing::Environment *const environment = testing::AddGlobalTestEnvironment(new KitEnvironment);

} // namespace

std::vector<uikit_test::Box> &shownBoxes() {
  static std::vector<uikit_test::Box> boxes;
  return boxes;
}

base::ComPtr<IQorLib> qorLib() {
  base::ComPtr<IQorLib> lib;
  base::check(CoCreateInstance(CLSID_QorLib, nullptr, CLSCTX_INPROC_SERVER, IID_IQorLib,
                               lib.receiveVoid()));
  return lib;
}

} // namespace kit_test
