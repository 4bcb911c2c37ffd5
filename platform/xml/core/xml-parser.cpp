// Recursive-descent parser of the XML model (see xml-parser.h).
#include "platform/xml/core/xml-parser.h"

#include <cstdio>
#include <unordered_set>

namespace xml {
namespace {

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

bool isNameStart(char c) {
  unsigned char u = static_cast<unsigned char>(c);
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || c == ':' || u >= 0x80;
}

bool isNameChar(char c) { return isNameStart(c) || (c >= '0' && c <= '9') || c == '-' || c == '.'; }

// A name in a tag has no fixed limit in XML; ours keeps the error messages
// and memory bounded for hostile input.
const size_t MaxNameLength = 1024;

} // namespace

void Parser::fail(const std::string &expected) const {
  throw Failure{pos_, "expected " + expected + ", found " + found()};
}

std::string Parser::found() const {
  if (atEnd())
    return "the end of the text";
  unsigned char c = static_cast<unsigned char>(text_[pos_]);
  char buffer[16];
  if (c < 0x20 || c >= 0x7F)
    std::snprintf(buffer, sizeof buffer, "byte 0x%02X", c);
  else
    std::snprintf(buffer, sizeof buffer, "'%c'", c);
  return buffer;
}

std::string Parser::readSpacing() {
  size_t start = pos_;
  while (!atEnd() && isSpace(text_[pos_]))
    ++pos_;
  return text_.substr(start, pos_ - start);
}

std::string Parser::readName(const char *what) {
  if (atEnd() || !isNameStart(text_[pos_]))
    fail(what);
  size_t start = pos_;
  while (!atEnd() && isNameChar(text_[pos_])) {
    ++pos_;
    if (pos_ - start > MaxNameLength)
      throw Failure{start, std::string(what) + " longer than 1024 bytes"};
  }
  return text_.substr(start, pos_ - start);
}

// Reads up to and including terminator; the markup's opening is already
// under pos_. Returns the raw text.
std::string Parser::readUntil(const char *terminator, const char *what) {
  size_t start = pos_;
  size_t end = text_.find(terminator, pos_);
  if (end == std::string::npos) {
    pos_ = text_.size();
    fail(std::string("\"") + terminator + "\" to end the " + what);
  }
  pos_ = end + std::char_traits<char>::length(terminator);
  return text_.substr(start, pos_ - start);
}

// A document type declaration: brackets of an internal subset and quoted
// literals may hold '>' of their own.
std::string Parser::readDoctype() {
  size_t start = pos_;
  int brackets = 0;
  char quote = 0;
  for (pos_ += 9; !atEnd(); ++pos_) {
    char c = text_[pos_];
    if (quote) {
      if (c == quote)
        quote = 0;
    } else if (c == '"' || c == '\'') {
      quote = c;
    } else if (c == '[') {
      ++brackets;
    } else if (c == ']') {
      --brackets;
    } else if (c == '>' && brackets <= 0) {
      ++pos_;
      return text_.substr(start, pos_ - start);
    }
  }
  fail("'>' to end the document type");
}

// Comment, processing instruction or character data at pos_, raw.
std::string Parser::readMarkup() {
  if (startsWith("<!--")) {
    std::string raw = readUntil("-->", "comment");
    return raw;
  }
  if (startsWith("<![CDATA["))
    return readUntil("]]>", "character data section");
  if (startsWith("<?"))
    return readUntil("?>", "processing instruction");
  fail("markup");
}

std::string Parser::readText() {
  size_t start = pos_;
  while (!atEnd() && text_[pos_] != '<') {
    if (text_[pos_] == '&' && !isValidReference(text_, pos_ + 1))
      fail("an entity or character reference after '&'");
    ++pos_;
  }
  return text_.substr(start, pos_ - start);
}

void Parser::readAttributes(Element &element) {
  // The names given so far, for the check of a repeated name: a lookup per
  // attribute keeps an element with very many attributes linear.
  std::unordered_set<std::string> names;
  for (;;) {
    size_t before = pos_;
    std::string spacing = readSpacing();
    if (atEnd())
      fail("'>' or an attribute");
    char c = text_[pos_];
    if (c == '>' || c == '/') {
      element.tagTail_ = spacing;
      return;
    }
    if (spacing.empty() && pos_ == before)
      fail("spacing before an attribute");
    Attribute attribute;
    attribute.leading = spacing;
    attribute.name = readName("an attribute name");
    if (!options_.repeatedAttributes && !names.insert(attribute.name).second) {
      pos_ -= attribute.name.size();
      throw Failure{pos_, "attribute \"" + attribute.name + "\" given twice"};
    }
    size_t equalsStart = pos_;
    readSpacing();
    if (atEnd() || text_[pos_] != '=')
      fail("'=' after the attribute name");
    ++pos_;
    readSpacing();
    attribute.equals = text_.substr(equalsStart, pos_ - equalsStart);
    if (atEnd() || (text_[pos_] != '"' && text_[pos_] != '\''))
      fail("a quoted attribute value");
    attribute.quote = text_[pos_++];
    size_t valueStart = pos_;
    while (!atEnd() && text_[pos_] != attribute.quote) {
      if (text_[pos_] == '<')
        fail("no '<' inside an attribute value");
      if (text_[pos_] == '&' && !isValidReference(text_, pos_ + 1))
        fail("an entity or character reference after '&'");
      ++pos_;
    }
    if (atEnd())
      fail("the closing quote of the attribute value");
    attribute.rawValue = text_.substr(valueStart, pos_ - valueStart);
    ++pos_;
    element.attributes_.push_back(std::move(attribute));
  }
}

void Parser::readContent(Element &element, int depth) {
  for (;;) {
    if (atEnd())
      fail("the end tag </" + element.tagName_ + ">");
    if (startsWith("</")) {
      pos_ += 2;
      size_t nameAt = pos_;
      std::string name = readName("the element name in the end tag");
      if (name != element.tagName_)
        throw Failure{nameAt,
                      "expected the end tag </" + element.tagName_ + ">, found </" + name + ">"};
      element.endTagTail_ = readSpacing();
      if (atEnd() || text_[pos_] != '>')
        fail("'>' to close the end tag");
      ++pos_;
      return;
    }
    if (startsWith("<!") || startsWith("<?")) {
      element.nodes_.push_back(Node{Node::Kind::Markup, readMarkup(), nullptr});
      continue;
    }
    if (text_[pos_] == '<') {
      std::unique_ptr<Element> child = readElement(&element, depth + 1);
      element.nodes_.push_back(Node{Node::Kind::Element, std::string(), std::move(child)});
      continue;
    }
    element.nodes_.push_back(Node{Node::Kind::Text, readText(), nullptr});
  }
}

std::unique_ptr<Element> Parser::readElement(Element *parent, int depth) {
  if (depth > MaxDepth)
    throw Failure{pos_, "elements nested deeper than 256 levels"};
  ++pos_; // '<'
  auto element = std::make_unique<Element>(readName("an element name after '<'"));
  element->parent_ = parent;
  readAttributes(*element);
  if (text_[pos_] == '/') {
    ++pos_;
    if (atEnd() || text_[pos_] != '>')
      fail("'>' after '/'");
    ++pos_;
    element->selfClosing_ = true;
    return element;
  }
  ++pos_; // '>'
  readContent(*element, depth);
  return element;
}

bool Parser::parse(Document &document, ParseError &error) {
  Document result;
  try {
    for (;;) {
      std::string spacing = readSpacing();
      if (!spacing.empty())
        result.nodes_.push_back(Node{Node::Kind::Text, spacing, nullptr});
      if (atEnd())
        break;
      if (startsWith("<!DOCTYPE")) {
        if (result.root_)
          fail("no document type after the root element");
        result.nodes_.push_back(Node{Node::Kind::Markup, readDoctype(), nullptr});
      } else if (startsWith("<!--") || startsWith("<?")) {
        result.nodes_.push_back(Node{Node::Kind::Markup, readMarkup(), nullptr});
      } else if (text_[pos_] == '<' && !startsWith("<!")) {
        if (result.root_)
          fail("the end of the text after the root element");
        std::unique_ptr<Element> root = readElement(nullptr, 1);
        result.root_ = root.get();
        result.nodes_.push_back(Node{Node::Kind::Element, std::string(), std::move(root)});
      } else {
        fail(result.root_ ? "the end of the text after the root element" : "the root element");
      }
    }
    if (!result.root_)
      fail("the root element");
  } catch (const Failure &failure) {
    error.message = failure.message;
    error.line = 1;
    error.column = 1;
    size_t at = failure.at < text_.size() ? failure.at : text_.size();
    for (size_t i = 0; i < at; ++i) {
      if (text_[i] == '\n') {
        ++error.line;
        error.column = 1;
      } else {
        ++error.column;
      }
    }
    return false;
  }
  document = std::move(result);
  return true;
}

bool Document::load(const std::string &text, ParseError &error, const ParseOptions &options) {
  Parser parser(text, options);
  return parser.parse(*this, error);
}

} // namespace xml
