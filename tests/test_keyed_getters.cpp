#include <cstring>
#include <limits>
#include <string>

#include <gtest/gtest.h>

#include "support.h"

using orvtest::BitsOf;
using orvtest::Doc;

namespace {

const char kDocument[] =
    R"({"i":2147483647,"big":2147483648,"neg":-1,"five":5,"fived":5.0,"e39":1e39,"nul":null,"f":false,)"
    R"("t":true,"s":"a\u0000b","str":"hello","dup":1,"dup":2,"":7,"Key":1,"fmax":3.4028234663852886e38,)"
    R"("fbound":3.4028234e38,"nfbound":-3.4028234e38,"tiny":1e-50,"o":{},"a":[1],"u64":18446744073709551615})";

template <typename T>
void CheckReads(long h, T sentinel, std::initializer_list<orvtest::ExpectedRead<const char*, T>> reads) {
  orvtest::CheckReads<const char*, T>(h, sentinel, reads);
}

class KeyedGetters : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(LoadFromString(doc.h(), kDocument), 0); }
  Doc doc;
};

}  // namespace

TEST_F(KeyedGetters, IntAcceptsThirtyTwoBitIntegersAndNullAndReportsZeroWhateverItFinds) {
  CheckReads<int>(doc.h(), 99,
                  {{"i", 0, true, 2147483647},
                   {"neg", 0, true, -1},
                   {"nul", 0, true, 0},
                   {"dup", 0, true, 1},
                   {"", 0, true, 7},
                   {"big", 0, false, 0},
                   {"fived", 0, false, 0},
                   {"f", 0, false, 0},
                   {"s", 0, false, 0},
                   {"o", 0, false, 0},
                   {"key", 0, false, 0},
                   {"missing", 0, false, 0},
                   {nullptr, 0, false, 0}});
}

TEST_F(KeyedGetters, UnsignedAcceptsUnsignedThirtyTwoBitIntegersAndReportsOnlyMissingMembers) {
  CheckReads<unsigned>(doc.h(), 99u,
                       {{"big", 0, true, 2147483648u},
                        {"i", 0, true, 2147483647u},
                        {"five", 0, true, 5u},
                        {"neg", 0, false, 0},
                        {"fived", 0, false, 0},
                        {"u64", 0, false, 0},
                        {"nul", 0, false, 0},
                        {"missing", -1, false, 0},
                        {nullptr, -1, false, 0}});
}

TEST_F(KeyedGetters, DoubleAcceptsOnlyNumbersStoredAsDoubles) {
  CheckReads<double>(doc.h(), 99.0,
                     {{"fived", 0, true, 5.0},
                      {"e39", 0, true, 1e39},
                      {"tiny", 0, true, 1e-50},
                      {"five", 0, false, 0},
                      {"nul", 0, false, 0},
                      {"s", 0, false, 0},
                      {"missing", -1, false, 0}});
}

TEST_F(KeyedGetters, FloatAcceptsDoublesWithinTheBoundAndReportsZeroWhateverItFinds) {
  CheckReads<float>(doc.h(), 99.0f,
                    {{"fived", 0, true, 5.0f},
                     {"tiny", 0, true, 0.0f},
                     {"fbound", 0, true, static_cast<float>(3.4028234e38)},
                     {"nfbound", 0, true, static_cast<float>(-3.4028234e38)},
                     {"fmax", 0, false, 0},  // the largest float lies beyond the bound
                     {"e39", 0, false, 0},
                     {"five", 0, false, 0},
                     {"missing", 0, false, 0}});
}

TEST_F(KeyedGetters, BoolAcceptsOnlyTrueAndFalse) {
  CheckReads<bool>(
      doc.h(), true,
      {{"f", 0, true, false}, {"nul", 0, false, false}, {"five", 0, false, false}, {"missing", -1, false, false}});
  CheckReads<bool>(doc.h(), false, {{"t", 0, true, true}, {"str", 0, false, false}});
}

TEST_F(KeyedGetters, StringDeliversBytesUpToTheFirstNulAndReplacesTheOutput) {
  CheckReads<std::string>(doc.h(), "old",
                          {{"str", 0, true, "hello"},
                           {"s", 0, true, "a"},
                           {"five", 0, false, ""},
                           {"nul", 0, false, ""},
                           {"missing", 0, false, ""}});
}

TEST_F(KeyedGetters, GetIsNullIsOneOnlyForANullMember) {
  EXPECT_EQ(GetIsNULL(doc.h(), "nul"), 1);
  for (const char* key : {"i", "f", "s", "o", "a", "missing", "NUL"}) EXPECT_EQ(GetIsNULL(doc.h(), key), -1) << key;
  EXPECT_EQ(GetIsNULL(doc.h(), nullptr), -1);
}

TEST(KeyedGetterLookup, KeysMatchByExactBytesAndTheFirstMemberWins) {
  Doc doc;
  SetValue(doc.h(), "Key", 1);
  SetValue(doc.h(), "key", 2);
  SetValue(doc.h(), "key", 3);
  SetValue(doc.h(), "ke", 4);
  SetValue(doc.h(), "key ", 5);
  int out = 0;
  GetValue(doc.h(), "key", out);
  EXPECT_EQ(out, 2);
  GetValue(doc.h(), "Key", out);
  EXPECT_EQ(out, 1);
  GetValue(doc.h(), "ke", out);
  EXPECT_EQ(out, 4);
  unsigned u = 0;
  EXPECT_EQ(GetValue(doc.h(), "KEY", u), -1);
}

