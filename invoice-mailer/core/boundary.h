// The boundary text of multipart messages.
#ifndef BILLPOST_BOUNDARY_H
#define BILLPOST_BOUNDARY_H

#include <string>

namespace billpost {

// Eight decimal digits, each 0 to 8, from a generator seeded by the clock.
std::string MakeBoundary();

} // namespace billpost

#endif
