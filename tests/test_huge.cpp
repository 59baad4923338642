// Sizes at RapidJSON's 32-bit limits: strings of 4 GiB, 2^32 elements. Each
// needs several GiB, so these run on their own (ctest label "huge", make
// test-huge) and skip, saying so, when memory is short.
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support.h"

using orvtest::Doc;

namespace {

constexpr std::size_t kGiB = std::size_t{1} << 30;

// MemAvailable from /proc/meminfo, in bytes; 0 where it cannot be read.
std::size_t AvailableMemory() {
  std::ifstream meminfo("/proc/meminfo");
  std::string name;
  std::size_t kib = 0;
  std::string unit;
  while (meminfo >> name >> kib >> unit) {
    if (name == "MemAvailable:") return kib * 1024;
  }
  return 0;
}

class Huge : public ::testing::Test {
 protected:
  void SetUp() override {
    if (sizeof(void*) < 8) GTEST_SKIP() << "needs a 64-bit process";
    const std::size_t available = AvailableMemory();
    if (available < 12 * kGiB) {
      GTEST_SKIP() << "needs 12 GiB of free memory, " << available / kGiB << " GiB available";
    }
  }
};

std::string Quoted(std::size_t length) {
  std::string text(length + 2, 'x');
  text.front() = '"';
  text.back() = '"';
  return text;
}

}  // namespace

TEST_F(Huge, SettersRefuseWhatRapidJsonCannotCountWithNothingAdded) {
  Doc doc;
  SetValue(doc.h(), "before", 1);
  {
    const std::string s(0xFFFFFFFFu, 'x');  // 4 GiB - 1: once a crash
    EXPECT_THROW(SetValue(doc.h(), "k", s), std::length_error);
    EXPECT_THROW(SetValue(doc.h(), s.c_str(), 1), std::length_error);
  }
  {
    std::vector<unsigned char> bytes(static_cast<std::size_t>(std::uint64_t{1} << 32));
    EXPECT_THROW(SetValue(doc.h(), "k", bytes), std::length_error);
  }
  EXPECT_EQ(doc.text(), R"({"before":1})");
}

TEST_F(Huge, LoadsRefuseStringsLongerThanADocumentHoldsInsteadOfCuttingThem) {
  for (const std::uint64_t length : {std::uint64_t{0xFFFFFFFFu}, std::uint64_t{0x100000005u}}) {
    Doc doc;
    EXPECT_EQ(LoadFromString(doc.h(), "{\"k\":" + Quoted(static_cast<std::size_t>(length)) + "}"), -1) << length;
    EXPECT_EQ(doc.text(), "{}") << length;
  }
}

TEST_F(Huge, TheLongestStringLoadsWhole) {
  Doc doc;
  ASSERT_EQ(LoadFromString(doc.h(), "[" + Quoted(0xFFFFFFFEu) + "]"), 0);
  std::string value;
  ASSERT_EQ(GetValue(doc.h(), 0, value), 0);
  EXPECT_EQ(value.size(), 0xFFFFFFFEu);
}
