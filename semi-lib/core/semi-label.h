// The texts a semiconductor control puts on its shape: the label (the
// PARAMS items that ORDER names) as a string formula, and the result text
// (the RESULT items that ORDER names).
#ifndef SEMI_LIB_CORE_SEMI_LABEL_H
#define SEMI_LIB_CORE_SEMI_LABEL_H

#include "platform/xml/core/xml-document.h"

#include <string>

namespace semi {

// Walks the section's ORDER: each decimal index appends that ITEM's label
// text, each space a line feed. The walk ends at the end of the text or at
// the first character that is neither a digit nor a space; an index with no
// item adds nothing. False when an item's text cannot be made.
bool composeOrderedItems(const xml::Element &section, const std::string &partId, std::string &text);

// The label as the string formula of "User.BodyText": enclosed in double
// quotes, with every quote inside doubled so the formula stays one string.
std::string bodyTextFormula(const std::string &text);

} // namespace semi

#endif
