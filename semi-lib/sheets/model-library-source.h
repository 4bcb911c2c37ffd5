// Where a semiconductor sheet takes its model library from: an owner that
// also implements this interface gives the text itself (a control holding
// its library, a test); otherwise the library is read from the resources of
// the module this code is linked into (QorLib02's 201 to 203).
#ifndef SEMI_LIB_SHEETS_MODEL_LIBRARY_SOURCE_H
#define SEMI_LIB_SHEETS_MODEL_LIBRARY_SOURCE_H

#include "passive-lib/uikit/win32/sheet-owner.h"
#include "semi-lib/core/semi-kind.h"

#include <string>

namespace semi {

class ModelLibrarySource {
public:
  // The kind's library text; empty when there is none.
  virtual std::string modelLibraryText(SemiKind kind) = 0;

protected:
  ~ModelLibrarySource() = default;
};

// The owner's text when it is a source, else the module's resource; empty
// when neither has one.
std::string modelLibraryTextFor(uikit::SheetOwner &owner, SemiKind kind);

} // namespace semi

#endif
