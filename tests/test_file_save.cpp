// A save that fails at any step leaves the file it was replacing as it was,
// and nothing else behind.
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "text/file_save.h"

namespace {

namespace fs = std::filesystem;
using orv::SaveStep;

SaveStep g_failing = SaveStep::kCreate;
bool FailOneStep(SaveStep step) { return step == g_failing; }

orv::WriteText Writes(const std::string& text) {
  return [text](std::FILE* file) { return std::fwrite(text.data(), 1, text.size(), file) == text.size(); };
}

std::string Contents(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<std::string> Listing(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
  return names;
}

class FileSave : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::temp_directory_path() /
              ("orvjson-save-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(folder_);
    fs::create_directories(folder_);
  }
  void TearDown() override { fs::remove_all(folder_); }
  fs::path folder_;
};

}  // namespace

TEST_F(FileSave, AFailureAtAnyStepLeavesTheTargetAsItWasAndNothingElse) {
  const std::string fresh = "{\"new\":true}";
  const SaveStep steps[] = {SaveStep::kCreate, SaveStep::kWrite, SaveStep::kFlush,
                            SaveStep::kSync,   SaveStep::kClose, SaveStep::kReplace};
  for (const SaveStep step : steps) {
    g_failing = step;
    const fs::path existing = folder_ / "settings.json";
    std::ofstream(existing, std::ios::binary) << "{\"old\":1}";
    EXPECT_FALSE(orv::SaveFile(existing.string().c_str(), Writes(fresh), FailOneStep)) << static_cast<int>(step);
    EXPECT_EQ(Contents(existing), "{\"old\":1}") << static_cast<int>(step);
    EXPECT_EQ(Listing(folder_), std::vector<std::string>{"settings.json"}) << static_cast<int>(step);

    const fs::path absent = folder_ / "new.json";
    EXPECT_FALSE(orv::SaveFile(absent.string().c_str(), Writes(fresh), FailOneStep));
    EXPECT_EQ(Listing(folder_), std::vector<std::string>{"settings.json"}) << static_cast<int>(step);
  }
}

TEST_F(FileSave, ASaveThatSucceedsLeavesOnlyTheNewText) {
  const fs::path target = folder_ / "settings.json";
  std::ofstream(target, std::ios::binary) << std::string(100000, 'x');
  const std::string fresh = "{\"new\":true}";
  ASSERT_TRUE(orv::SaveFile(target.string().c_str(), Writes(fresh)));
  EXPECT_EQ(Contents(target), fresh);
  EXPECT_EQ(Listing(folder_), std::vector<std::string>{"settings.json"});
}
