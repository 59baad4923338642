#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support.h"

using orvtest::Doc;

namespace {

#ifndef ORVJSON_HPP
COrvBaseJson* Object(const Doc& doc) { return reinterpret_cast<COrvBaseJson*>(doc.h()); }
#endif

}  // namespace

TEST(ObjectSetters, AnotherObjectIsCopiedUnderTheKey) {
  Doc source, target;
  SetValue(source.h(), "x", 1);
  long sourceHandle = source.h();
  EXPECT_EQ(SetValue(target.h(), "o", static_cast<void*>(&sourceHandle)), 0);
  EXPECT_EQ(target.text(), R"({"o":{"x":1}})");
  SetValue(source.h(), "y", 2);  // the copy is a snapshot
  EXPECT_EQ(target.text(), R"({"o":{"x":1}})");
}

#ifndef ORVJSON_HPP  // the interface class, which the C++ layer leaves out
TEST(ObjectSetters, AnyRootIsCopiedAndAnEmptyObjectGivesAnEmptyObject) {
  for (const char* root : {"[1,\"a\",null]", "5", "\"s\"", "null", "{}", "1.5e300"}) {
    Doc source, target;
    ASSERT_EQ(LoadFromString(source.h(), root), 0);
    Object(target)->SetValue("v", Object(source));
    EXPECT_EQ(target.text(), std::string("{\"v\":") + root + "}");
  }
}
#endif

TEST(ObjectSetters, AnObjectPutIntoItselfHoldsItsEarlierState) {
  Doc doc;
  SetValue(doc.h(), "a", 1);
  long self = doc.h();
  EXPECT_EQ(SetValue(doc.h(), "s", static_cast<void*>(&self)), 0);
  EXPECT_EQ(doc.text(), R"({"a":1,"s":{"a":1}})");
}

#ifndef ORVJSON_HPP  // the interface class, which the C++ layer leaves out
TEST(ObjectSetters, ASourceWithoutJsonTextIsCopiedAsNull) {
  Doc source, target;
  SetValue(source.h(), "nan", std::nan(""));
  Object(target)->SetValue("v", Object(source));
  std::vector<COrvBaseJson*> objects{Object(source)};
  Object(target)->SetObjectArray("a", objects);
  EXPECT_EQ(target.text(), R"({"v":null,"a":[null]})");
}
#endif

#ifndef ORVJSON_HPP  // the interface class, which the C++ layer leaves out
TEST(ObjectSetters, TheCopyKeepsNumbersExactly) {
  Doc source, target;
  SetValue(source.h(), "d", 0.1f);
  SetValue(source.h(), "u", 4294967295u);
  long handle = source.h();
  SetValue(target.h(), "c", static_cast<void*>(&handle));
  Doc inner;
  ASSERT_EQ(GetValue(target.h(), "c", Object(inner)), 0);
  double d = 0;
  unsigned u = 0;
  GetValue(inner.h(), "d", d);
  GetValue(inner.h(), "u", u);
  EXPECT_EQ(orvtest::BitsOf(d), orvtest::BitsOf(static_cast<double>(0.1f)));
  EXPECT_EQ(u, 4294967295u);
}
#endif

TEST(ObjectSetters, TheVoidPointerFormChecksItsPointerAndItsHandleVariable) {
  Doc target;
  long zero = 0, negative = -5;
  EXPECT_EQ(SetValue(target.h(), "k", static_cast<void*>(nullptr)), -1);
  EXPECT_EQ(SetValue(target.h(), "k", static_cast<void*>(&zero)), 0);  // nothing added
  EXPECT_EQ(SetValue(target.h(), "k", static_cast<void*>(&negative)), -1);
  EXPECT_EQ(target.text(), "{}");
  Doc source;
  long handle = source.h();
  EXPECT_EQ(SetValue(target.h(), nullptr, static_cast<void*>(&handle)), 0);
  ASSERT_EQ(LoadFromString(target.h(), "[]"), 0);
  EXPECT_EQ(SetValue(target.h(), "k", static_cast<void*>(&handle)), 0);
  EXPECT_EQ(target.text(), "[]");
}

#ifndef ORVJSON_HPP  // the interface class, which the C++ layer leaves out
TEST(ObjectSetters, TheVectorFormAddsOneMemberPerHandleUnderTheSameKey) {
  Doc a, b, target;
  SetValue(a.h(), "n", 1);
  SetValue(b.h(), "n", 2);
  long ha = a.h(), hb = b.h(), zero = 0;
  std::vector<void*> sources{&ha, &zero, &hb};
  EXPECT_EQ(SetValue(target.h(), "k", sources), 0);
  EXPECT_EQ(target.text(), R"({"k":{"n":1},"k":{"n":2}})");
  Doc first;
  ASSERT_EQ(GetValue(target.h(), "k", Object(first)), 0);
  EXPECT_EQ(first.text(), R"({"n":1})");
}
#endif

