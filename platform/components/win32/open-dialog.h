// The common open dialog as a component: filter, initial folder and
// options before Execute, the chosen file after it.
#ifndef COMPONENTS_WIN32_OPEN_DIALOG_H
#define COMPONENTS_WIN32_OPEN_DIALOG_H

#include "platform/components/core/component.h"

#include <string>

namespace components {

using TOpenOptions = unsigned;

constexpr TOpenOptions ofReadOnly = 1, ofOverwritePrompt = 2, ofHideReadOnly = 4, ofNoChangeDir = 8,
                       ofPathMustExist = 16, ofFileMustExist = 32, ofCreatePrompt = 64;

class TOpenDialog : public TComponent {
public:
  explicit TOpenDialog(TComponent *owner) : TComponent(owner) {}
  const std::string &FileName() const { return fileName_; }
  void SetFileName(std::string name) { fileName_ = std::move(name); }
  // "Description|pattern|Description|pattern".
  void SetFilter(std::string filter) { filter_ = std::move(filter); }
  void SetDefaultExt(std::string ext) { defaultExt_ = std::move(ext); }
  void SetTitle(std::string title) { title_ = std::move(title); }
  void SetInitialDir(std::string dir) { initialDir_ = std::move(dir); }
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

} // namespace components

#endif
