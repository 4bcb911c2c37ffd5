#include "semi-lib/core/model-library.h"

namespace semi {

std::vector<NamedValue> attributesOf(const xml::Element &element) {
  std::vector<NamedValue> result;
  for (const xml::Attribute &attribute : element.attributes())
    result.push_back({attribute.name, xml::decodeEntities(attribute.rawValue)});
  return result;
}

bool loadKeepingRepeats(xml::Document &document, const std::string &text, xml::ParseError &error) {
  xml::ParseOptions options;
  options.repeatedAttributes = true;
  return document.load(text, error, options);
}

bool ModelLibrary::load(const std::string &text, xml::ParseError &error) {
  if (!loadKeepingRepeats(document_, text, error))
    return false; // the library stays as it was
  modelsByType_.clear();
  for (const xml::Element *model : models()) {
    if (std::optional<std::string> type = model->getAttribute("TYPE"))
      modelsByType_.emplace(std::move(*type), model); // the first one stays
  }
  return true;
}

std::vector<const xml::Element *> ModelLibrary::childrenOf(const char *section) const {
  std::vector<const xml::Element *> result;
  const xml::Element *root = document_.root();
  const xml::Element *element = root ? root->child(section) : nullptr;
  if (element) {
    for (const xml::Element *child : element->children())
      result.push_back(child);
  }
  return result;
}

std::vector<const xml::Element *> ModelLibrary::params() const { return childrenOf("PARAMS"); }

std::vector<const xml::Element *> ModelLibrary::models() const { return childrenOf("MODELS"); }

std::vector<std::string> ModelLibrary::modelTypes() const {
  std::vector<std::string> types;
  for (const xml::Element *model : models()) {
    if (std::optional<std::string> type = model->getAttribute("TYPE"))
      types.push_back(*type);
  }
  return types;
}

const xml::Element *ModelLibrary::findModel(const std::string &type) const {
  auto found = modelsByType_.find(type);
  return found == modelsByType_.end() ? nullptr : found->second;
}

} // namespace semi
