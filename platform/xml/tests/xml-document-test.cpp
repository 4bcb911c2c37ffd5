// The XML model: documents come back byte for byte, attributes keep their
// order through get, set and remove, and malformed text is refused with the
// position and what was expected. The golden component file was checked
// once with Python's xml.dom.minidom (the attribute values below are what
// it read).
#include "platform/xml/core/xml-document.h"
#include "testing/growth-check.h"
#include "testing/test-files.h"
#include "testing/test-paths.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

namespace {

using testing_support::readFile;

xml::Document parsed(const std::string &text) {
  xml::Document document;
  xml::ParseError error;
  EXPECT_TRUE(document.load(text, error)) << error.describe() << "\n" << text;
  return document;
}

std::vector<std::string> attributeNames(const xml::Element &element) {
  std::vector<std::string> names;
  for (const xml::Attribute &a : element.attributes())
    names.push_back(a.name);
  return names;
}

TEST(XmlRoundTrip, GoldenComponentComesBackByteIdentical) {
  std::string text =
      readFile(testing_support::sourcePath("platform/xml/tests/golden/component.xml"));
  ASSERT_FALSE(text.empty());
  xml::Document document = parsed(text);
  EXPECT_EQ(document.save(), text);

  xml::Element *root = document.root();
  ASSERT_NE(root, nullptr);
  EXPECT_EQ(root->tagName(), "DEVICE");
  std::vector<std::string> tips;
  for (xml::Element *part : root->children())
    for (xml::Element *item : part->children())
      tips.push_back(item->getAttribute("TIP").value_or("?"));
  EXPECT_EQ(tips, (std::vector<std::string>{"Part identifier", "Capacitance & tolerance <5%>",
                                            "Spannung \xB5V \xE9"}));
}

TEST(XmlRoundTrip, EveryKindOfMarkupIsKept) {
  const char *documents[] = {
      "<a/>",
      "<a></a>",
      "<a x='1' y=\"2\"/>",
      "<a  x = \"1\"\n\ty='&apos;&quot;'  ></a >",
      "<?xml version=\"1.0\" encoding=\"windows-1252\"?>\n<!DOCTYPE a [<!ELEMENT a ANY>]>\n<a/>\n",
      "<!-- before --><a><!-- in --><?pi data?><![CDATA[<not markup>]]>text &amp; "
      "&#65;&#x42;</a><!-- after -->",
      "\n\n<r>\r\n  <b c=\"\xE4\xF6\xFC\"/>\r\n</r>\r\n",
  };
  for (const char *text : documents)
    EXPECT_EQ(parsed(text).save(), text);
}

TEST(XmlAttributes, SetReadAndRemoveKeepOrder) {
  xml::Document document = parsed("<ITEM NAME=\"R\" DIM='ohm' TEXT=\"1k\"/>");
  xml::Element *item = document.root();
  EXPECT_EQ(item->getAttribute("DIM"), "ohm");
  EXPECT_EQ(item->getAttribute("SHOWDIM"), std::nullopt);

  item->setAttribute("DIM", "kohm"); // in place, keeping its quotes
  item->setAttribute("SHOWDIM", ""); // appended: a flag that is on
  EXPECT_EQ(attributeNames(*item), (std::vector<std::string>{"NAME", "DIM", "TEXT", "SHOWDIM"}));
  EXPECT_TRUE(item->removeAttribute("NAME"));
  EXPECT_FALSE(item->removeAttribute("NAME"));
  item->setAttribute("NAME", "a<b & \"c\"");
  EXPECT_EQ(attributeNames(*item), (std::vector<std::string>{"DIM", "TEXT", "SHOWDIM", "NAME"}));
  EXPECT_EQ(item->getAttribute("NAME"), "a<b & \"c\"");
  EXPECT_EQ(item->getAttribute("SHOWDIM"), "");
  EXPECT_EQ(document.save(),
            "<ITEM DIM='kohm' TEXT=\"1k\" SHOWDIM=\"\" NAME=\"a&lt;b &amp; &quot;c&quot;\"/>");
  // What was saved reads back to the same values.
  xml::Document again = parsed(document.save());
  EXPECT_EQ(again.root()->getAttribute("NAME"), "a<b & \"c\"");
}

TEST(XmlElements, ChildrenTextAndEdits) {
  xml::Document document = parsed("<D><P O=\"0 1\"><I N=\"a\"/><I N=\"b\"/></P>t&lt;1<R/></D>");
  xml::Element *root = document.root();
  ASSERT_EQ(root->children().size(), 2u);
  EXPECT_EQ(root->child("R")->parent(), root);
  EXPECT_EQ(root->child("X"), nullptr);
  EXPECT_EQ(root->text(), "t<1");
  xml::Element *params = root->child("P");
  EXPECT_EQ(params->children()[1]->getAttribute("N"), "b");
  EXPECT_TRUE(root->removeChild(params));
  root->child("R")->addChild("I")->setAttribute("N", "c");
  EXPECT_EQ(document.save(), "<D>t&lt;1<R><I N=\"c\"/></R></D>");
}

TEST(XmlErrors, MalformedTextIsRefusedWithItsPosition) {
  struct Case {
    const char *text;
    int line, column;
    const char *message;
  } cases[] = {
      {"", 1, 1, "expected the root element, found the end of the text"},
      {"text", 1, 1, "expected the root element, found 't'"},
      {"<a>", 1, 4, "expected the end tag </a>, found the end of the text"},
      {"<a></b>", 1, 6, "expected the end tag </a>, found </b>"},
      {"<a x=1/>", 1, 6, "expected a quoted attribute value, found '1'"},
      {"<a x=\"1\" x=\"2\"/>", 1, 10, "attribute \"x\" given twice"},
      {"<a x=\"1\"y=\"2\"/>", 1, 9, "expected spacing before an attribute, found 'y'"},
      {"<a>&bogus;</a>", 1, 4, "expected an entity or character reference after '&', found '&'"},
      {"<a x=\"<\"/>", 1, 7, "expected no '<' inside an attribute value, found '<'"},
      {"<a/>\n<b/>", 2, 1, "expected the end of the text after the root element, found '<'"},
      {"<a>\n<!-- open", 2, 10, "expected \"-->\" to end the comment, found the end of the text"},
      {"<\x01/>", 1, 2, "expected an element name after '<', found byte 0x01"},
      {"<a>&#0;</a>", 1, 4, "expected an entity or character reference after '&', found '&'"},
  };
  for (const Case &c : cases) {
    xml::Document document = parsed("<kept/>");
    xml::ParseError error;
    EXPECT_FALSE(document.load(c.text, error)) << c.text;
    EXPECT_EQ(error.line, c.line) << c.text;
    EXPECT_EQ(error.column, c.column) << c.text;
    EXPECT_EQ(error.message, c.message) << c.text;
    // A failed load leaves the document as it was.
    EXPECT_EQ(document.save(), "<kept/>");
  }
}

TEST(XmlErrors, RepeatedAttributesAreKeptInOrderWhenAskedFor) {
  const std::string text = "<a x=\"1\" y=\"2\" x=\"3\"/>";
  xml::Document document;
  xml::ParseError error;
  xml::ParseOptions options;
  options.repeatedAttributes = true;
  ASSERT_TRUE(document.load(text, error, options)) << error.describe();
  const std::vector<xml::Attribute> &attributes = document.root()->attributes();
  ASSERT_EQ(attributes.size(), 3u);
  EXPECT_EQ(attributes[0].name + attributes[0].rawValue, "x1");
  EXPECT_EQ(attributes[2].name + attributes[2].rawValue, "x3");
  EXPECT_EQ(document.root()->getAttribute("x"), "1");
  EXPECT_EQ(document.save(), text);
}

// An element with very many attributes is read in about linear time,
// whether repeated names are refused or kept.
TEST(XmlErrors, ManyAttributesOnOneElementAreReadInLinearTime) {
  auto element = [](int attributes) {
    std::string text = "<a";
    for (int i = 0; i < attributes; ++i)
      text += " n" + std::to_string(i) + "=\"" + std::to_string(i) + "\"";
    return text + "/>";
  };
  for (bool repeats : {false, true}) {
    SCOPED_TRACE(repeats ? "repeats kept" : "repeats refused");
    xml::ParseOptions options;
    options.repeatedAttributes = repeats;
    auto parse = [&](const std::string &text) {
      xml::Document document;
      xml::ParseError error;
      ASSERT_TRUE(document.load(text, error, options)) << error.describe();
    };
    EXPECT_LT(testing_support::growthFrom(2000, element, parse), testing_support::MostLinearGrowth);
  }
}

TEST(XmlErrors, DeepNestingIsRefusedNotFollowed) {
  std::string deep;
  for (int i = 0; i < 100000; ++i)
    deep += "<a>";
  xml::Document document;
  xml::ParseError error;
  EXPECT_FALSE(document.load(deep, error));
  EXPECT_EQ(error.message, "elements nested deeper than 256 levels");

  std::string allowed;
  for (int i = 0; i < 256; ++i)
    allowed += "<a>";
  for (int i = 0; i < 256; ++i)
    allowed += "</a>";
  EXPECT_TRUE(document.load(allowed, error)) << error.describe();
}

} // namespace
