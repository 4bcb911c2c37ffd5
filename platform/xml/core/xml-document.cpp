// Element and document operations, serialisation and entities.
#include "platform/xml/core/xml-document.h"

#include <algorithm>

namespace xml {

namespace {

// Decodes one reference starting after '&' at raw[at]; returns the index
// after ';' and appends the character, or returns npos for a malformed one.
size_t decodeReference(const std::string &raw, size_t at, std::string &out) {
  size_t end = raw.find(';', at);
  if (end == std::string::npos || end == at)
    return std::string::npos;
  std::string name = raw.substr(at, end - at);
  static const struct {
    const char *name;
    char c;
  } named[] = {{"lt", '<'}, {"gt", '>'}, {"amp", '&'}, {"quot", '"'}, {"apos", '\''}};
  for (const auto &n : named) {
    if (name == n.name) {
      out += n.c;
      return end + 1;
    }
  }
  if (name[0] != '#' || name.size() < 2)
    return std::string::npos;
  bool hex = name[1] == 'x';
  size_t first = hex ? 2 : 1;
  if (first >= name.size() || name.size() - first > 8)
    return std::string::npos;
  unsigned long code = 0;
  for (size_t i = first; i < name.size(); ++i) {
    char c = name[i];
    int digit;
    if (c >= '0' && c <= '9')
      digit = c - '0';
    else if (hex && c >= 'a' && c <= 'f')
      digit = c - 'a' + 10;
    else if (hex && c >= 'A' && c <= 'F')
      digit = c - 'A' + 10;
    else
      return std::string::npos;
    code = code * (hex ? 16 : 10) + static_cast<unsigned long>(digit);
  }
  if (code == 0 || code > 0x10FFFF)
    return std::string::npos;
  // The text is 8-bit: a character beyond it has no byte of its own.
  out += code <= 0xFF ? static_cast<char>(code) : '?';
  return end + 1;
}

} // namespace

std::string decodeEntities(const std::string &raw) {
  std::string out;
  out.reserve(raw.size());
  for (size_t i = 0; i < raw.size();) {
    if (raw[i] != '&') {
      out += raw[i++];
      continue;
    }
    size_t next = decodeReference(raw, i + 1, out);
    if (next == std::string::npos) {
      // Only text set by our own callers gets here unchecked; keep it as is.
      out += raw[i++];
      continue;
    }
    i = next;
  }
  return out;
}

bool isValidReference(const std::string &raw, size_t at) {
  std::string ignored;
  return decodeReference(raw, at, ignored) != std::string::npos;
}

std::string encodeAttribute(const std::string &value, char quote) {
  std::string out;
  for (char c : value) {
    switch (c) {
    case '&':
      out += "&amp;";
      break;
    case '<':
      out += "&lt;";
      break;
    case '>':
      out += "&gt;";
      break;
    case '"':
      out += quote == '"' ? "&quot;" : "\"";
      break;
    case '\'':
      out += quote == '\'' ? "&apos;" : "'";
      break;
    default:
      out += c;
    }
  }
  return out;
}

std::optional<std::string> Element::getAttribute(const std::string &name) const {
  for (const Attribute &a : attributes_) {
    if (a.name == name)
      return decodeEntities(a.rawValue);
  }
  return std::nullopt;
}

void Element::setAttribute(const std::string &name, const std::string &value) {
  for (Attribute &a : attributes_) {
    if (a.name == name) {
      a.rawValue = encodeAttribute(value, a.quote);
      return;
    }
  }
  Attribute a;
  a.name = name;
  a.rawValue = encodeAttribute(value, a.quote);
  attributes_.push_back(std::move(a));
}

bool Element::removeAttribute(const std::string &name) {
  auto it = std::find_if(attributes_.begin(), attributes_.end(),
                         [&](const Attribute &a) { return a.name == name; });
  if (it == attributes_.end())
    return false;
  attributes_.erase(it);
  return true;
}

std::vector<Element *> Element::children() const {
  std::vector<Element *> result;
  for (const Node &node : nodes_) {
    if (node.kind == Node::Kind::Element)
      result.push_back(node.element.get());
  }
  return result;
}

Element *Element::child(const std::string &tagName) const {
  for (const Node &node : nodes_) {
    if (node.kind == Node::Kind::Element && node.element->tagName() == tagName)
      return node.element.get();
  }
  return nullptr;
}

std::string Element::text() const {
  std::string result;
  for (const Node &node : nodes_) {
    if (node.kind == Node::Kind::Text)
      result += decodeEntities(node.raw);
  }
  return result;
}

Element *Element::addChild(const std::string &tagName) {
  Node node{Node::Kind::Element, std::string(), std::make_unique<Element>(tagName)};
  node.element->parent_ = this;
  node.element->selfClosing_ = true;
  Element *added = node.element.get();
  // An empty element written as <a/> gains an end tag now.
  selfClosing_ = false;
  nodes_.push_back(std::move(node));
  return added;
}

bool Element::removeChild(const Element *child) {
  auto it = std::find_if(nodes_.begin(), nodes_.end(), [&](const Node &node) {
    return node.kind == Node::Kind::Element && node.element.get() == child;
  });
  if (it == nodes_.end())
    return false;
  nodes_.erase(it);
  return true;
}

void Element::save(std::string &out) const {
  out += '<';
  out += tagName_;
  for (const Attribute &a : attributes_) {
    out += a.leading;
    out += a.name;
    out += a.equals;
    out += a.quote;
    out += a.rawValue;
    out += a.quote;
  }
  out += tagTail_;
  if (selfClosing_ && nodes_.empty()) {
    out += "/>";
    return;
  }
  out += '>';
  for (const Node &node : nodes_) {
    if (node.kind == Node::Kind::Element)
      node.element->save(out);
    else
      out += node.raw;
  }
  out += "</";
  out += tagName_;
  out += endTagTail_;
  out += '>';
}

std::string Document::save() const {
  std::string out;
  for (const Node &node : nodes_) {
    if (node.kind == Node::Kind::Element)
      node.element->save(out);
    else
      out += node.raw;
  }
  return out;
}

std::string ParseError::describe() const {
  return "line " + std::to_string(line) + ", column " + std::to_string(column) + ": " + message;
}

} // namespace xml
