#include <climits>
#include <cmath>
#include <functional>
#include <limits>
#include <string>

#include <gtest/gtest.h>

#include "support.h"

using orvtest::Doc;

namespace {

struct SetterCase {
  const char* name;
  std::function<long(long)> set;
  const char* text;  // the document's text afterwards
};

}  // namespace

TEST(ScalarSetters, EachSetterStoresItsKindAndWritesItsText) {
  const std::string withNul("a\0b", 3);
  const SetterCase cases[] = {
      {"null", [](long h) { return SetValue(h, "k"); }, R"({"k":null})"},
      {"int", [](long h) { return SetValue(h, "k", 1); }, R"({"k":1})"},
      {"negative int", [](long h) { return SetValue(h, "k", -5); }, R"({"k":-5})"},
      {"int min", [](long h) { return SetValue(h, "k", INT_MIN); }, R"({"k":-2147483648})"},
      {"int max", [](long h) { return SetValue(h, "k", INT_MAX); }, R"({"k":2147483647})"},
      {"unsigned max", [](long h) { return SetValue(h, "k", 4294967295u); }, R"({"k":4294967295})"},
      {"unsigned in int range", [](long h) { return SetValue(h, "k", 2147483647u); }, R"({"k":2147483647})"},
      {"true", [](long h) { return SetValue(h, "k", true); }, R"({"k":true})"},
      {"false", [](long h) { return SetValue(h, "k", false); }, R"({"k":false})"},
      {"float widened exactly", [](long h) { return SetValue(h, "k", 0.1f); }, R"({"k":0.10000000149011612})"},
      {"double unchanged", [](long h) { return SetValue(h, "k", 0.1); }, R"({"k":0.1})"},
      {"integral double keeps a fraction", [](long h) { return SetValue(h, "k", 1.0); }, R"({"k":1.0})"},
      {"negative zero", [](long h) { return SetValue(h, "k", -0.0); }, R"({"k":-0.0})"},
      {"largest double", [](long h) { return SetValue(h, "k", std::numeric_limits<double>::max()); },
       R"({"k":1.7976931348623157e308})"},
      {"smallest subnormal", [](long h) { return SetValue(h, "k", std::numeric_limits<double>::denorm_min()); },
       R"({"k":5e-324})"},
      {"C string", [](long h) { return SetValue(h, "k", "x"); }, R"({"k":"x"})"},
      {"C string ends at NUL", [&](long h) { return SetValue(h, "k", withNul.c_str()); }, R"({"k":"a"})"},
      {"std::string keeps NUL", [&](long h) { return SetValue(h, "k", withNul); }, R"({"k":"a\u0000b"})"},
      {"empty string", [](long h) { return SetValue(h, "k", std::string()); }, R"({"k":""})"},
      {"empty key", [](long h) { return SetValue(h, "", 1); }, R"({"":1})"},
      {"null C string value adds nothing", [](long h) { return SetValue(h, "k", static_cast<const char*>(nullptr)); },
       "{}"},
      {"null key adds nothing", [](long h) { return SetValue(h, nullptr, 1); }, "{}"},
      {"null key, string", [](long h) { return SetValue(h, nullptr, std::string("v")); }, "{}"},
      {"null key, null", [](long h) { return SetValue(h, static_cast<const char*>(nullptr)); }, "{}"},
  };
  for (const SetterCase& c : cases) {
    Doc doc;
    EXPECT_EQ(c.set(doc.h()), 0) << c.name;
    EXPECT_EQ(doc.text(), c.text) << c.name;
  }
}

TEST(ScalarSetters, SettersAppendInCallOrderAndKeepDuplicateNames) {
  Doc doc;
  SetValue(doc.h(), "a", 1);
  SetValue(doc.h(), "b", "x");
  SetValue(doc.h(), "a", 2);
  EXPECT_EQ(doc.text(), R"({"a":1,"b":"x","a":2})");
  EXPECT_EQ(Members(doc.h()), 3);
}

TEST(ScalarSetters, MembersFollowWhatALoadPutThere) {
  Doc doc;
  ASSERT_EQ(LoadFromString(doc.h(), R"({"x":1})"), 0);
  SetValue(doc.h(), "y", 2);
  EXPECT_EQ(doc.text(), R"({"x":1,"y":2})");
}

TEST(ScalarSetters, ARootThatIsNotAnObjectIsLeftAlone) {
  const SetterCase setters[] = {
      {"null", [](long h) { return SetValue(h, "k"); }, nullptr},
      {"int", [](long h) { return SetValue(h, "k", 1); }, nullptr},
      {"unsigned", [](long h) { return SetValue(h, "k", 1u); }, nullptr},
      {"bool", [](long h) { return SetValue(h, "k", true); }, nullptr},
      {"float", [](long h) { return SetValue(h, "k", 1.0f); }, nullptr},
      {"double", [](long h) { return SetValue(h, "k", 1.0); }, nullptr},
      {"C string", [](long h) { return SetValue(h, "k", "v"); }, nullptr},
      {"std::string", [](long h) { return SetValue(h, "k", std::string("v")); }, nullptr},
  };
  for (const char* root : {"[1]", "5", "\"s\"", "null", "true"}) {
    for (const SetterCase& c : setters) {
      Doc doc;
      ASSERT_EQ(LoadFromString(doc.h(), root), 0);
      EXPECT_EQ(c.set(doc.h()), 0) << c.name << " on " << root;
      EXPECT_EQ(doc.text(), root) << c.name << " on " << root;
    }
  }
}

TEST(ScalarSetters, KeysAndStringsAreCopiedIn) {
  Doc doc;
  std::string key = "key";
  std::string value(300, 'v');  // longer than a string held inside the value
  char shortKey[] = "ab";
  SetValue(doc.h(), key.c_str(), value);
  SetValue(doc.h(), shortKey, value.c_str());
  key[0] = 'X';
  value.assign(300, 'X');
  shortKey[0] = 'X';
  const std::string vs(300, 'v');
  EXPECT_EQ(doc.text(), "{\"key\":\"" + vs + "\",\"ab\":\"" + vs + "\"}");
}

TEST(ScalarSetters, KeysAreStoredAsBytesUpToTheirFirstNul) {
  Doc doc;
  SetValue(doc.h(), "a\0b", 1);
  SetValue(doc.h(), "\xC3\xA9\xFF", 2);  // non-ASCII and invalid UTF-8 kept as they are
  EXPECT_EQ(doc.text(), "{\"a\":1,\"\xC3\xA9\xFF\":2}");
}

TEST(ScalarSetters, NonFiniteNumbersAreStoredButHaveNoText) {
  for (const double bad :
       {std::nan(""), std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity()}) {
    Doc doc;
    SetValue(doc.h(), "fine", 1);
    EXPECT_EQ(SetValue(doc.h(), "bad", bad), 0);
    EXPECT_EQ(Members(doc.h()), 2);
    EXPECT_EQ(doc.text(), "");
  }
  Doc floats;
  EXPECT_EQ(SetValue(floats.h(), "bad", std::numeric_limits<float>::infinity()), 0);
  EXPECT_EQ(floats.text(), "");
}
