#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support.h"

using orvtest::Doc;

TEST(TypeQueries, ItemTypeCodesClassifyEveryElementOfAnArrayRoot) {
  Doc doc;
  ASSERT_EQ(LoadFromString(doc.h(), R"([1,3000000000,-3000000000,1.5,"s",[],{},true,10000000000000000000,null,false])"),
            0);
  const int expected[] = {32, 64, 128, 512, 5, 4, 3, 8, 256, 0, 8};
  for (int index = 0; index < 11; ++index) {
    int type = -7;
    EXPECT_EQ(GetItemType(doc.h(), index, type), 0) << index;
    EXPECT_EQ(type, expected[index]) << index;
  }
  for (const int bad : {11, -1, 1 << 30}) {
    int type = -7;
    EXPECT_EQ(GetItemType(doc.h(), bad, type), -1) << bad;
    EXPECT_EQ(type, -7);
  }
}

TEST(TypeQueries, ItemTypesNeedAnArrayRoot) {
  Doc doc;
  SetValue(doc.h(), "a", 1);
  int type = -7;
  EXPECT_EQ(GetItemType(doc.h(), 0, type), -1);
  EXPECT_EQ(GetArryItemType(doc.h(), 0, type), -1);
  EXPECT_EQ(type, -7);
}

TEST(TypeQueries, ArrayItemTypeByIndexLooksOnlyAtTheFirstInnerElement) {
  Doc doc;
  ASSERT_EQ(LoadFromString(doc.h(), R"([[1,"x"],[],5,["s"],[null],[[2]],[1.5]])"), 0);
  struct Case {
    int index;
    long result;
    int type;
  };
  const Case cases[] = {{0, 32, 32}, {1, -1, -7},   {2, -1, -7}, {3, 5, 5},   {4, 0, 0},
                        {5, 4, 4},   {6, 512, 512}, {7, -1, -7}, {-1, -1, -7}};
  for (const Case& c : cases) {
    int type = -7;
    EXPECT_EQ(GetArryItemType(doc.h(), c.index, type), c.result) << c.index;
    EXPECT_EQ(type, c.type) << c.index;
  }
}

TEST(TypeQueries, ArrayItemTypeByKeyLooksOnlyAtTheFirstElementOfTheMember) {
  Doc doc;
  ASSERT_EQ(LoadFromString(doc.h(), R"({"k":["x",1],"e":[],"n":5,"z":[null],"":[true],"k":[1]})"), 0);
  struct Case {
    std::string key;
    long result;
    int type;
  };
  const Case cases[] = {{"k", 5, 5},
                        {"e", -1, -7},
                        {"n", -1, -7},
                        {"z", 0, 0},
                        {"", 8, 8},
                        {"missing", -1, -7},
                        {std::string("k\0x", 3), 5, 5}};
  for (const Case& c : cases) {
    int type = -7;
    EXPECT_EQ(GetArryItemType(doc.h(), c.key, type), c.result) << c.key;
    EXPECT_EQ(type, c.type) << c.key;
  }
  Doc array;
  ASSERT_EQ(LoadFromString(array.h(), R"([["x"]])"), 0);
  int type = -7;
  EXPECT_EQ(GetArryItemType(array.h(), std::string("0"), type), -1);
}

TEST(TypeQueries, TagCollectListsMembersWithTheirMemberTypeCodes) {
  Doc doc;
  ASSERT_EQ(LoadFromString(doc.h(), R"({"a":1,"b":"x","c":[1],"d":{},"e":null,"f":true,"g":1.5,"h":3000000000,)"
                                    R"("i":-3000000000,"j":18446744073709551615,"k\u0000z":false,"a":2})"),
            0);
  OrvVector tags;
  tags.m_reserved = &tags;
  EXPECT_EQ(GetTagCollect(doc.h(), tags), 12);
  const std::vector<std::pair<std::string, int>> expected = {{"a", 32},  {"b", 1024}, {"c", 4},   {"d", 3},
                                                             {"e", 32},  {"f", 8},    {"g", 512}, {"h", 128},
                                                             {"i", 128}, {"j", 256},  {"k", 8},   {"a", 32}};
  ASSERT_EQ(tags.m_items.size(), expected.size());
  for (std::size_t n = 0; n < expected.size(); ++n) {
    EXPECT_EQ(tags.m_items[n].name, expected[n].first) << n;
    EXPECT_EQ(tags.m_items[n].type, expected[n].second) << n;
  }
  EXPECT_EQ(tags.m_reserved, &tags);
  EXPECT_EQ(GetTagCollect(doc.h(), tags), 12);  // appends again and counts only this call
  EXPECT_EQ(tags.m_items.size(), 24u);
  EXPECT_EQ(tags.m_items[12].name, "a");
}

TEST(TypeQueries, TagCollectListsArrayElementsByKind) {
  Doc doc;
  ASSERT_EQ(LoadFromString(doc.h(), R"([1,"x",null,true,false,{},[],2.5])"), 0);
  OrvVector tags;
  EXPECT_EQ(GetTagCollect(doc.h(), tags), 8);
  const int expected[] = {6, 5, 0, 2, 1, 3, 4, 6};
  ASSERT_EQ(tags.m_items.size(), 8u);
  for (int n = 0; n < 8; ++n) {
    EXPECT_EQ(tags.m_items[n].name, "");
    EXPECT_EQ(tags.m_items[n].type, expected[n]) << n;
  }
}

TEST(TypeQueries, AppendingToOneVectorCallAfterCallGrowsItGeometrically) {
  // A host may gather many documents into one list; room made for exactly
  // what each call appends would copy the whole list on every call.
  Doc doc;
  ASSERT_EQ(LoadFromString(doc.h(), R"({"a":1,"b":2,"c":[1,2,3]})"), 0);
  OrvVector tags;
  std::vector<int> ints;
  const auto countGrowths = [](auto& vector, auto append) {
    int growths = 0;
    for (int call = 0; call < 3000; ++call) {
      const std::size_t before = vector.capacity();
      append();
      growths += vector.capacity() != before;
    }
    return growths;
  };
  EXPECT_LE(countGrowths(tags.m_items, [&] { GetTagCollect(doc.h(), tags); }), 20);
  EXPECT_LE(countGrowths(ints, [&] { GetValue(doc.h(), "c", ints); }), 20);
  ASSERT_EQ(tags.m_items.size(), 9000u);
  ASSERT_EQ(ints.size(), 9000u);
  EXPECT_EQ(tags.m_items[8999].name, "c");
  EXPECT_EQ(ints[8999], 3);
}

TEST(TypeQueries, TagCollectAppendsNothingForEmptyAndScalarRoots) {
  for (const char* root : {"{}", "[]", "5", "null", "\"s\""}) {
    Doc doc;
    ASSERT_EQ(LoadFromString(doc.h(), root), 0);
    OrvVector tags;
    tags.m_items.push_back({"keep", 1});
    EXPECT_EQ(GetTagCollect(doc.h(), tags), 0) << root;
    EXPECT_EQ(tags.m_items.size(), 1u) << root;
  }
}
