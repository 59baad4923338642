// Input a user did not write: huge, repetitive, every byte value, boundaries.
#include <climits>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <new>
#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "support.h"

using orvtest::Doc;
using orvtest::TempDir;

TEST(Hostile, ADocumentOfOneTwoHundredMegabyteStringLoadsAndWritesBack) {
  std::string text(200u * 1000 * 1000 + 2, 'x');
  text.front() = '"';
  text.back() = '"';
  Doc doc;
  try {
    ASSERT_EQ(LoadFromString(doc.h(), text), 0);
    EXPECT_EQ(Members(doc.h()), 0);
    EXPECT_TRUE(doc.text() == text);
  } catch (const std::bad_alloc&) {
    // A 32-bit process may run out of address space for the copies; that
    // must surface as std::bad_alloc, never as a crash.
    if (sizeof(void*) > 4) throw;
    std::printf("32-bit process: std::bad_alloc reported as designed\n");
  }
}

TEST(Hostile, AMillionMembersWithTheSameNameAreAllKept) {
  Doc doc;
  for (int i = 0; i < 1000000; ++i) SetValue(doc.h(), "same", i);
  EXPECT_EQ(Members(doc.h()), 1000000);
  int first = -1;
  GetValue(doc.h(), "same", first);
  EXPECT_EQ(first, 0);
  OrvVector tags;
  EXPECT_EQ(GetTagCollect(doc.h(), tags), 1000000);
  Doc loaded;
  const std::string text = doc.text();
  ASSERT_EQ(LoadFromString(loaded.h(), text), 0);
  EXPECT_EQ(Members(loaded.h()), 1000000);
  EXPECT_TRUE(loaded.text() == text);
}

TEST(Hostile, KeysAndStringsWithEveryByteValueSurviveTextAndFiles) {
  std::string everyByte;
  for (int b = 0; b < 256; ++b) everyByte += static_cast<char>(b);
  const std::string key = everyByte.substr(1);  // a C string key ends at NUL
  Doc doc;
  SetValue(doc.h(), key.c_str(), everyByte);
  std::vector<std::string> strings{everyByte, key};
  SetValue(doc.h(), "strings", strings);
  TempDir dir;
  const std::string path = dir.Path("bytes.json");
  ASSERT_EQ(WriteToFile(doc.h(), path), 0);
  Doc loaded;
  int hasBom = -1;
  ASSERT_EQ(LoadJsonFile(loaded.h(), path.c_str(), hasBom), 1);
  EXPECT_EQ(loaded.text(), doc.text());
  std::string value = "unset";
  GetValue(loaded.h(), key.c_str(), value);
  EXPECT_EQ(value, "");  // the stored string starts with NUL
  std::vector<std::string> read;
  EXPECT_EQ(GetValue(loaded.h(), "strings", read), 0);
  EXPECT_EQ(read, (std::vector<std::string>{"", key}));
  OrvVector tags;
  GetTagCollect(loaded.h(), tags);
  EXPECT_EQ(tags.m_items.at(0).name, key);
}

TEST(Hostile, InvalidUtf8IsKeptByteForByte) {
  const std::string bytes = "\x80\xBF\xC0\xC1\xF5\xFF\xED\xA0\x80\xF4\x90\x80\x80\xE2\x82";
  Doc doc;
  ASSERT_EQ(LoadFromString(doc.h(), "{\"" + bytes + "\":\"" + bytes + "\"}"), 0);
  std::string value;
  GetValue(doc.h(), bytes.c_str(), value);
  EXPECT_EQ(value, bytes);
}

