// The front end against the reader it replaced, over many generated texts,
// valid and broken: the same acceptance, the same error code and offset, and
// the same document, kinds and bits and bytes included.
#include <string>

#include <gtest/gtest.h>

#include "reference_reader.h"
#include "text/json_parse.h"
#include "text_maker.h"

namespace {

// Parses text with both readers and expects the same result.
void ExpectSameParse(const std::string& text, unsigned maxDepth) {
  orv::Document ours, theirs;
  const orv::ParseOutcome a = orv::ParseJsonText(ours, text.c_str(), text.size(), maxDepth);
  const orv::ParseOutcome b = orvref::ParseJsonTextReference(theirs, text.c_str(), text.size(), maxDepth);
  ASSERT_EQ(static_cast<int>(a.problem), static_cast<int>(b.problem)) << text;
  ASSERT_EQ(a.code, b.code) << text;
  ASSERT_EQ(a.offset, b.offset) << text;
  ASSERT_TRUE(orvref::SameValue(ours, theirs)) << text;
}

}  // namespace

TEST(FrontEnd, AcceptsRefusesAndBuildsAsTheReferenceReaderDoes) {
  orvtest::TextMaker maker(20261209);
  for (int round = 0; round < 20000; ++round) {
    const std::string text = maker.Value(0);
    ExpectSameParse(text, orv::kMaxNestingDepth);
    ExpectSameParse(text, 3);  // nesting refused at a shallower limit
    for (int broken = 0; broken < 4; ++broken) ExpectSameParse(maker.Broken(text), orv::kMaxNestingDepth);
  }
}

TEST(FrontEnd, AgreesAtTheEdgesOfTheText) {
  const char* const texts[] = {"",  " ",  "\t\r\n", "n",       "nul", "nulls", "tru",       "fals",      "{",
                               "[", "]",  "{\"a\"", "{\"a\":", "[1,", "[1 2]", "{\"a\" 1}", "\"",        "\"\\u12",
                               "-", "1.", "1e",     "1e+",     "01",  "[1]x",  "\x00",      "{}\x00junk"};
  for (const char* text : texts) ExpectSameParse(text, orv::kMaxNestingDepth);
  ExpectSameParse(std::string("[\"a\x00b\"]", 7), orv::kMaxNestingDepth);
  ExpectSameParse(std::string(1001, '[') + std::string(1001, ']'), orv::kMaxNestingDepth);
  ExpectSameParse(std::string(1000, '[') + std::string(1000, ']'), orv::kMaxNestingDepth);
  ExpectSameParse(std::string(50, ' ') + "[" + std::string(40, ' ') + "1" + std::string(33, '\n') + "]",
                  orv::kMaxNestingDepth);
}
