// The XML object model the add-on keeps its component descriptions in: a
// document holding one root element, elements with attributes in document
// order and child nodes. Everything the parser reads is kept, including the
// spacing inside tags and the quote characters, so that a document loaded
// and saved unchanged comes back byte for byte; edits change only the
// attribute or node they touch. Text is 8-bit (the ANSI code page); bytes
// of 0x80 and above pass through untouched.
#ifndef PLATFORM_XML_XML_DOCUMENT_H
#define PLATFORM_XML_XML_DOCUMENT_H

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace xml {

class Element;

// A node between or inside elements. Markup other than elements (the
// declaration, comments, processing instructions, the document type,
// character data sections) is kept as its raw text.
struct Node {
  enum class Kind { Element, Text, Markup };
  Kind kind;
  std::string raw;                  // Text and Markup: the bytes as read
  std::unique_ptr<Element> element; // Element only
};

struct Attribute {
  std::string name;
  std::string rawValue;      // as written between the quotes, entities undecoded
  char quote = '"';          // '"' or '\''
  std::string leading = " "; // spacing before the name
  std::string equals = "=";  // the '=' with any spacing around it
};

class Element {
public:
  explicit Element(std::string tagName) : tagName_(std::move(tagName)) {}

  const std::string &tagName() const { return tagName_; }
  Element *parent() const { return parent_; }

  // The attribute's value with entities decoded; nullopt when absent.
  std::optional<std::string> getAttribute(const std::string &name) const;
  // Replaces the value of an existing attribute in place, or appends a new
  // one after the others.
  void setAttribute(const std::string &name, const std::string &value);
  // Returns whether the attribute was there.
  bool removeAttribute(const std::string &name);
  const std::vector<Attribute> &attributes() const { return attributes_; }

  // Child elements only, in document order.
  std::vector<Element *> children() const;
  // The first child element with that tag name, or null.
  Element *child(const std::string &tagName) const;
  // Concatenated decoded text of the element's text children.
  std::string text() const;

  // Appends a new child element and returns it (owned by this element).
  Element *addChild(const std::string &tagName);
  // Removes a child element (and its subtree); returns whether it was one.
  bool removeChild(const Element *child);

  // Serialised form of the element and its subtree.
  void save(std::string &out) const;

private:
  friend class Parser;
  std::string tagName_;
  Element *parent_ = nullptr;
  std::vector<Attribute> attributes_;
  std::vector<Node> nodes_;
  std::string tagTail_;      // spacing before '>' or "/>"
  bool selfClosing_ = false; // written as <name/>
  std::string endTagTail_;   // spacing inside the end tag before '>'
};

struct ParseError {
  int line = 0, column = 0; // 1-based position of the fault
  std::string message;      // what was expected and what was found
  std::string describe() const;
};

// What a load accepts beyond well-formed XML.
struct ParseOptions {
  // Keep an attribute that an element gives twice, both in document order
  // (getAttribute then answers the first). Hand-written data files such as
  // the semiconductor model libraries rely on the later one being seen.
  bool repeatedAttributes = false;
};

class Document {
public:
  Document() = default;
  Document(Document &&) = default;
  Document &operator=(Document &&) = default;

  // Parses text; on failure returns false, fills error and leaves the
  // document as it was.
  bool load(const std::string &text, ParseError &error, const ParseOptions &options = {});
  std::string save() const;

  Element *root() const { return root_; }

private:
  friend class Parser;
  std::vector<Node> nodes_; // prolog, the root element, trailing markup
  Element *root_ = nullptr;
};

// Entity decoding and encoding of attribute values and text.
std::string decodeEntities(const std::string &raw);
std::string encodeAttribute(const std::string &value, char quote);

} // namespace xml

#endif