TEST(ObjectSetters, TheVectorFormChecksEveryElementBeforeAddingAny) {
  Doc a, target;
  long ha = a.h(), negative = -1;
  std::vector<void*> empty;
  std::vector<void*> withNull{&ha, nullptr};
  std::vector<void*> withNegative{&ha, &negative};
  EXPECT_EQ(SetValue(target.h(), "k", empty), -1);
  EXPECT_EQ(SetValue(target.h(), "k", withNull), -1);
  EXPECT_EQ(SetValue(target.h(), "k", withNegative), -1);
  EXPECT_EQ(target.text(), "{}");
}

#ifndef ORVJSON_HPP  // the interface class, which the C++ layer leaves out
TEST(ObjectSetters, SetObjectArrayBuildsOneArrayAndSkipsNullObjects) {
  Doc a, b, target;
  SetValue(a.h(), "n", 1);
  ASSERT_EQ(LoadFromString(b.h(), "[true]"), 0);
  std::vector<COrvBaseJson*> objects{Object(a), nullptr, Object(b)};
  Object(target)->SetObjectArray("arr", objects);
  std::vector<COrvBaseJson*> none{nullptr};
  Object(target)->SetObjectArray("none", none);
  EXPECT_EQ(target.text(), R"({"arr":[{"n":1},[true]],"none":[]})");
}
#endif

#ifndef ORVJSON_HPP  // the interface class, which the C++ layer leaves out
TEST(ObjectGetters, AnObjectOrArrayMemberBecomesTheTargetsRoot) {
  Doc source;
  ASSERT_EQ(LoadFromString(source.h(), R"({"o":{"x":1},"a":[1,2],"o":{"second":true}})"), 0);
  Doc target;
  SetValue(target.h(), "old", 1);
  EXPECT_EQ(GetValue(source.h(), "o", Object(target)), 0);
  EXPECT_EQ(target.text(), R"({"x":1})");
  long targetHandle = target.h();
  EXPECT_EQ(GetValue(source.h(), "a", static_cast<void*>(&targetHandle)), 0);
  EXPECT_EQ(target.text(), "[1,2]");
  EXPECT_EQ(Members(target.h()), 2);
  SetValue(source.h(), "later", 1);
  EXPECT_EQ(target.text(), "[1,2]");
}
#endif

#ifndef ORVJSON_HPP  // the interface class, which the C++ layer leaves out
TEST(ObjectGetters, OtherKindsAndMissingMembersLeaveTheTargetAlone) {
  Doc source;
  ASSERT_EQ(LoadFromString(source.h(), R"({"s":"text","n":5,"z":null,"b":true,"d":1.5})"), 0);
  Doc target;
  SetValue(target.h(), "keep", 1);
  for (const char* key : {"s", "n", "z", "b", "d", "missing"}) {
    EXPECT_EQ(GetValue(source.h(), key, Object(target)), -1) << key;
  }
  EXPECT_EQ(GetValue(source.h(), nullptr, Object(target)), -1);
  EXPECT_EQ(GetValue(source.h(), "s", static_cast<COrvBaseJson*>(nullptr)), -1);
  EXPECT_EQ(target.text(), R"({"keep":1})");
}
#endif

TEST(ObjectGetters, TheVoidPointerFormChecksPointerHandleAndTarget) {
  Doc source;
  ASSERT_EQ(LoadFromString(source.h(), R"({"o":{}})"), 0);
  long zero = 0, negative = -3;
  EXPECT_EQ(GetValue(source.h(), "o", static_cast<void*>(nullptr)), -1);
  EXPECT_EQ(GetValue(source.h(), "o", static_cast<void*>(&zero)), -1);
  EXPECT_EQ(GetValue(source.h(), "o", static_cast<void*>(&negative)), -1);
  Doc target;
  long handle = target.h();
  EXPECT_EQ(GetValue(0L, "o", static_cast<void*>(&handle)), -1);
  EXPECT_EQ(GetValue(-1L, "o", static_cast<void*>(&handle)), -1);
}

#ifndef ORVJSON_HPP  // the interface class, which the C++ layer leaves out
TEST(ObjectGetters, GettingAMemberIntoItsOwnObjectLeavesTheMember) {
  Doc doc;
  ASSERT_EQ(LoadFromString(doc.h(), R"({"o":{"x":1},"y":2})"), 0);
  EXPECT_EQ(GetValue(doc.h(), "o", Object(doc)), 0);
  EXPECT_EQ(doc.text(), R"({"x":1})");
}
#endif

#ifndef ORVJSON_HPP  // the interface class, which the C++ layer leaves out
TEST(ObjectGetters, AMemberWithoutJsonTextLeavesTheTargetEmpty) {
  Doc source, target;
  SetValue(target.h(), "old", 1);
  std::vector<double> bad{1.0, std::numeric_limits<double>::infinity()};
  SetValue(source.h(), "a", bad);
  EXPECT_EQ(GetValue(source.h(), "a", Object(target)), -1);
  EXPECT_EQ(target.text(), "{}");
}
#endif
