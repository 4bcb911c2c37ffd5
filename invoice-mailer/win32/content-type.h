// The MIME type of an attachment, from the "Content Type" value that the
// registry keeps under HKEY_CLASSES_ROOT for a file extension.
#ifndef BILLPOST_CONTENT_TYPE_H
#define BILLPOST_CONTENT_TYPE_H

#include <string>

namespace billpost {

// The type registered for the file's extension, or
// "application/octet-stream" when there is none.
std::string ContentTypeOf(const std::string &fileName);

} // namespace billpost

#endif
