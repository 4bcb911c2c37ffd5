// The host's readers of plug-in resources and descriptor item text.
#include "platform/plugin-host/core/descriptor-items.h"
#include "platform/plugin-host/core/plugin-resources.h"
#include "testing/fuzz-driver.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace plugin;

namespace {

struct Bytes {
  std::vector<std::uint8_t> data;
  Bytes &u16(std::uint16_t v) {
    data.push_back(static_cast<std::uint8_t>(v));
    data.push_back(static_cast<std::uint8_t>(v >> 8));
    return *this;
  }
  Bytes &u32(std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
      data.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    return *this;
  }
  Bytes &text(const std::string &t) {
    data.insert(data.end(), t.begin(), t.end());
    return *this;
  }
  Bytes &property(const char (&key)[5], const std::string &body) {
    u32(fourCC("8BIM"))
        .u32(fourCC(key))
        .u32(0)
        .u32(static_cast<std::uint32_t>(body.size()))
        .text(body);
    data.resize(data.size() + (4 - body.size() % 4) % 4, 0);
    return *this;
  }
};

std::string word(std::uint32_t v) {
  Bytes b;
  b.u32(v);
  return std::string(b.data.begin(), b.data.end());
}

Bytes sampleList() {
  Bytes b;
  b.u16(1).u32(0).u32(5);
  b.property("kind", word(fourCC("8BEM")));
  b.property("name", std::string("\x0APixtune...", 11));
  b.property("wx86", std::string("ENTRYPOINT\0", 11));
  b.property("hstm", word(0) + word(fourCC("qzWb")) + word(fourCC("null")) +
                         std::string("\x80\x3E", 2) + std::string("scope\0", 6));
  b.property("zzzz", "skipped");
  return b;
}

TEST(PluginResources, ReadsAPropertyList) {
  Bytes b = sampleList();
  PropertyList list;
  std::string error;
  ASSERT_TRUE(ParsePropertyList(b.data.data(), b.data.size(), list, error)) << error;
  EXPECT_EQ("8BEM", fourCCText(list.kind));
  EXPECT_EQ("Pixtune...", list.name);
  EXPECT_EQ("ENTRYPOINT", list.entryX86);
  EXPECT_TRUE(list.hasTerminology);
  EXPECT_EQ("qzWb", fourCCText(list.eventClass));
  EXPECT_EQ(16000, list.dictionaryId);
  EXPECT_EQ("scope", list.scope);
  EXPECT_EQ(5u, list.keys.size());
}

TEST(PluginResources, RefusesEveryTruncationAndBadFields) {
  Bytes b = sampleList();
  PropertyList list;
  std::string error;
  for (std::size_t size = 0; size < b.data.size(); ++size)
    EXPECT_FALSE(ParsePropertyList(b.data.data(), size, list, error)) << size;
  Bytes unterminated;
  unterminated.u16(1).u32(0).u32(1).property("wx86", "ENTRYPOINT");
  EXPECT_FALSE(ParsePropertyList(unterminated.data.data(), unterminated.data.size(), list, error));
  EXPECT_NE(std::string::npos, error.find("wx86")) << error;
  Bytes longName;
  longName.u16(1).u32(0).u32(1).property("name", std::string("\x20short", 6));
  EXPECT_FALSE(ParsePropertyList(longName.data.data(), longName.data.size(), list, error));
}

Bytes sampleDictionary() {
  Bytes b;
  b.data = {1, 0};
  b.u16(0).u16(0).u16(1);
  b.text(std::string("\x07Pixtune", 8))
      .text(std::string("\x01x", 2))
      .u32(fourCC("qzWb"))
      .u16(1)
      .u16(1)
      .u16(1);
  b.text(std::string("\x02"
                     "ev\0",
                     4))
      .text(std::string("\0\0", 2))
      .u32(fourCC("qzWb"))
      .u32(fourCC("null"));
  b.u32(fourCC("null"))
      .text(std::string("\0\0", 2))
      .u16(0)
      .u32(fourCC("null"))
      .text(std::string("\0\0", 2))
      .u16(0);
  b.u16(2);
  b.text(std::string("\x03"
                     "one",
                     4))
      .u32(fourCC("Lmnc"))
      .u32(fourCC("long"))
      .text(std::string("\0\0", 2))
      .u16(0);
  b.text(std::string("\x02"
                     "tw\0",
                     4))
      .u32(fourCC("tExp"))
      .u32(fourCC("TEXT"))
      .text(std::string("\0\0", 2))
      .u16(0);
  b.u16(0).u16(0).u16(0);
  return b;
}

TEST(PluginResources, ReadsADictionary) {
  Bytes b = sampleDictionary();
  ScriptingDictionary dictionary;
  std::string error;
  ASSERT_TRUE(ParseScriptingDictionary(b.data.data(), b.data.size(), dictionary, error)) << error;
  ASSERT_EQ(2u, dictionary.parameters.size());
  EXPECT_EQ("one", dictionary.parameters[0].name);
  EXPECT_EQ("tExp", fourCCText(dictionary.parameters[1].key));
  EXPECT_EQ("TEXT", fourCCText(dictionary.parameters[1].type));
  for (std::size_t size = 0; size < b.data.size(); ++size)
    EXPECT_FALSE(ParseScriptingDictionary(b.data.data(), size, dictionary, error)) << size;
}

TEST(PluginResources, DamagedResourcesAreRefusedOrReadWithinBounds) {
  // Through the coverage-guided harness: the sanitizers catch any read past
  // the resource, an accepted list never claims more keys than it holds, a
  // refused one says why.
  std::vector<testing_support::Bytes> seeds = {sampleList().data, sampleDictionary().data};
  unsigned tried = testing_support::fuzz(seeds, testing_support::runHarness);
  EXPECT_GE(tried, 200u);
}

TEST(DescriptorItems, TextFormRoundTrips) {
  const char *texts[] = {"Lmnc=long:20",  "tCvL=doub:12.5", "pRgr=bool:1",
                         "tExp=TEXT:th_", "fPin=TEXT:",     "tMbw=long:-5"};
  for (const char *text : texts) {
    DescriptorItem item;
    ASSERT_TRUE(ParseDescriptorItem(text, item)) << text;
    EXPECT_EQ(text, FormatDescriptorItem(item));
  }
  DescriptorItem item;
  for (const char *bad : {"Lmnc=long:", "Lmnc=long:2x", "Lmnc=enum:1", "Lmn=long:1", "Lmnc:long=1"})
    EXPECT_FALSE(ParseDescriptorItem(bad, item)) << bad;
}

} // namespace
