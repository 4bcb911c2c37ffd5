// The three semiconductor component kinds and what tells them apart: their
// model library resource.
#ifndef SEMI_LIB_CORE_SEMI_KIND_H
#define SEMI_LIB_CORE_SEMI_KIND_H

namespace semi {

enum class SemiKind { Diode, Npn, Pnp };

const SemiKind AllSemiKinds[] = {SemiKind::Diode, SemiKind::Npn, SemiKind::Pnp};

// The module's resource (type "XML") that holds the kind's model library.
const char *const LibraryResourceType = "XML";
int libraryResourceId(SemiKind kind);

} // namespace semi

#endif
