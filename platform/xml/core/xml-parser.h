// The parser behind Document::load (private to the XML model).
//
// Accepted text: an optional prolog (declaration, comments, processing
// instructions, a document type with an optional internal subset, spacing),
// exactly one root element, then only comments, processing instructions and
// spacing. Elements carry attributes with single or double quotes and
// contain text, character data sections, comments, processing instructions
// and elements. Entity references are the five predefined ones and
// character references. Nesting deeper than MaxDepth is refused so that
// hostile input cannot exhaust the stack.
#ifndef PLATFORM_XML_XML_PARSER_H
#define PLATFORM_XML_XML_PARSER_H

#include "platform/xml/core/xml-document.h"

#include <string>

namespace xml {

// Whether raw[at..] (just after '&') is a well-formed reference.
bool isValidReference(const std::string &raw, size_t at);

class Parser {
public:
  static const int MaxDepth = 256;

  explicit Parser(const std::string &text, const ParseOptions &options = {})
      : text_(text), options_(options) {}
  // Fills document or returns false with error set.
  bool parse(Document &document, ParseError &error);

private:
  struct Failure {
    size_t at;
    std::string message;
  };

  bool atEnd() const { return pos_ >= text_.size(); }
  bool startsWith(const char *s) const {
    return text_.compare(pos_, std::char_traits<char>::length(s), s) == 0;
  }
  [[noreturn]] void fail(const std::string &expected) const;
  std::string found() const;

  std::string readSpacing();
  std::string readName(const char *what);
  std::string readUntil(const char *terminator, const char *what);
  std::string readDoctype();
  std::string readMarkup();
  std::unique_ptr<Element> readElement(Element *parent, int depth);
  void readAttributes(Element &element);
  void readContent(Element &element, int depth);
  std::string readText();

  const std::string &text_;
  ParseOptions options_;
  size_t pos_ = 0;
};

} // namespace xml

#endif
