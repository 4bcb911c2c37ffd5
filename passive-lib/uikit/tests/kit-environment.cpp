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

base::Bstr wideText(const std::string &text) { return base::Bstr(text); }

} // namespace

std::vector<ShownBox> &shownBoxes() {
  static std::vector<ShownBox> boxes;
  return boxes;
}

base::ComPtr<IQorLib> qorLib() {
  base::ComPtr<IQorLib> lib;
  base::check(CoCreateInstance(CLSID_QorLib, nullptr, CLSCTX_INPROC_SERVER, IID_IQorLib,
                               lib.receiveVoid()));
  return lib;
}

std::string artefact(const std::string &name) {
  return testing_support::hostPath(testing_support::envOr("TEST_BINARY_DIR", ".") +
                                   std::string("/") + name);
}

TestOwner::TestOwner(const std::string &xml) {
  base::check(qorLib()->BSTR2XML(wideText(xml).get(), document.receive()));
}

base::ComPtr<IXMLElement> TestOwner::rootElement() {
  base::ComPtr<IXMLElement> root;
  base::check(document->get_root(root.receive()));
  return root;
}

void TestOwner::putDirtyFlag(bool value) {
  calls.push_back(value ? "dirty" : "clean");
  dirty = value;
}

base::ComPtr<IDrawShape> TestOwner::shape() {
  calls.push_back("shape"); // unbound: no circuit to update
  return nullptr;
}

void TestOwner::keepAppliedState() {
  calls.push_back("keep");
  undoCopy = text();
}

std::string TestOwner::text() const {
  base::Bstr saved;
  base::check(qorLib()->XML2BSTR(document.get(), saved.receive()));
  return saved.toAnsi();
}

void TestOwner::restore() {
  document.reset();
  base::check(qorLib()->BSTR2XML(wideText(undoCopy).get(), document.receive()));
}

} // namespace kit_test
