#include "passive-lib/uikit/win32/xml-page-section.h"

#include "passive-lib/uikit/core/shown-order.h"
#include "passive-lib/win32/xml-access.h"

#include "platform/base/win32/bstr.h"
#include "platform/base/win32/com-error.h"

namespace uikit {

bool XmlPageElement::attribute(const char *name, std::string &value) const {
  return passive::attributeText(element_.get(), name, value);
}

void XmlPageElement::setAttribute(const char *name, const std::string &value) {
  passive::setAttributeText(element_.get(), name, value);
}

void XmlPageElement::removeAttribute(const char *name) {
  base::checkPointer(element_.get(), IID_IXMLElement);
  base::Bstr attributeName{std::string(name)};
  // S_FALSE: the attribute was not there, which is what was asked for.
  base::check(element_->removeAttribute(attributeName.get()), IID_IXMLElement);
}

XmlPageSection::XmlPageSection(base::ComPtr<IXMLElement> sectionElement) {
  if (!sectionElement)
    return;
  element_ = std::make_unique<XmlPageElement>(sectionElement);
  section_.element = element_.get();
  for (base::ComPtr<IXMLElement> &child : passive::childElements(sectionElement.get())) {
    base::Bstr tag;
    base::check(child->get_tagName(tag.receive()), IID_IXMLElement);
    if (tag.toAnsi() != "ITEM")
      continue;
    items_.push_back(std::make_unique<XmlPageElement>(child));
    section_.items.push_back(items_.back().get());
  }
  section_.shown = passive::parseShownOrder(element_->get("ORDER").value_or(""),
                                            static_cast<int>(section_.items.size()));
}

} // namespace uikit
