// Whole-interface journeys: build with every setter, copy through objects and
// files, read everything back with the matching getters.
#include <climits>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support.h"

using orvtest::BitsOf;
using orvtest::Doc;
using orvtest::TempDir;

namespace {

void BuildEverything(long h) {
  long inner = Create();
  SetValue(inner, "deep", -0.0);
  std::vector<unsigned char> bytes{0, 200, 255};
  std::vector<short> shorts{-32768, 0, 32767};
  std::vector<int> ints{INT_MIN, 0, INT_MAX};
  std::vector<double> doubles{5e-324, 0.1, 1.7976931348623157e308};
  std::vector<std::string> strings{"", "\xE6\xB0\x97", "tab\there"};
  SetValue(h, "null");
  SetValue(h, "int", INT_MIN);
  SetValue(h, "uint", UINT_MAX);
  SetValue(h, "bool", false);
  SetValue(h, "float", 3.4e38f);
  SetValue(h, "double", 2.2250738585072014e-308);
  SetValue(h, "cstr", "plain");
  SetValue(h, "str", std::string("nul\0inside", 10));
  SetValue(h, "bytes", bytes);
  SetValue(h, "shorts", shorts);
  SetValue(h, "ints", ints);
  SetValue(h, "doubles", doubles);
  SetValue(h, "strings", strings);
  SetValue(h, "object", static_cast<void*>(&inner));
  std::vector<void*> twice{&inner, &inner};
  SetValue(h, "repeat", twice);
  Release(inner);
}

void CheckEverything(long h) {
  int nullAsInt = 5, i = 0, typeCode = 0;
  unsigned u = 0;
  bool b = true;
  float f = 0;
  double d = 0;
  std::string cstr, str;
  EXPECT_EQ(GetIsNULL(h, "null"), 1);
  GetValue(h, "null", nullAsInt);
  GetValue(h, "int", i);
  EXPECT_EQ(GetValue(h, "uint", u), 0);
  EXPECT_EQ(GetValue(h, "bool", b), 0);
  GetValue(h, "float", f);
  EXPECT_EQ(GetValue(h, "double", d), 0);
  GetValue(h, "cstr", cstr);
  GetValue(h, "str", str);
  EXPECT_EQ(nullAsInt, 0);
  EXPECT_EQ(i, INT_MIN);
  EXPECT_EQ(u, UINT_MAX);
  EXPECT_FALSE(b);
  EXPECT_EQ(BitsOf(f), BitsOf(3.4e38f));
  EXPECT_EQ(BitsOf(d), BitsOf(2.2250738585072014e-308));
  EXPECT_EQ(cstr, "plain");
  EXPECT_EQ(str, "nul");
  EXPECT_EQ(GetString(h, "str"), "nul");

  std::vector<unsigned char> bytes;
  std::vector<short> shorts;
  std::vector<int> ints;
  std::vector<double> doubles;
  std::vector<std::string> strings;
  EXPECT_EQ(GetValue(h, "bytes", bytes), 0);
  EXPECT_EQ(GetValue(h, "shorts", shorts), 0);
  EXPECT_EQ(GetValue(h, "ints", ints), 0);
  EXPECT_EQ(GetValue(h, "doubles", doubles), 0);
  EXPECT_EQ(GetValue(h, "strings", strings), 0);
  EXPECT_EQ(bytes, (std::vector<unsigned char>{0, 200, 255}));
  EXPECT_EQ(shorts, (std::vector<short>{-32768, 0, 32767}));
  EXPECT_EQ(ints, (std::vector<int>{INT_MIN, 0, INT_MAX}));
  ASSERT_EQ(doubles.size(), 3u);
  EXPECT_EQ(BitsOf(doubles[0]), BitsOf(5e-324));
  EXPECT_EQ(BitsOf(doubles[2]), BitsOf(1.7976931348623157e308));
  EXPECT_EQ(strings, (std::vector<std::string>{"", "\xE6\xB0\x97", "tab\there"}));
  EXPECT_EQ(GetArryItemType(h, std::string("doubles"), typeCode), 512);

  Doc inner;
  long innerHandle = inner.h();
  EXPECT_EQ(GetValue(h, "object", static_cast<void*>(&innerHandle)), 0);
  double deep = 1;
  EXPECT_EQ(GetValue(inner.h(), "deep", deep), 0);
  EXPECT_EQ(BitsOf(deep), BitsOf(-0.0));

  OrvVector tags;
  EXPECT_EQ(GetTagCollect(h, tags), 16);
  EXPECT_EQ(tags.m_items[0].type, 32);   // null
  EXPECT_EQ(tags.m_items[2].type, 128);  // UINT_MAX
  EXPECT_EQ(tags.m_items[7].type, 1024);
  EXPECT_EQ(tags.m_items[15].name, "repeat");
}

}  // namespace

TEST(Scenarios, EveryValueSurvivesCopiesThroughObjectsAndFiles) {
  TempDir dir;
  Doc built;
  BuildEverything(built.h());
  CheckEverything(built.h());

  // Into another object as a member, and out again.
  Doc holder, extracted;
  long builtHandle = built.h(), extractedHandle = extracted.h();
  SetValue(holder.h(), "doc", static_cast<void*>(&builtHandle));
  ASSERT_EQ(GetValue(holder.h(), "doc", static_cast<void*>(&extractedHandle)), 0);
  CheckEverything(extracted.h());

  // Through a file.
  const std::string path = dir.Path("everything.json");
  ASSERT_EQ(WriteToFile(extracted.h(), path), 0);
  Doc loaded;
  int hasBom = -1;
  ASSERT_EQ(LoadJsonFile(loaded.h(), path.c_str(), hasBom), 1);
  CheckEverything(loaded.h());

  // As an element of an array root.
  Doc array;
  ASSERT_EQ(LoadFromString(array.h(), "[" + loaded.text() + "]"), 0);
  Doc element;
  long elementHandle = element.h();
  ASSERT_EQ(GetValue(array.h(), 0, static_cast<void*>(&elementHandle)), 0);
  CheckEverything(element.h());
  EXPECT_EQ(element.text(), built.text());
}

TEST(Scenarios, InspectingAnUnknownDocumentByItsTypeCodes) {
  Doc doc;
  ASSERT_EQ(LoadFromString(doc.h(), R"([{"id":1},{"id":2,"tags":["a","b"]},7,"x"])"), 0);
  int objects = 0, ids = 0;
  for (int index = 0; index < Members(doc.h()); ++index) {
    int type = 0;
    ASSERT_EQ(GetItemType(doc.h(), index, type), 0);
    if (type != 3) continue;
    ++objects;
    Doc item;
    long itemHandle = item.h();
    ASSERT_EQ(GetValue(doc.h(), index, static_cast<void*>(&itemHandle)), 0);
    int id = 0;
    GetValue(item.h(), "id", id);
    ids += id;
  }
  EXPECT_EQ(objects, 2);
  EXPECT_EQ(ids, 3);
}
