// TBkVersionInfo: the version resource of a file (the program's own when
// FileName is empty): the fixed part, the texts of the first translation's
// string block, and the file version as a number.
#ifndef CLIPBOARD_CHECKER_WIN32_BK_VERSION_INFO_H
#define CLIPBOARD_CHECKER_WIN32_BK_VERSION_INFO_H

#include "clipboard-checker/core/bk-base.h"

#include <windows.h>

#include <string>
#include <vector>

namespace lexitray {

class TBkVersionInfo : public TBkComponent {
public:
  explicit TBkVersionInfo(components::TComponent *owner) : TBkComponent(owner) {}

  const std::string &FileName() const { return fileName_; }
  // Reads the file's version resource at once: EBkVersionInfoError 73
  // when the file does not exist, 100 when it has no version information.
  void SetFileName(const std::string &fileName);

  // The named texts of the string block; empty when the block lacks them.
  std::string Comments() { return text("Comments"); }
  std::string CompanyName() { return text("CompanyName"); }
  std::string FileDescription() { return text("FileDescription"); }
  std::string FileVersion() { return text("FileVersion"); }
  std::string InternalName() { return text("InternalName"); }
  std::string LegalCopyright() { return text("LegalCopyright"); }
  std::string LegalTrademarks() { return text("LegalTrademarks"); }
  std::string OriginalFilename() { return text("OriginalFilename"); }
  std::string ProductName() { return text("ProductName"); }
  std::string ProductVersion() { return text("ProductVersion"); }
  // Any text of the block; EBkVersionInfoError 134 when it lacks the key.
  std::string GetKey(const std::string &key);
  const VS_FIXEDFILEINFO &FixedFileInfo();
  // "FileVersion" read as a number; when the whole text is not one, its
  // part up to the second "." (at most 6 characters); 0 when neither is.
  double VersionNumber();

private:
  void load();
  std::string text(const std::string &key);
  bool find(const std::string &key, std::string &value);

  std::string fileName_;
  bool loaded_ = false;
  std::vector<char> data_;
  std::string block_; // "\StringFileInfo\<language><code page>\"
  VS_FIXEDFILEINFO fixed_{};
};

} // namespace lexitray

#endif
