// The invoice text export: the text area's lines written to a file the
// user chose, which may already hold an earlier export or anything else of
// theirs. The file is replaced only by a whole new text: the text goes to a
// new file beside it (name + ".new"), which then takes the target's place
// in one step. A failed write (a full disk, say) removes the new file and
// leaves the target as it was; a process killed while writing leaves at
// most that new file, which the next export to the same name writes over
// and moves into place.
#ifndef INVOICE_MAILER_CORE_TEXT_EXPORT_H
#define INVOICE_MAILER_CORE_TEXT_EXPORT_H

#include "platform/components/core/file-system.h"

#include <string>

namespace billpost {

// Replaces target by a file holding exactly text. Throws EWriteError naming
// the file when a step fails, after removing the new file.
void ExportText(components::FileSystem &files, const std::string &target, const std::string &text);

} // namespace billpost

#endif
