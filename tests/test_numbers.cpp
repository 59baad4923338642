// Number conversion checked against RapidJSON's own parser and against strtod.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <random>
#include <string>

#include <gtest/gtest.h>
#include <rapidjson/document.h>

#include "text/json_number.h"
#include "text/json_parse.h"
#include "text/json_write.h"
#include "text_maker.h"

namespace {

constexpr int kSamples = 100000;

std::uint64_t Bits(double d) {
  std::uint64_t bits;
  std::memcpy(&bits, &d, sizeof bits);
  return bits;
}

// Writes d as GetString would and loads the text back as LoadFromString would.
bool RoundTrips(double d, std::string* text) {
  orv::Value value(d);
  *text = orv::JsonText(value);
  orv::Document doc;
  return orv::ParseJsonText(doc, text->c_str(), text->size()) && doc.IsDouble() && Bits(doc.GetDouble()) == Bits(d);
}

}  // namespace

TEST(ExactNumbers, EveryFiniteDoubleKeepsItsBitsThroughText) {
  std::mt19937_64 random(20261208);
  int failures = 0;
  for (int n = 0; n < kSamples && failures < 10; ++n) {
    double d;
    do {
      const std::uint64_t bits = random();
      std::memcpy(&d, &bits, sizeof d);
    } while (!std::isfinite(d));
    std::string text;
    if (!RoundTrips(d, &text)) {
      ADD_FAILURE() << "bits " << std::hex << Bits(d) << " written as " << text;
      ++failures;
    }
  }
}

TEST(ExactNumbers, EveryFloatWidenedToDoubleKeepsItsBitsThroughText) {
  std::mt19937 random(8);
  int failures = 0;
  for (int n = 0; n < kSamples && failures < 10; ++n) {
    float f;
    do {
      const std::uint32_t bits = random();
      std::memcpy(&f, &bits, sizeof f);
    } while (!std::isfinite(f));
    std::string text;
    if (!RoundTrips(static_cast<double>(f), &text)) {
      ADD_FAILURE() << "float " << f << " written as " << text;
      ++failures;
    }
  }
}

TEST(ExactNumbers, UniformValuesAndBoundariesKeepTheirBitsThroughText) {
  std::mt19937_64 random(1000);
  std::uniform_real_distribution<double> uniform(0.0, 1000.0);
  std::string text;
  for (int n = 0; n < kSamples; ++n) {
    const double d = uniform(random);
    ASSERT_TRUE(RoundTrips(d, &text)) << text;
  }
  for (const double d :
       {0.0, -0.0, 5e-324, -5e-324, 2.2250738585072009e-308, 2.2250738585072014e-308, 1.7976931348623157e308,
        -1.7976931348623157e308, 0.1, 1.0 / 3.0, 9007199254740993.0, 1e21, 1e22, 1e23, 123456789012345678.0}) {
    EXPECT_TRUE(RoundTrips(d, &text)) << text;
  }
}

TEST(ExactNumbers, DecimalTextLoadsToTheDoubleStrtodGives) {
  int failures = 0;
  const auto check = [&failures](const std::string& text) {
    const double expected = std::strtod(text.c_str(), nullptr);
    orv::Document doc;
    const bool accepted = static_cast<bool>(orv::ParseJsonText(doc, text.c_str(), text.size()));
    const bool ok =
        std::isinf(expected) ? !accepted : accepted && doc.IsDouble() && Bits(doc.GetDouble()) == Bits(expected);
    if (!ok) {
      ADD_FAILURE() << text << ": strtod " << expected << ", accepted " << accepted;
      ++failures;
    }
  };
  // 19 digits whose product with the power of ten lands on a rounding
  // boundary, where the conversion must compare them one by one; random
  // text all but never does.
  for (const char* text : {"9495784171365944765e-329", "-9586467486297153595e-46", "9283354611594685709e-89",
                           "9792353653691471313e270", "9724429689633648307e292"}) {
    check(text);
  }
  std::mt19937_64 random(42);
  std::uniform_int_distribution<int> digitCount(1, 25), digit(0, 9), exponent(-360, 330), coin(0, 1);
  for (int n = 0; n < kSamples && failures < 10; ++n) {
    std::string text = coin(random) ? "-" : "";
    const int intDigits = digitCount(random) % 4 + 1;
    text += static_cast<char>('1' + digit(random) % 9);
    for (int i = 1; i < intDigits; ++i) text += static_cast<char>('0' + digit(random));
    if (coin(random)) {
      text += '.';
      for (int i = digitCount(random); i > 0; --i) text += static_cast<char>('0' + digit(random));
    }
    text += 'e' + std::to_string(exponent(random));
    check(text);
  }
}

