#include <climits>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support.h"

using orvtest::Doc;

TEST(Lifecycle, ANewObjectIsAnEmptyObjectThatAcceptsEveryLifecycleCall) {
  const long h = Create();
  ASSERT_GT(h, 0);
  EXPECT_EQ(Members(h), 0);
  EXPECT_EQ(GetString(h), "{}");
  EXPECT_EQ(::Test(h), 0);
  EXPECT_EQ(GetString(h), "{}");
  EXPECT_EQ(Clear(h), 0);
  EXPECT_EQ(GetString(h), "{}");
  EXPECT_EQ(Release(h), 0);
}

TEST(Lifecycle, HandlesOfLiveObjectsAreDistinct) {
  Doc a, b;
  EXPECT_NE(a.h(), b.h());
  SetValue(a.h(), "only_a", 1);
  EXPECT_EQ(b.text(), "{}");
}

TEST(Lifecycle, MembersCountsMembersOrElementsAndNothingElse) {
  struct Case {
    const char* text;
    long members;
  };
  const Case cases[] = {
      {"[1,2,3]", 3}, {"{}", 0},   {"[]", 0},   {"{\"a\":1,\"a\":2}", 2}, {"5", 0},
      {"\"s\"", 0},   {"true", 0}, {"null", 0}, {"[[1,2],{}]", 2},        {"{\"o\":{\"x\":1}}", 1},
  };
  for (const Case& c : cases) {
    Doc doc;
    ASSERT_EQ(LoadFromString(doc.h(), c.text), 0) << c.text;
    EXPECT_EQ(Members(doc.h()), c.members) << c.text;
  }
}

TEST(Lifecycle, RepeatedKeysEachCountAsAMember) {
  Doc doc;
  SetValue(doc.h(), "k", 1);
  SetValue(doc.h(), "k", 2);
  SetValue(doc.h(), "k");
  EXPECT_EQ(Members(doc.h()), 3);
}

TEST(Lifecycle, ClearAfterALoadLeavesAnEmptyObject) {
  Doc doc;
  ASSERT_EQ(LoadFromString(doc.h(), "[1,2,3]"), 0);
  EXPECT_EQ(Clear(doc.h()), 0);
  EXPECT_EQ(Members(doc.h()), 0);
  EXPECT_EQ(doc.text(), "{}");
  SetValue(doc.h(), "a", 1);
  EXPECT_EQ(doc.text(), "{\"a\":1}");
}

TEST(Lifecycle, ADoubleReleaseIsRefusedAndLeavesOtherObjectsAlone) {
  const long h = Create();
  Doc survivor;
  SetValue(survivor.h(), "kept", 1);
  EXPECT_EQ(Release(h), 0);
  EXPECT_EQ(Release(h), -1);
  EXPECT_EQ(survivor.text(), "{\"kept\":1}");
}

// Handles are addresses below 2 GiB on every target, so they stay positive
// in a 32-bit long (Windows, 64-bit Windows too) however many are live.
TEST(Lifecycle, AMillionLiveHandlesArePositiveDistinctAndUsable) {
  constexpr int kHandles = 1000000;
  std::vector<long> handles(kHandles);
  for (long& h : handles) h = Create();
  for (int n = 0; n < kHandles; n += 997) {
    ASSERT_GT(handles[n], 0) << n;
    ASSERT_LT(static_cast<unsigned long>(handles[n]), 0x80000000ul) << n;
    ASSERT_EQ(SetValue(handles[n], "n", n), 0);
  }
  for (int n = 0; n < kHandles; n += 997) {
    int value = -1;
    GetValue(handles[n], "n", value);
    ASSERT_EQ(value, n);
  }
  for (const long h : handles) ASSERT_EQ(Release(h), 0);
}

#ifndef ORVJSON_HPP  // the interface class, which the C++ layer leaves out
TEST(Lifecycle, ReleaseThroughTheInterfaceDestroysTheObject) {
  // Destroy is reachable only through the interface; under the sanitizers a
  // double free or leak here fails the run.
  const long h = Create();
  SetValue(h, "a", std::string(1000, 'x'));
  reinterpret_cast<COrvBaseJson*>(h)->Destroy();
}
#endif