TEST(KeyedGetterLookup, EveryGetterIsMinusOneOnARootThatIsNotAnObject) {
  for (const char* root : {"[1,2]", "5", "null", "\"a\""}) {
    Doc doc;
    ASSERT_EQ(LoadFromString(doc.h(), root), 0);
    int i = 9;
    unsigned u = 9;
    float f = 9;
    double d = 9;
    bool b = true;
    std::string s = "keep";
    GetValue(doc.h(), "a", i);
    GetValue(doc.h(), "a", f);
    GetValue(doc.h(), "a", s);
    EXPECT_EQ(GetValue(doc.h(), "a", u), -1);
    EXPECT_EQ(GetValue(doc.h(), "a", d), -1);
    EXPECT_EQ(GetValue(doc.h(), "a", b), -1);
    EXPECT_EQ(GetIsNULL(doc.h(), "a"), -1);
    EXPECT_EQ(i, 9);
    EXPECT_EQ(u, 9u);
    EXPECT_EQ(f, 9.0f);
    EXPECT_EQ(d, 9.0);
    EXPECT_TRUE(b);
    EXPECT_EQ(s, "keep");
  }
}

#ifndef ORVJSON_HPP  // the interface class, which the C++ layer leaves out
TEST(KeyedGetterLookup, TheIntGetterReportsAWrongKindThroughTheInterface) {
  // The export hides the result; the operation itself tells refusal apart.
  Doc doc;
  ASSERT_EQ(LoadFromString(doc.h(), R"({"f":false,"big":2147483648,"n":null})"), 0);
  COrvBaseJson* object = reinterpret_cast<COrvBaseJson*>(doc.h());
  int out = 5;
  EXPECT_EQ(object->GetValue("f", out), -1);
  EXPECT_EQ(object->GetValue("big", out), -1);
  EXPECT_EQ(out, 5);
  EXPECT_EQ(object->GetValue("n", out), 0);
  EXPECT_EQ(out, 0);
  float f = 1;
  std::string s;
  EXPECT_EQ(object->GetValue("missing", f), -1);
  EXPECT_EQ(object->GetValue("missing", s), -1);
}
#endif

TEST(KeyedGetterRoundTrip, ScalarsSetAreReadBackWithTheirBits) {
  Doc doc;
  SetValue(doc.h(), "int", -123456);
  SetValue(doc.h(), "uint", 4000000000u);
  SetValue(doc.h(), "float", 0.1f);
  SetValue(doc.h(), "double", 0.1);
  SetValue(doc.h(), "bool", true);
  SetValue(doc.h(), "text", std::string("z\xC3\xBCrich"));
  SetValue(doc.h(), "null");
  Doc loaded;
  ASSERT_EQ(LoadFromString(loaded.h(), doc.text()), 0);
  for (const long h : {doc.h(), loaded.h()}) {
    int i = 0, n = 7;
    unsigned u = 0;
    float f = 0;
    double fd = 0, d = 0;
    bool b = false;
    std::string s;
    GetValue(h, "int", i);
    GetValue(h, "uint", u);
    GetValue(h, "float", f);
    GetValue(h, "float", fd);
    GetValue(h, "double", d);
    GetValue(h, "bool", b);
    GetValue(h, "text", s);
    GetValue(h, "null", n);
    EXPECT_EQ(i, -123456);
    EXPECT_EQ(u, 4000000000u);
    EXPECT_EQ(BitsOf(f), BitsOf(0.1f));
    EXPECT_EQ(BitsOf(fd), BitsOf(static_cast<double>(0.1f)));
    EXPECT_EQ(BitsOf(d), BitsOf(0.1));
    EXPECT_TRUE(b);
    EXPECT_EQ(s, "z\xC3\xBCrich");
    EXPECT_EQ(n, 0);
  }
}

// Roots of many members are looked up through an index; it must agree with
// a scan after every way the root can change.
TEST(KeyedGetterLookup, LargeRootsFindTheFirstOfEachNameAfterEveryChange) {
  const auto firstOf = [](long h, const std::string& key) {
    int value = -1;
    GetValue(h, key.c_str(), value);
    return value;
  };
  Doc doc;
  for (int i = 0; i < 200; ++i) SetValue(doc.h(), ("k" + std::to_string(i % 100)).c_str(), i);
  EXPECT_EQ(firstOf(doc.h(), "k7"), 7);  // builds the index: 100 names, each twice
  for (int i = 200; i < 400; ++i) SetValue(doc.h(), ("k" + std::to_string(i % 150)).c_str(), i);
  EXPECT_EQ(firstOf(doc.h(), "k7"), 7);
  EXPECT_EQ(firstOf(doc.h(), "k120"), 270);  // appended after the index was built
  EXPECT_EQ(firstOf(doc.h(), "k150"), -1);
  EXPECT_EQ(firstOf(doc.h(), std::string("k7\0x", 4)), 7);  // a key ends at its NUL

  long self = doc.h();
  SetValue(doc.h(), "k7", static_cast<void*>(&self));  // a copy of the root, appended last
  EXPECT_EQ(firstOf(doc.h(), "k7"), 7);
  EXPECT_EQ(Members(doc.h()), 401);

  std::string text = "{";
  for (int i = 0; i < 300; ++i)
    text += (i > 0 ? ",\"k" : "\"k") + std::to_string(299 - i % 50) + "\":" + std::to_string(i);
  ASSERT_EQ(LoadFromString(doc.h(), text + "}"), 0);
  EXPECT_EQ(firstOf(doc.h(), "k299"), 0);
  EXPECT_EQ(firstOf(doc.h(), "k7"), -1);  // the old root's index is gone
  GetValue(doc.h(), "k299", static_cast<void*>(&self));
  Clear(doc.h());
  EXPECT_EQ(firstOf(doc.h(), "k299"), -1);
  for (int i = 0; i < 100; ++i) SetValue(doc.h(), ("n" + std::to_string(i)).c_str(), i);
  EXPECT_EQ(firstOf(doc.h(), "n99"), 99);
}
