// Copy paths that no document built through the interface can reach: a
// target whose load fails.
#include <string>

#include <gtest/gtest.h>

#include "json/COrvExtendJson.h"

namespace {

// A target that refuses every text, as another implementation might.
class RefusingTarget : public COrvExtendJson {
 public:
  long LoadFromString(const std::string&) override { return -1; }
};

}  // namespace

TEST(CopyFailures, AnElementCopyReportsAFailedLoadAndLeavesTheTargetAlone) {
  COrvExtendJson source;
  ASSERT_EQ(source.LoadFromString(R"([{"k":1}])"), 0);
  RefusingTarget target;
  target.SetValue("keep", 1);
  EXPECT_EQ(source.GetValue(0, &target), -1);
  EXPECT_EQ(target.GetString(), R"({"keep":1})");
}

TEST(CopyFailures, AMemberCopyReportsAFailedLoadAfterClearingTheTarget) {
  COrvExtendJson source;
  ASSERT_EQ(source.LoadFromString(R"({"o":{"k":1}})"), 0);
  RefusingTarget target;
  target.SetValue("old", 1);
  EXPECT_EQ(source.GetValue("o", &target), -1);
  EXPECT_EQ(target.GetString(), "{}");
}