// Every export but Create rejects handles of 0 and below, and (a best
// effort) handles already released and numbers that never came from Create,
// and touches no output.
TEST(Lifecycle, EveryExportRejectsHandlesThatNameNoLiveObjectWithoutTouchingOutputs) {
  Doc other;
  long otherHandle = other.h();
  const long released = Create();
  Release(released);
  const long stranger = static_cast<long>(reinterpret_cast<std::intptr_t>(&otherHandle) & 0x7FFFFFFF);
  for (const long bad : {0L, -1L, LONG_MIN, released, released + 8, stranger, 1L, 4096L}) {
    int i = 7;
    unsigned u = 7;
    float f = 7.0f;
    double d = 7.0;
    bool b = true;
    short s = 7;
    int type = 7;
    int bom = 7;
    std::string str = "keep";
    std::vector<unsigned char> bytes{7};
    std::vector<short> shorts{7};
    std::vector<int> ints{7};
    std::vector<double> doubles{7.0};
    std::vector<std::string> strings{"keep"};
    std::vector<void*> sources{&otherHandle};
    OrvVector tags;
    tags.m_items.push_back({"keep", 7});

    const std::vector<std::function<long()>> calls = {
        [&] { return Release(bad); },
        [&] { return ::Test(bad); },
        [&] { return Clear(bad); },
        [&] { return Members(bad); },
        [&] { return LoadJsonFile(bad, ORVJSON_EXAMPLE_JSON, bom); },
        [&] { return LoadFromString(bad, "{}"); },
        [&] { return WriteToFile(bad, "never-written.json"); },
        [&] { return SetValue(bad, "k"); },
        [&] { return SetValue(bad, "k", 1); },
        [&] { return SetValue(bad, "k", 1u); },
        [&] { return SetValue(bad, "k", true); },
        [&] { return SetValue(bad, "k", 1.0f); },
        [&] { return SetValue(bad, "k", 1.0); },
        [&] { return SetValue(bad, "k", "v"); },
        [&] { return SetValue(bad, "k", std::string("v")); },
        [&] { return SetValue(bad, "k", bytes); },
        [&] { return SetValue(bad, "k", shorts); },
        [&] { return SetValue(bad, "k", ints); },
        [&] { return SetValue(bad, "k", doubles); },
        [&] { return SetValue(bad, "k", strings); },
        [&] { return SetValue(bad, "k", static_cast<void*>(&otherHandle)); },
        [&] { return SetValue(bad, "k", sources); },
        [&] { return GetValue(bad, "k", i); },
        [&] { return GetValue(bad, "k", u); },
        [&] { return GetValue(bad, "k", f); },
        [&] { return GetValue(bad, "k", d); },
        [&] { return GetValue(bad, "k", b); },
        [&] { return GetValue(bad, "k", str); },
        [&] { return GetIsNULL(bad, "k"); },
        [&] { return GetValue(bad, "k", bytes); },
        [&] { return GetValue(bad, "k", shorts); },
        [&] { return GetValue(bad, "k", ints); },
        [&] { return GetValue(bad, "k", doubles); },
        [&] { return GetValue(bad, "k", strings); },
#ifndef ORVJSON_HPP
        [&] { return GetValue(bad, "k", reinterpret_cast<COrvBaseJson*>(otherHandle)); },
#endif
        [&] { return GetValue(bad, "k", static_cast<void*>(&otherHandle)); },
        [&] { return GetValue(bad, 0, s); },
        [&] { return GetValue(bad, 0, i); },
        [&] { return GetValue(bad, 0, f); },
        [&] { return GetValue(bad, 0, d); },
        [&] { return GetValue(bad, 0, b); },
        [&] { return GetValue(bad, 0, str); },
        [&] { return GetValue(bad, 0, static_cast<void*>(&otherHandle)); },
        [&] { return GetIsNULL(bad, 0); },
        [&] { return GetItemType(bad, 0, type); },
        [&] { return GetArryItemType(bad, 0, type); },
        [&] { return GetArryItemType(bad, std::string("k"), type); },
        [&] { return GetTagCollect(bad, tags); },
    };
    for (std::size_t n = 0; n < calls.size(); ++n) {
      EXPECT_EQ(calls[n](), -1) << "export #" << n << " with handle " << bad;
    }
    EXPECT_EQ(GetString(bad), "");
    EXPECT_EQ(GetString(bad, "k"), "");

    EXPECT_EQ(i, 7);
    EXPECT_EQ(u, 7u);
    EXPECT_EQ(f, 7.0f);
    EXPECT_EQ(d, 7.0);
    EXPECT_TRUE(b);
    EXPECT_EQ(s, 7);
    EXPECT_EQ(type, 7);
    EXPECT_EQ(bom, 7);
    EXPECT_EQ(str, "keep");
    EXPECT_EQ(bytes, std::vector<unsigned char>{7});
    EXPECT_EQ(shorts, std::vector<short>{7});
    EXPECT_EQ(ints, std::vector<int>{7});
    EXPECT_EQ(doubles, std::vector<double>{7.0});
    EXPECT_EQ(strings, std::vector<std::string>{"keep"});
    ASSERT_EQ(tags.m_items.size(), 1u);
    EXPECT_EQ(tags.m_items[0].name, "keep");
  }
  EXPECT_EQ(other.text(), "{}");
}
