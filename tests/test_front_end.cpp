// The front end against the reader it replaced, over many generated texts,
// valid and broken: the same acceptance, the same error code and offset, and
// the same document, kinds and bits and bytes included.
#include <cstdio>
#include <cstring>
#include <memory>
#include <random>
#include <string>

#include <gtest/gtest.h>

#include "orvjson_c.h"
#include "reference_reader.h"
#include "text/file_system.h"
#include "text/json_parse.h"
#include "text/text_releaser.h"
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
  // Objects and arrays by turns, each with items before and after the one
  // inside it, so every level must take up its own kind and count again.
  for (const int depth : {999, 1000, 1001}) {
    std::string opened, closed;
    for (int level = 0; level < depth; ++level) {
      opened += level % 2 == 0 ? "{\"a\":1,\"b\":" : "[true,";
      closed = (level % 2 == 0 ? ",\"c\":[]}" : ",{}]") + closed;
    }
    ExpectSameParse(opened + "null" + closed, orv::kMaxNestingDepth);
  }
  ExpectSameParse(std::string(50, ' ') + "[" + std::string(40, ' ') + "1" + std::string(33, '\n') + "]",
                  orv::kMaxNestingDepth);
}

TEST(FrontEnd, AgreesOnRunsOfMixedWhitespaceAndOnLiteralsCutShort) {
  // Runs of every length up to 40 around the 16-byte blocks, of spaces with
  // the other three kinds (and a vertical tab or form feed, which are not
  // whitespace) anywhere in them; every prefix of each text, so that runs and
  // literals also meet the end of the text.
  std::mt19937 random(1209);
  const auto run = [&random] {
    static const char kKinds[] = {' ', ' ', ' ', ' ', ' ', '\n', '\t', '\r', '\v', '\f'};
    std::string out(random() % 41, ' ');
    for (char& c : out) c = kKinds[random() % (random() % 4 == 0 ? sizeof kKinds : 5)];
    return out;
  };
  for (int round = 0; round < 3000; ++round) {
    const std::string text = run() + "{" + run() + "\"a\"" + run() + ":" + run() + "[" + run() + "null" + run() + "," +
                             run() + "true" + run() + "," + run() + "false" + run() + "]" + run() + "}" + run();
    for (std::size_t length = round % 7; length <= text.size(); length += 7) {
      ExpectSameParse(text.substr(0, length), orv::kMaxNestingDepth);
    }
  }
}

TEST(FrontEnd, MakesEveryStringInsideItsValueByteForByteAsRapidJsonDoes) {
  // Such strings are made from the 16 bytes of text from their first byte,
  // where the text goes on that far: the bytes after the string must leave
  // no trace, as a name, as an element, and at the end of the text.
  const std::string letters = "abcdefghijklmnopqrstuvwxyz";
  orv::PoolAllocator pool;
  for (std::size_t length = 0; length <= 16; ++length) {
    const std::string s = letters.substr(0, length);
    const orv::Value expected(s.data(), static_cast<rapidjson::SizeType>(length), pool);
    for (const std::string& text : {"{\"" + s + "\":\"" + letters + "\"}", "[\"" + s + "\",\"" + letters + "\"]",
                                    "[\"" + s + "\"]", "\"" + s + "\""}) {
      orv::Document doc;
      ASSERT_TRUE(orv::ParseJsonText(doc, text.c_str(), text.size())) << text;
      const orv::Value& made = doc.IsObject() ? doc.MemberBegin()->name : doc.IsArray() ? doc[0] : doc;
      ASSERT_TRUE(orvref::SameValue(made, expected)) << text;
      if (expected.GetString() == reinterpret_cast<const char*>(&expected)) {
        EXPECT_EQ(0, std::memcmp(&made, &expected, sizeof made)) << text;
      }
    }
  }
}

TEST(FrontEnd, DecodesEscapesBetweenPlainRunsOfEveryLength) {
  // Runs copied in pieces of each size, before, between and after escapes
  // of each decoded length; one array, so that later strings decode into
  // room a shorter one made, and one string per text, where room is new.
  const char* const escapes[] = {"\\n", "\\u00e9", "\\u65e5", "\\ud83d\\ude00"};
  std::string all = "[";
  for (std::size_t length = 0; length <= 300; length += length < 40 ? 1 : 13) {
    const std::string run(length, 'x');
    for (const char* escape : escapes) {
      const std::string s = "\"" + run + escape + run.substr(length / 2) + escape + escape + run + "\"";
      ExpectSameParse(s, orv::kMaxNestingDepth);
      ExpectSameParse(s.substr(0, s.size() - 1 - length / 3), orv::kMaxNestingDepth);  // the text ends inside
      all += s + ",";
    }
  }
  all.back() = ']';
  ExpectSameParse(all, orv::kMaxNestingDepth);
}

