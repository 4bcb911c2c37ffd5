// The invoice text export, whole or not at all.
#include "invoice-mailer/core/text-export.h"

#include "platform/components/core/exception.h"

namespace billpost {

void ExportText(components::FileSystem &files, const std::string &target, const std::string &text) {
  // Beside the target, so that the replacement stays on one volume.
  std::string fresh = target + ".new";
  if (!files.writeFile(fresh, text)) {
    files.removeFile(fresh);
    throw components::EWriteError("Cannot write file " + fresh);
  }
  if (!files.replaceFile(fresh, target)) {
    files.removeFile(fresh);
    throw components::EWriteError("Cannot replace file " + target);
  }
}

} // namespace billpost