TEST(Hostile, NumbersAtEveryKindBoundaryReadBackThroughTheirGetters) {
  Doc doc;
  ASSERT_EQ(LoadFromString(doc.h(), R"({"imax":2147483647,"imin":-2147483648,"ipast":2147483648,"ineg":-2147483649,)"
                                    R"("umax":4294967295,"upast":4294967296,"i64max":9223372036854775807,)"
                                    R"("i64min":-9223372036854775808,"u64max":18446744073709551615,)"
                                    R"("u64past":18446744073709551616,"dmax":1.7976931348623157e308,)"
                                    R"("dmin":5e-324,"fbound":3.4028234e38,"fmax":3.4028234663852886e38})"),
            0);
  int i = 0;
  unsigned u = 0;
  double d = 0;
  float f = 0;
  GetValue(doc.h(), "imax", i);
  EXPECT_EQ(i, INT_MAX);
  GetValue(doc.h(), "imin", i);
  EXPECT_EQ(i, INT_MIN);
  i = 7;
  GetValue(doc.h(), "ipast", i);
  GetValue(doc.h(), "ineg", i);
  EXPECT_EQ(i, 7);
  GetValue(doc.h(), "umax", u);
  EXPECT_EQ(u, UINT_MAX);
  u = 7;
  GetValue(doc.h(), "upast", u);
  GetValue(doc.h(), "i64max", u);
  GetValue(doc.h(), "u64max", u);
  EXPECT_EQ(u, 7u);
  GetValue(doc.h(), "u64past", d);
  EXPECT_EQ(d, 18446744073709551616.0);
  GetValue(doc.h(), "dmax", d);
  EXPECT_EQ(d, std::numeric_limits<double>::max());
  GetValue(doc.h(), "dmin", d);
  EXPECT_EQ(d, std::numeric_limits<double>::denorm_min());
  GetValue(doc.h(), "fbound", f);
  EXPECT_EQ(f, static_cast<float>(3.4028234e38));
  f = 7;
  GetValue(doc.h(), "fmax", f);
  EXPECT_EQ(f, 7.0f);
  OrvVector tags;
  GetTagCollect(doc.h(), tags);
  const int codes[] = {32, 32, 128, 128, 128, 128, 128, 128, 256, 512, 512, 512, 512, 512};
  for (std::size_t n = 0; n < tags.m_items.size(); ++n) EXPECT_EQ(tags.m_items[n].type, codes[n]) << n;
}

TEST(Hostile, WritingIntoAReadOnlyFolderIsReported) {
#ifdef _WIN32
  GTEST_SKIP() << "POSIX folder permissions do not apply on Windows";
#else
  if (geteuid() == 0) GTEST_SKIP() << "root writes into read-only folders";
  TempDir dir;
  const std::string folder = dir.Path("locked");
  ASSERT_EQ(mkdir(folder.c_str(), 0500), 0);
  Doc doc;
  EXPECT_EQ(WriteToFile(doc.h(), folder + "/out.json"), -1);
#endif
}

TEST(Hostile, NumbersWithHostileExponentsAndDigitRunsLoadAsWhatTheyAre) {
  const std::string zeros400(400, '0');
  const std::string zeros(1000000, '0');
  struct Case {
    std::string text;
    const char* loaded;  // null: refused
  };
  const Case cases[] = {
      {"[1.0000000000e-2147483639]", "[0.0]"},
      {"[-1.0000000000e-2147483639]", "[-0.0]"},
      {"[1e-2147483648]", "[0.0]"},
      {"[1e-4294967296]", "[0.0]"},
      {"[-0e-99999999999999999999]", "[-0.0]"},
      {"[0e99999999999999999999]", "[0.0]"},
      {"[1e2147483647]", nullptr},
      {"[1e+4294967296]", nullptr},
      {"[-1e99999999999999999999]", nullptr},
      {"[1" + zeros400 + "e-400]", "[1.0]"},
      {"[1" + zeros400 + "]", nullptr},
      {"[1" + zeros400.substr(92) + "]", "[1e308]"},
      {"[0." + zeros + "1e1000010]", "[1000000000.0]"},
      {"[0." + zeros + "1]", "[0.0]"},
      {"[1." + zeros + "1e-2147483600]", "[0.0]"},
      {"[" + std::string(100000, '9') + "e-99990]", "[10000000000.0]"},
  };
  for (const Case& c : cases) {
    Doc doc;
    EXPECT_EQ(LoadFromString(doc.h(), c.text), c.loaded != nullptr ? 0 : -1) << c.text.substr(0, 40);
    EXPECT_EQ(doc.text(), c.loaded != nullptr ? c.loaded : "{}") << c.text.substr(0, 40);
  }
}

TEST(Hostile, VectorsTooLongForA32BitAddressSpaceAreRefusedWithNothingAdded) {
  if (sizeof(void*) != 4) GTEST_SKIP() << "the byte count wraps only where size_t has 32 bits (the DLL)";
  Doc doc;
  // 2^28 elements of 16 bytes: the byte count wraps to 0. 2^27: the first
  // count whose block is larger than half the address space.
  for (const std::size_t count : {std::size_t{1} << 27, std::size_t{1} << 28}) {
    std::vector<unsigned char> bytes(count);
    EXPECT_THROW(SetValue(doc.h(), "k", bytes), std::length_error) << count;
  }
  EXPECT_EQ(doc.text(), "{}");
}
