// Bounded fuzzing of the XML reader: damaged documents must load or be
// refused, never crash; what loads must save and reload to the same bytes.
#include "platform/xml/core/xml-document.h"
#include "testing/fuzz-driver.h"

#include <gtest/gtest.h>

namespace {

testing_support::Bytes bytes(const std::string &text) {
  return testing_support::Bytes(text.begin(), text.end());
}

TEST(XmlFuzz, DamagedDocumentsLoadOrFailCleanly) {
  std::vector<testing_support::Bytes> seeds = {
      bytes("<?xml version=\"1.0\"?>\r\n<DEVICE NAME=\"Resistor\" STATUS=\"0x0\">\r\n"
            "\t<PARAMS ORDER=\"0 1\"><ITEM NAME=\"R\" DEFAULT=\"1000\" SHOWDIM=\"\"/></PARAMS>\r\n"
            "\t<RESULT ORDER=\"0\" LAYER=\"Simulation\"><ITEM NAME=\"Idc\" "
            "IEEE=\"0XFFFFFFFFFFFFFFFF\"/></RESULT>\r\n</DEVICE>\r\n"),
      bytes("<!DOCTYPE a [<!ENTITY x \"y\">]><a b='&amp;&#x41;'><![CDATA[]]><!--c--><?p q?>t</a>"),
  };
  unsigned loaded = 0;
  unsigned tried = testing_support::fuzz(seeds,
                                         [&](const testing_support::Bytes &input) {
                                           std::string text(input.begin(), input.end());
                                           xml::Document document;
                                           xml::ParseError error;
                                           if (!document.load(text, error)) {
                                             ASSERT_FALSE(error.message.empty());
                                             return;
                                           }
                                           ++loaded;
                                           ASSERT_EQ(document.save(), text);
                                         },
                                         {20000, 3.0, 20261209});
  EXPECT_GT(tried, 100u);
  EXPECT_GT(loaded, 2u);
}

} // namespace
