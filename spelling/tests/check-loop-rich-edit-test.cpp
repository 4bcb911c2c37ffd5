// The whole-check cases, unchanged, over a real rich edit under Wine: the
// plain-text rich edit that the clipboard checker checks, with the parser
// the component's hook chooses for it.
#include "platform/components/win32/forms.h"
#include "platform/components/win32/std-controls.h"
#include "spelling/tests/check-loop-cases.h"
#include "spelling/win32/control-parsers.h"

#include <memory>
#include <string>

namespace {

class RichEditText : public check_loop::CheckedText {
public:
  RichEditText() : form_(std::make_unique<components::TForm>(nullptr)) {
    form_->SetBounds(10, 10, 400, 200);
    richEdit_ = new components::TRichEdit(form_.get());
    richEdit_->SetPlainText(true);
    richEdit_->SetBounds(8, 8, 380, 150);
    richEdit_->SetParent(form_.get());
    spelling::InstallControlParsers(platform_);
  }
  void SetText(const std::string &text) override {
    richEdit_->SetText(text);
    richEdit_->SetSelStart(0);
  }
  std::string Text() override { return richEdit_->Text(); }
  std::unique_ptr<spelling::TParser> CreateParser() override {
    return platform_.CreateParserForControl(richEdit_);
  }
  components::TComponent *Control() override { return richEdit_; }

private:
  std::unique_ptr<components::TForm> form_;
  components::TRichEdit *richEdit_;
  spelling::TSpellPlatform platform_;
};

} // namespace

INSTANTIATE_TEST_SUITE_P(Windows, CheckLoopCases,
                         ::testing::Values(check_loop::CheckedTextMaker{
                             "RichEdit", [] { return std::make_unique<RichEditText>(); }}),
                         check_loop::MakerName);
