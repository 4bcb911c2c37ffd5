// The options dialog: a modal form that edits a working copy of the
// spelling component's configuration on two pages, "Dictionaries" and
// "Options". Only OK copies the working copy back (and writes the
// configuration file when anything changed); leaving any other way after a
// change asks first.
#ifndef SPELLING_WIN32_DIALOGS_CONFIG_DIALOG_H
#define SPELLING_WIN32_DIALOGS_CONFIG_DIALOG_H

#include "spelling/core/configuration.h"
#include "spelling/core/languages.h"
#include "spelling/core/spell-platform.h"

#include "platform/components/core/string-list.h"
#include "platform/components/win32/common-controls.h"
#include "platform/components/win32/forms.h"
#include "platform/components/win32/std-controls.h"

#include <memory>

namespace spelling {

class TDictSheet;
class TSpellOptionsSheet;

class TConfigDialog : public components::TForm, public TDialogForm {
public:
  // Makes the working copy, the buttons and the page control.
  TConfigDialog(components::TComponent *owner, TConfiguration &configuration);
  ~TConfigDialog() override;

  virtual void BuildPages(TSpellOptions visible, const components::TStringList *ignoreAll,
                          const components::TStringList *changeAllReplacements,
                          const components::TStringList *changeAllWords);
  virtual void ApplyLanguage(const TLanguageModule &language);
  // Shows the dialog modally; true for OK, after the working copy went
  // back into the configuration.
  virtual bool Execute();

  int HelpContext1 = 0, HelpContext2 = 0;
  components::TBitBtn *OK, *Cancel;
  components::TButton *Help;
  components::TPageControl *Pages;
  TDictSheet *DictSheet = nullptr;
  TSpellOptionsSheet *OptionsSheet = nullptr;
  TConfiguration &Working() { return *working_; }
  bool Changed() const { return changed_; }

  // TDialogForm, for the component's OnSetupCreate.
  components::TComponent *FormComponent() override { return this; }
  void SetCaption(const std::string &caption) override { TForm::SetCaption(caption); }
  void SetFontSize(int points) override { Font().SetSize(points); }
  TDialogRect Bounds() const override { return TDialogRect{Left(), Top(), Width(), Height()}; }
  void MoveTo(int left, int top) override { SetBounds(left, top, Width(), Height()); }
  void Show() override { SetVisible(true); }
  void Hide() override { SetVisible(false); }
  void Release() override { TForm::Release(); }
  void SetHelpEnabled(bool enabled) override;

private:
  void HelpClick();
  void FormCloseQuery(components::TObject *sender, bool &canClose);

  TConfiguration &configuration_;
  std::unique_ptr<TConfiguration> working_;
  bool changed_ = false;
  TLanguageModule language_;
};

// The platform hook that runs the options dialog for Setup.
bool RunConfigDialog(TSetupRequest &request);

// Gives the component's platform hooks the check and options dialogs.
void InstallSpellDialogs(TSpellPlatform &platform);

} // namespace spelling

#endif