TEST(ExactNumbers, IntegersGetTheKindsRapidJsonGivesThem) {
  std::vector<std::string> texts(std::begin(orvtest::kIntegerEdges), std::end(orvtest::kIntegerEdges));
  std::mt19937_64 random(7);
  for (int n = 0; n < 10000; ++n) {
    const std::uint64_t value = random() >> (random() % 64);
    texts.push_back(std::to_string(value));
    texts.push_back("-" + std::to_string(value));
  }
  for (const std::string& text : texts) {
    orv::Document ours;
    rapidjson::Document theirs;
    ASSERT_TRUE(orv::ParseJsonText(ours, text.c_str(), text.size())) << text;
    ASSERT_FALSE(theirs.Parse(text.c_str()).HasParseError()) << text;
    EXPECT_EQ(ours.IsInt(), theirs.IsInt()) << text;
    EXPECT_EQ(ours.IsUint(), theirs.IsUint()) << text;
    EXPECT_EQ(ours.IsInt64(), theirs.IsInt64()) << text;
    EXPECT_EQ(ours.IsUint64(), theirs.IsUint64()) << text;
    EXPECT_EQ(ours.IsDouble(), theirs.IsDouble()) << text;
    if (ours.IsInt64()) {
      EXPECT_EQ(ours.GetInt64(), theirs.GetInt64()) << text;
    }
    if (ours.IsUint64()) {
      EXPECT_EQ(ours.GetUint64(), theirs.GetUint64()) << text;
    }
  }
}

TEST(ExactNumbers, AcceptanceIsTheJsonGrammarLessNonFiniteValues) {
  // RapidJSON's own scanner also refuses some finite values whose exponent
  // is out of its range (0e309, 1e0400 with 400 zeros before it); ours
  // takes every number as what it is.
  struct Case {
    const char* text;
    bool accepted;
  };
  const Case cases[] = {
      {"0", true},
      {"-0", true},
      {"00", false},
      {"01", false},
      {"-01", false},
      {"1.", false},
      {".1", false},
      {"1.e1", false},
      {"1e", false},
      {"1e+", false},
      {"1e-", false},
      {"1e+1", true},
      {"1E-1", true},
      {"-", false},
      {"--1", false},
      {"+1", false},
      {"1.5.5", false},
      {"1e1e1", false},
      {"0x1", false},
      {"1f", false},
      {"1e308", true},
      {"1e309", false},
      {"0e309", true},
      {"1e-400", true},
      {"1.8e308", false},
      {"-1.8e308", false},
      {"Infinity", false},
      {"NaN", false},
      {"[1,]", false},
      {"[01]", false},
      {"[-0.0]", true},
      {"[1e-5]", true},
      {"[1 2]", false},
      {"1e0400", false},
      {"1e-0400", true},
      {"0.0e0", true},
      {"0e99999999999999999999", true},
      {"-", false},
      {"[-]", false},
  };
  for (const Case& c : cases) {
    orv::Document ours;
    EXPECT_EQ(static_cast<bool>(orv::ParseJsonText(ours, c.text, std::strlen(c.text))), c.accepted) << c.text;
  }
}

TEST(ExactNumbers, RangeErrorsUnderflowToSignedZeroOrRefuseOverflow) {
  struct Case {
    const char* text;
    bool accepted;
    double value;
  };
  const Case cases[] = {
      {"1e-400", true, 0.0},       {"-1e-400", true, -0.0},         {"123.456e-330", true, 0.0},
      {"0.00001e-320", true, 0.0}, {"2e-324", true, 0.0},           {"3e-324", true, 5e-324},
      {"1e309", false, 0.0},       {"-123e307", false, 0.0},        {"1000000e303", false, 0.0},
      {"0.01e311", false, 0.0},    {"1e-9999999999999", true, 0.0}, {"-1e-9999999999999", true, -0.0},
  };
  for (const Case& c : cases) {
    double number = 7.0;
    ASSERT_EQ(orv::ParseJsonDouble(c.text, std::strlen(c.text), number), c.accepted) << c.text;
    EXPECT_EQ(Bits(number), Bits(c.accepted ? c.value : 7.0)) << c.text;
  }
}