TEST(FrontEnd, GivingBackTheTextBehindTheParseChangesNoDocumentAndNoProblem) {
  orvtest::TextMaker maker(7);
  for (int round = 0; round < 60; ++round) {
    // Pages of valid values, lines and characters of several bytes, broken
    // somewhere in the second half or not at all.
    std::string text = "[";
    while (text.size() < 40000) {
      const std::string value = maker.Value(0);
      orv::Document alone;
      if (orv::ParseJsonText(alone, value.c_str(), value.size())) text += value + ",\n \"\xC3\xA9\xE6\x97\xA5\",";
    }
    text += "0]";
    const std::size_t cut = text.size() / 2 + text.size() * static_cast<std::size_t>(round % 8) / 16;
    if (round % 4 != 0) text = text.substr(0, cut) + maker.Broken(text.substr(cut));
    orv::TextBlock copy = orv::AllocateText(text.size() + 1);
    std::memcpy(copy.get(), text.c_str(), text.size() + 1);
    orv::TextReleaser releaser(copy, 1000 + 97 * static_cast<std::size_t>(round));

    orv::Document released, whole;
    const orv::ParseOutcome a = orv::ParseJsonText(released, copy.get(), text.size(), orv::kMaxNestingDepth, &releaser);
    const orv::ParseOutcome b = orvref::ParseJsonTextReference(whole, text.c_str(), text.size(), orv::kMaxNestingDepth);
    ASSERT_EQ(a.code, b.code);
    ASSERT_EQ(a.offset, b.offset);
    ASSERT_TRUE(orvref::SameValue(released, whole));
    if (a) continue;
    // Counted the plain way over the whole text.
    std::size_t line = 1, column = 1;
    for (std::size_t i = 0; i < a.offset; ++i) {
      if (text[i] == '\n') {
        ++line;
        column = 1;
      } else if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) {
        ++column;
      }
    }
    const orv::LoadProblem problem = orv::DescribeProblem(a, copy.get(), text.size(), releaser.released());
    EXPECT_EQ(problem.offset, a.offset);
    EXPECT_EQ(problem.line, line);
    EXPECT_EQ(problem.column, column);
  }
}

TEST(FrontEnd, ALargeFileBrokenNearItsEndIsDescribedAsTheSameTextInMemory) {
  // Several releases long, a line and a two-byte character per element.
  std::string text = "[";
  while (text.size() < 3 * orv::TextReleaser::kEvery) text += "{\"\xC3\xA9\":[1.5,\"ab\"]},\n";
  text += "}";
  const std::string path = ::testing::TempDir() + "orvjson_large_broken.json";
  std::FILE* file = std::fopen(path.c_str(), "wb");
  ASSERT_NE(file, nullptr);
  ASSERT_EQ(std::fwrite(text.data(), 1, text.size(), file), text.size());
  ASSERT_EQ(std::fclose(file), 0);

  struct Where {
    std::size_t offset = 0, line = 0, column = 0;
  } fromFile, fromText;
  const char* message = nullptr;
  orvjson_handle h = 0;
  ASSERT_EQ(orvjson_create(&h), ORVJSON_OK);
  int32_t bom = 0;
  EXPECT_EQ(orvjson_load_file(h, path.c_str(), path.size(), &bom), ORVJSON_INVALID_TEXT);
  ASSERT_EQ(orvjson_load_error(h, &fromFile.offset, &fromFile.line, &fromFile.column, &message), ORVJSON_OK);
  EXPECT_EQ(orvjson_load_text(h, text.c_str(), text.size()), ORVJSON_INVALID_TEXT);
  ASSERT_EQ(orvjson_load_error(h, &fromText.offset, &fromText.line, &fromText.column, &message), ORVJSON_OK);
  orvjson_release(h);
  std::remove(path.c_str());
  EXPECT_EQ(fromFile.offset, text.size() - 1);
  EXPECT_EQ(fromFile.offset, fromText.offset);
  EXPECT_EQ(fromFile.line, fromText.line);
  EXPECT_EQ(fromFile.column, fromText.column);
}
