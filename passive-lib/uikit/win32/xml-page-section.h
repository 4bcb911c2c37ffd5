// The component XML's elements as the page models edit them: an element of
// the XML object model behind PageElement, and a PARAMS or RESULT element
// with its ITEM children and its ORDER as a PageSection. Failing calls of
// the object model throw base::ComError.
#ifndef PASSIVE_LIB_UIKIT_XML_PAGE_SECTION_H
#define PASSIVE_LIB_UIKIT_XML_PAGE_SECTION_H

#include "passive-lib/uikit/core/page-element.h"

#include "platform/base/win32/com-ptr.h"
#include "platform/xml/win32/xml-guids.h"

#include <memory>
#include <string>
#include <vector>

namespace uikit {

class XmlPageElement : public passive::PageElement {
public:
  explicit XmlPageElement(base::ComPtr<IXMLElement> element) : element_(std::move(element)) {}

  bool attribute(const char *name, std::string &value) const override;
  void setAttribute(const char *name, const std::string &value) override;
  void removeAttribute(const char *name) override;

private:
  base::ComPtr<IXMLElement> element_;
};

class XmlPageSection {
public:
  // The section element's ITEM children in document order, and the shown
  // items its ORDER names. A null element gives an empty section.
  explicit XmlPageSection(base::ComPtr<IXMLElement> sectionElement);
  XmlPageSection(const XmlPageSection &) = delete;
  XmlPageSection &operator=(const XmlPageSection &) = delete;

  passive::PageSection &section() { return section_; }
  XmlPageElement *element() const { return element_.get(); }

private:
  std::unique_ptr<XmlPageElement> element_;
  std::vector<std::unique_ptr<XmlPageElement>> items_;
  passive::PageSection section_;
};

} // namespace uikit

#endif
