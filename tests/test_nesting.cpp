#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support.h"

using orvtest::Doc;
using orvtest::RunWithStack;

namespace {

constexpr std::size_t kWindowsDefaultStack = 1 << 20;

std::string NestedArrays(std::size_t depth) { return std::string(depth, '[') + std::string(depth, ']'); }

std::string NestedObjects(std::size_t depth) {
  std::string text;
  for (std::size_t i = 0; i < depth; ++i) text += "{\"a\":";
  text += "1";
  text.append(depth, '}');
  return text;
}

}  // namespace

TEST(Nesting, AThousandLevelsLoadAndWriteOnAOneMebibyteStack) {
  RunWithStack(kWindowsDefaultStack, [] {
    for (const std::string& text : {NestedArrays(1000), NestedObjects(1000)}) {
      Doc doc;
      EXPECT_EQ(LoadFromString(doc.h(), text), 0);
      EXPECT_EQ(doc.text(), text);
    }
  });
}

TEST(Nesting, DeeperTextIsRefusedOnAOneMebibyteStack) {
  RunWithStack(kWindowsDefaultStack, [] {
    for (const std::size_t depth : {1001u, 100000u, 10000000u}) {
      Doc doc;
      SetValue(doc.h(), "kept", 1);
      EXPECT_EQ(LoadFromString(doc.h(), NestedArrays(depth)), -1) << depth;
      EXPECT_EQ(LoadFromString(doc.h(), std::string(depth, '[')), -1) << depth;
      EXPECT_EQ(doc.text(), R"({"kept":1})");
    }
    Doc objects;
    EXPECT_EQ(LoadFromString(objects.h(), NestedObjects(1001)), -1);
  });
}

TEST(Nesting, DepthCountsOpenContainersNotContainersSeen) {
  // A thousand siblings at depth two are not nested a thousand deep.
  std::string text = "[";
  for (int i = 0; i < 5000; ++i) text += i == 0 ? "[[]]" : ",[[]]";
  text += "]";
  Doc doc;
  EXPECT_EQ(LoadFromString(doc.h(), text), 0);
  EXPECT_EQ(Members(doc.h()), 5000);
}

#ifndef ORVJSON_HPP  // the interface class, which the C++ layer leaves out
TEST(Nesting, CopiesNeverNestPastTheLimitSoEveryWrittenTextLoadsAgain) {
  RunWithStack(kWindowsDefaultStack, [] {
    for (const std::size_t depth : {999u, 1000u}) {
      Doc source, target;
      ASSERT_EQ(LoadFromString(source.h(), NestedArrays(depth)), 0);
      long handle = source.h();
      SetValue(target.h(), "copy", static_cast<void*>(&handle));
      const std::string expected = depth == 999 ? NestedArrays(999) : std::string("null");
      EXPECT_EQ(target.text(), "{\"copy\":" + expected + "}") << depth;
      Doc reloaded;
      EXPECT_EQ(LoadFromString(reloaded.h(), target.text()), 0) << depth;
    }
    for (const std::size_t depth : {998u, 999u}) {
      Doc source, target;
      ASSERT_EQ(LoadFromString(source.h(), NestedArrays(depth)), 0);
      std::vector<COrvBaseJson*> objects{reinterpret_cast<COrvBaseJson*>(source.h())};
      reinterpret_cast<COrvBaseJson*>(target.h())->SetObjectArray("a", objects);
      const std::string expected = depth == 998 ? NestedArrays(998) : std::string("null");
      EXPECT_EQ(target.text(), "{\"a\":[" + expected + "]}") << depth;
    }
  });
}
#endif
