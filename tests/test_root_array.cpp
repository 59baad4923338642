#include <string>

#include <gtest/gtest.h>

#include "support.h"

using orvtest::Doc;

namespace {

const char kArray[] =
    R"([7, -1, 70000, 2.5, 5, true, false, null, "ab", {"k":1}, 3000000000, 1e39, "x\u0000y", 3.4028234e38])";

// Element reads write their output exactly when they return 0.
template <typename T>
struct ElementRead {
  int index;
  long result;
  T value;
};

template <typename T>
void CheckElements(long h, T sentinel, std::initializer_list<ElementRead<T>> reads) {
  for (const ElementRead<T>& r : reads) {
    orvtest::CheckReads<int, T>(h, sentinel, {{r.index, r.result, r.result == 0, r.value}});
  }
}

class RootArray : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(LoadFromString(doc.h(), kArray), 0); }
  Doc doc;
};

}  // namespace

TEST_F(RootArray, IntAcceptsSmallIntegersAndBooleans) {
  CheckElements<int>(doc.h(), 99,
                     {{0, 0, 7}, {2, 0, 70000}, {5, 0, 1}, {6, 0, 0}, {7, -1, 0}, {3, -1, 0}, {10, -1, 0}, {8, -1, 0}});
}

TEST_F(RootArray, ShortAcceptsSmallIntegersBooleansAndNullKeepingTheLowSixteenBits) {
  CheckElements<short>(doc.h(), 99,
                       {{1, 0, -1}, {2, 0, 4464}, {7, 0, 0}, {5, 0, 1}, {6, 0, 0}, {3, -1, 0}, {10, -1, 0}});
}

TEST_F(RootArray, DoubleAndFloatAcceptOnlyDoubles) {
  CheckElements<double>(doc.h(), 99.0, {{3, 0, 2.5}, {11, 0, 1e39}, {4, -1, 0}, {7, -1, 0}});
  CheckElements<float>(doc.h(), 99.0f,
                       {{3, 0, 2.5f}, {13, 0, static_cast<float>(3.4028234e38)}, {11, -1, 0}, {4, -1, 0}});
}

TEST_F(RootArray, BoolAndStringAcceptOnlyTheirKinds) {
  CheckElements<bool>(doc.h(), false, {{5, 0, true}, {0, -1, false}, {7, -1, false}});
  CheckElements<bool>(doc.h(), true, {{6, 0, false}});
  CheckElements<std::string>(doc.h(), "old", {{8, 0, "ab"}, {12, 0, "x"}, {0, -1, ""}, {9, -1, ""}});
}

TEST_F(RootArray, GetIsNullIsOneOnlyForTheNullElement) {
  for (int index = -1; index <= 14; ++index) EXPECT_EQ(GetIsNULL(doc.h(), index), index == 7 ? 1 : -1) << index;
}

TEST_F(RootArray, EveryIndexOperationRefusesIndexesOutsideTheArray) {
  for (const int index : {-1, 14, 1000000, -2147483647 - 1, 2147483647}) {
    short s = 9;
    int i = 9, type = 9;
    float f = 9;
    double d = 9;
    bool b = true;
    std::string str = "keep";
    Doc target;
    long targetHandle = target.h();
    EXPECT_EQ(GetValue(doc.h(), index, s), -1);
    EXPECT_EQ(GetValue(doc.h(), index, i), -1);
    EXPECT_EQ(GetValue(doc.h(), index, f), -1);
    EXPECT_EQ(GetValue(doc.h(), index, d), -1);
    EXPECT_EQ(GetValue(doc.h(), index, b), -1);
    EXPECT_EQ(GetValue(doc.h(), index, str), -1);
    EXPECT_EQ(GetValue(doc.h(), index, static_cast<void*>(&targetHandle)), -1);
    EXPECT_EQ(GetIsNULL(doc.h(), index), -1);
    EXPECT_EQ(GetItemType(doc.h(), index, type), -1);
    EXPECT_EQ(GetArryItemType(doc.h(), index, type), -1);
    EXPECT_EQ(s, 9);
    EXPECT_EQ(i, 9);
    EXPECT_EQ(type, 9);
    EXPECT_EQ(f, 9.0f);
    EXPECT_EQ(d, 9.0);
    EXPECT_TRUE(b);
    EXPECT_EQ(str, "keep");
    EXPECT_EQ(target.text(), "{}");
  }
}

TEST(RootArrayKinds, IndexOperationsRefuseARootThatIsNotAnArray) {
  Doc doc;
  SetValue(doc.h(), "0", 1);
  int i = 9;
  std::string s = "keep";
  EXPECT_EQ(GetValue(doc.h(), 0, i), -1);
  EXPECT_EQ(GetValue(doc.h(), 0, s), -1);
  EXPECT_EQ(GetIsNULL(doc.h(), 0), -1);
  Clear(doc.h());
  EXPECT_EQ(GetValue(doc.h(), 0, s), -1);
  EXPECT_EQ(i, 9);
  EXPECT_EQ(s, "keep");
}

TEST_F(RootArray, AnObjectElementIsCopiedIntoTheTarget) {
  Doc target;
  SetValue(target.h(), "old", 1);
  long targetHandle = target.h();
  EXPECT_EQ(GetValue(doc.h(), 9, static_cast<void*>(&targetHandle)), 0);
  EXPECT_EQ(target.text(), R"({"k":1})");
  EXPECT_EQ(Members(target.h()), 1);
  int k = 0;
  GetValue(target.h(), "k", k);
  EXPECT_EQ(k, 1);
  ASSERT_EQ(LoadFromString(target.h(), "[0]"), 0);
  EXPECT_EQ(GetValue(doc.h(), 8, static_cast<void*>(&targetHandle)), -1);  // a string element
  EXPECT_EQ(target.text(), "[0]");
}

TEST_F(RootArray, TheElementCopyChecksItsPointerBeforeReadingIt) {
  long zero = 0;
  EXPECT_EQ(GetValue(doc.h(), 9, static_cast<void*>(nullptr)), -1);
  EXPECT_EQ(GetValue(doc.h(), 9, static_cast<void*>(&zero)), -1);
  EXPECT_EQ(GetValue(0L, 9, static_cast<void*>(nullptr)), -1);
}

TEST_F(RootArray, AnElementCopiedIntoItsOwnObjectBecomesTheRoot) {
  long self = doc.h();
  EXPECT_EQ(GetValue(doc.h(), 9, static_cast<void*>(&self)), 0);
  EXPECT_EQ(doc.text(), R"({"k":1})");
}
