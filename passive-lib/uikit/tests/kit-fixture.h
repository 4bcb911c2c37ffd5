// What the kit's tests share: QorLib01 registered for the whole run (the
// kit creates its service by class identifier), the prompt seam answering
// and recording every message box, documents parsed by the real service,
// and an owner that stands for a component control.
#ifndef PASSIVE_LIB_UIKIT_TESTS_KIT_FIXTURE_H
#define PASSIVE_LIB_UIKIT_TESTS_KIT_FIXTURE_H

#include "passive-lib/uikit/win32/element-attributes.h"
#include "passive-lib/uikit/win32/sheet-owner.h"

#include "platform/base/win32/bstr.h"
#include "platform/base/win32/com-ptr.h"

#include <string>
#include <vector>

namespace kit_test {

struct ShownBox {
  std::string text, caption;
  UINT type;
};

// Every box shown since the last clear, answered with IDOK.
std::vector<ShownBox> &shownBoxes();
base::ComPtr<IQorLib> qorLib();
// The unix build folder's file of that name (screenshots).
std::string artefact(const std::string &name);

// A component control as the sheets see it: its document, the copy an end
// other than OK restores, and a log of the calls the sheet made.
class TestOwner : public uikit::SheetOwner {
public:
  explicit TestOwner(const std::string &xml);

  base::ComPtr<IXMLElement> rootElement() override;
  void putDirtyFlag(bool dirty) override;
  std::string partId() override { return "R1"; }
  std::string compGuid() override { return "{00000000-0000-0000-0000-000000000001}"; }
  base::ComPtr<IDrawShape> shape() override;
  void UpdateBodyText() override { calls.push_back("label"); }
  void LayoutShape() override { calls.push_back("layout"); }
  void keepAppliedState() override;

  // ShowProperties' frame: keeps a copy, runs the window, restores the
  // copy unless it ended with OK.
  template <typename Run> INT_PTR showProperties(Run run) {
    undoCopy = text();
    INT_PTR result = run();
    if (result != IDOK)
      restore();
    return result;
  }
  std::string text() const;
  void restore();
  base::ComPtr<IXMLElement> section(const char *tag) {
    return uikit::elementChild(rootElement().get(), tag);
  }

  base::ComPtr<IXMLDocument> document;
  std::string undoCopy;
  std::vector<std::string> calls;
  bool dirty = false;
};

} // namespace kit_test

#endif
