#include <string>

#include <gtest/gtest.h>

#include "support.h"

using orvtest::Doc;

namespace {

const char kBefore[] = R"({"before":1})";

struct LoadCase {
  std::string input;
  long result;
  std::string text;  // the document's text afterwards; kBefore when refused
};

std::string Bytes(const char* data, std::size_t size) { return std::string(data, size); }

void Check(const LoadCase& c) {
  Doc doc;
  ASSERT_EQ(LoadFromString(doc.h(), kBefore), 0);
  EXPECT_EQ(LoadFromString(doc.h(), c.input), c.result) << "input: " << c.input;
  EXPECT_EQ(doc.text(), c.result == 0 ? c.text : std::string(kBefore)) << "input: " << c.input;
}

}  // namespace

TEST(LoadFromString, TheDefaultGrammarDecidesWhatLoads) {
  const LoadCase cases[] = {
      {"", -1, ""},
      {" \t\r\n", -1, ""},
      {"{} x", -1, ""},
      {Bytes("{}\0 anything", 12), 0, "{}"},
      {Bytes("[1]\0[", 5), 0, "[1]"},
      {"[1,]", -1, ""},
      {R"({"a":1,})", -1, ""},
      {"// comment\n{}", -1, ""},
      {"/* comment */ {}", -1, ""},
      {"NaN", -1, ""},
      {"Infinity", -1, ""},
      {"-Infinity", -1, ""},
      {"[NaN]", -1, ""},
      {"'single'", -1, ""},
      {"{'a':1}", -1, ""},
      {"{a:1}", -1, ""},
      {"[1 2]", -1, ""},
      {"tru", -1, ""},
      {"nul", -1, ""},
      {"\xEF\xBB\xBF{}", -1, ""},
      {" \r\n\t{ \"a\" : [ 1 , 2 ] }\r\n ", 0, R"({"a":[1,2]})"},
      {R"({"a":1,"a":2})", 0, R"({"a":1,"a":2})"},
      {"5", 0, "5"},
      {"null", 0, "null"},
      {"true", 0, "true"},
      {"\"text\"", 0, "\"text\""},
      {"[]", 0, "[]"},
  };
  for (const LoadCase& c : cases) Check(c);
}

TEST(LoadFromString, StringsFollowTheDefaultGrammar) {
  const LoadCase cases[] = {
      {R"("a\u0000b")", 0, R"("a\u0000b")"},
      {"\"raw\x01control\"", -1, ""},
      {"\"raw\ttab\"", -1, ""},
      {"\"raw\nline\"", -1, ""},
      {R"("\ud800")", -1, ""},
      {R"("\udbff x")", -1, ""},
      {R"("\ud800\u0041")", -1, ""},
      {R"("\ud83c\udf24")", 0, "\"\xF0\x9F\x8C\xA4\""},
      {R"("\u00e9\u6c17")", 0, "\"\xC3\xA9\xE6\xB0\x97\""},
      {R"("\/\"\\\b\f\n\r\t")", 0, R"("/\"\\\b\f\n\r\t")"},
      {R"("\x")", -1, ""},
      {R"("\u12")", -1, ""},
      {"\"\x80\xFF\xC3\x28 kept\"", 0, "\"\x80\xFF\xC3\x28 kept\""},
      {"\"unterminated", -1, ""},
      {Bytes("\"a\0b\"", 5), -1, ""},
  };
  for (const LoadCase& c : cases) Check(c);
}

TEST(LoadFromString, NumbersLoadExactlyAndNonFiniteOnesAreRefused) {
  const LoadCase cases[] = {
      {"1e400", -1, ""},
      {"1.8e308", -1, ""},
      {"1.7976931348623159e308", -1, ""},
      {"-1e309", -1, ""},
      {"[1e999]", -1, ""},
      {"1e308", 0, "1e308"},
      {"1.7976931348623157e308", 0, "1.7976931348623157e308"},
      {"-1.7976931348623157e308", 0, "-1.7976931348623157e308"},
      {"1e-400", 0, "0.0"},
      {"-1e-400", 0, "-0.0"},
      {"1e-99999999999999999999", 0, "0.0"},
      {"5e-324", 0, "5e-324"},
      {"2.2250738585072011e-308", 0, "2.225073858507201e-308"},
      {"0e100", 0, "0.0"},
      {"0e400", 0, "0.0"},  // a finite value, whatever its exponent
      {"0.0001e309", 0, "1e305"},
      {"-0", 0, "0"},
      {"-0.0", 0, "-0.0"},
      {"18446744073709551615", 0, "18446744073709551615"},
      {"18446744073709551616", 0, "18446744073709553000.0"},
      {"-9223372036854775808", 0, "-9223372036854775808"},
      {"-9223372036854775809", 0, "-9223372036854776000.0"},
      {"4294967296", 0, "4294967296"},
      {"2.0", 0, "2.0"},
      {"1E2", 0, "100.0"},
      {"0.1", 0, "0.1"},
      {"0.30000000000000004", 0, "0.30000000000000007"},  // the writer's digits; same double
      {"9007199254740993", 0, "9007199254740993"},
      {"9007199254740993.0", 0, "9007199254740992.0"},
      {"1.00000000000000011102230246251565404236316680908203125", 0, "1.0"},
      {"1.00000000000000011102230246251565404236316680908203126", 0, "1.0000000000000003"},
      {"01", -1, ""},
      {"-", -1, ""},
      {"+1", -1, ""},
      {"1.", -1, ""},
      {".5", -1, ""},
      {"1e", -1, ""},
      {"1e+", -1, ""},
      {"0x10", -1, ""},
  };
  for (const LoadCase& c : cases) Check(c);
}

TEST(LoadFromString, ASuccessfulLoadReplacesMembersAndAFailedOneKeepsThem) {
  Doc doc;
  SetValue(doc.h(), "a", 1);
  SetValue(doc.h(), "b", "x");
  EXPECT_EQ(LoadFromString(doc.h(), "[1,"), -1);
  EXPECT_EQ(doc.text(), R"({"a":1,"b":"x"})");
  EXPECT_EQ(LoadFromString(doc.h(), R"({"c":true})"), 0);
  EXPECT_EQ(doc.text(), R"({"c":true})");
  EXPECT_EQ(LoadFromString(doc.h(), "[1e400]"), -1);
  EXPECT_EQ(doc.text(), R"({"c":true})");
}

TEST(LoadFromString, TheBundledExampleKeepsItsTextThroughAReload) {
  Doc first, second;
  int hasBom = -1;
  ASSERT_EQ(LoadJsonFile(first.h(), ORVJSON_EXAMPLE_JSON, hasBom), 1);
  EXPECT_EQ(hasBom, 0);
  const std::string text = first.text();
  ASSERT_EQ(LoadFromString(second.h(), text), 0);
  EXPECT_EQ(second.text(), text);
}
