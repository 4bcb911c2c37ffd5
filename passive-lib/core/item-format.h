// Label and netlist texts of one ITEM of the component XML. The item is
// read through ItemAttributes, so the rules stay apart from any XML object
// model.
#ifndef PASSIVE_LIB_CORE_ITEM_FORMAT_H
#define PASSIVE_LIB_CORE_ITEM_FORMAT_H

#include <string>

namespace passive {

class ItemAttributes {
public:
  virtual ~ItemAttributes() = default;
  // The attribute's text; false when the item lacks the attribute.
  virtual bool attribute(const char *name, std::string &value) const = 0;
};

enum class ItemStatus {
  Ok,
  InvalidArgument, // a number that does not read, or FORMAT/DIGITS/CHS out of range
  NoPartId,        // the "ID" item asked for without a part identifier
};

// The label text: "NAME = " when SHOWNAME is on, the value in the item's
// FORMAT and DIGITS (the part identifier for the "ID" item), and the unit
// when SHOWDIM is on. partId may be null for items other than "ID".
ItemStatus formatItem(const ItemAttributes &item, const std::string *partId, std::string &text);

// The value alone as a netlist carries it: numbers in SPICE form with the
// digits that give back the same double, TEXTONLY texts unchanged.
ItemStatus formatSpiceItem(const ItemAttributes &item, std::string &text);

} // namespace passive

#endif
