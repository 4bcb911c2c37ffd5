// The open and save dialogs, and message dialogs built as forms of ours
// (any set of buttons, as the programs ask: even a lone Abort button).
#ifndef COMPONENTS_WIN32_DIALOGS_H
#define COMPONENTS_WIN32_DIALOGS_H

#include "platform/components/core/component.h"

#include <string>

namespace components {

class TForm;

using TOpenOptions = unsigned;
constexpr TOpenOptions ofReadOnly = 1, ofOverwritePrompt = 2, ofHideReadOnly = 4, ofNoChangeDir = 8,
                       ofPathMustExist = 16, ofFileMustExist = 32, ofCreatePrompt = 64;

class TOpenDialog : public TComponent {
public:
  explicit TOpenDialog(TComponent *owner) : TComponent(owner) {}
  const std::string &FileName() const { return fileName_; }
  void SetFileName(std::string name) { fileName_ = std::move(name); }
  // "Description|pattern|Description|pattern".
  const std::string &Filter() const { return filter_; }
  void SetFilter(std::string filter) { filter_ = std::move(filter); }
  int FilterIndex() const { return filterIndex_; }
  void SetFilterIndex(int index) { filterIndex_ = index; }
  const std::string &DefaultExt() const { return defaultExt_; }
  void SetDefaultExt(std::string ext) { defaultExt_ = std::move(ext); }
  const std::string &Title() const { return title_; }
  void SetTitle(std::string title) { title_ = std::move(title); }
  const std::string &InitialDir() const { return initialDir_; }
  void SetInitialDir(std::string dir) { initialDir_ = std::move(dir); }
  TOpenOptions Options() const { return options_; }
  void SetOptions(TOpenOptions options) { options_ = options; }
  // Runs the dialog; true with FileName set when the user chose a file.
  virtual bool Execute();

protected:
  bool run(bool save);

private:
  std::string fileName_, filter_, defaultExt_, title_, initialDir_;
  int filterIndex_ = 1;
  TOpenOptions options_ = ofHideReadOnly;
};

class TSaveDialog : public TOpenDialog {
public:
  using TOpenDialog::TOpenDialog;
  bool Execute() override { return run(true); }
};

enum TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };
using TMsgDlgButtons = unsigned;
constexpr TMsgDlgButtons mbYes = 1, mbNo = 2, mbOK = 4, mbCancel = 8, mbAbort = 16, mbRetry = 32,
                         mbIgnore = 64, mbAll = 128, mbHelp = 256;
constexpr TMsgDlgButtons mbYesNoCancel = mbYes | mbNo | mbCancel;
constexpr TMsgDlgButtons mbOKCancel = mbOK | mbCancel;

// Builds (not shows) a message dialog: the caller owns the form.
TForm *CreateMessageDialog(const std::string &message, TMsgDlgType type, TMsgDlgButtons buttons);
// Shows a message dialog modally; answers the modal result of the button
// pressed (mrCancel when it is closed otherwise).
int MessageDlg(const std::string &message, TMsgDlgType type, TMsgDlgButtons buttons,
               int helpContext);
void ShowMessage(const std::string &message);

} // namespace components

#endif
