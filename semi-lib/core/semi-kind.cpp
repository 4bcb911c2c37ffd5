#include "semi-lib/core/semi-kind.h"

namespace semi {

int libraryResourceId(SemiKind kind) {
  switch (kind) {
  case SemiKind::Diode:
    return 201;
  case SemiKind::Npn:
    return 202;
  case SemiKind::Pnp:
    return 203;
  }
  return 0;
}

} // namespace semi
