#include <cmath>
#include <limits>
#include <string>

#include <gtest/gtest.h>

#include "support.h"

using orvtest::Doc;
using orvtest::ReadBytes;
using orvtest::TempDir;
using orvtest::WriteBytes;

TEST(Write, AFreshObjectWritesTwoBytes) {
  TempDir dir;
  Doc doc;
  const std::string path = dir.Path("fresh.json");
  EXPECT_EQ(WriteToFile(doc.h(), path), 0);
  EXPECT_EQ(ReadBytes(path), "{}");
}

TEST(Write, TheFileHoldsExactlyTheTextOfGetString) {
  TempDir dir;
  Doc doc;
  int hasBom = -1;
  ASSERT_EQ(LoadJsonFile(doc.h(), ORVJSON_EXAMPLE_JSON, hasBom), 1);
  const std::string path = dir.Path("sample.json");
  ASSERT_EQ(WriteToFile(doc.h(), path), 0);
  const std::string text = doc.text();
  EXPECT_EQ(ReadBytes(path), text);
  EXPECT_EQ(text.back(), '}');  // no trailing line break
  EXPECT_EQ(text.find('\n'), std::string::npos);
}

TEST(Write, WritingReplacesAnExistingFile) {
  TempDir dir;
  Doc doc;
  SetValue(doc.h(), "a", 1);
  const std::string path = dir.Path("old.json");
  WriteBytes(path, std::string(100000, 'x'));
  ASSERT_EQ(WriteToFile(doc.h(), path), 0);
  EXPECT_EQ(ReadBytes(path), R"({"a":1})");
}

TEST(Write, TextLargerThanTheWriteBufferIsWrittenWhole) {
  TempDir dir;
  Doc doc;
  for (int i = 0; i < 20000; ++i) SetValue(doc.h(), ("member" + std::to_string(i)).c_str(), i * 0.5);
  const std::string path = dir.Path("big.json");
  ASSERT_EQ(WriteToFile(doc.h(), path), 0);
  const std::string text = doc.text();
  EXPECT_GT(text.size(), 300000u);
  EXPECT_EQ(ReadBytes(path), text);
}

TEST(Write, StringsAreEscapedAsTheCompactWriterDoes) {
  struct Case {
    std::string value;
    const char* text;
  };
  const Case cases[] = {
      {"line\nfeed", R"({"s":"line\nfeed"})"},
      {"tab\t cr\r bs\b ff\f", R"({"s":"tab\t cr\r bs\b ff\f"})"},
      {"\x1F", R"({"s":"\u001F"})"},
      {std::string("\0", 1), R"({"s":"\u0000"})"},
      {"\x01\x7F", "{\"s\":\"\\u0001\x7F\"}"},
      {"quote\" back\\ solidus/", R"({"s":"quote\" back\\ solidus/"})"},
      {"\xC3\xA9\xE6\xB0\x97\xF0\x9F\x8C\xA4", "{\"s\":\"\xC3\xA9\xE6\xB0\x97\xF0\x9F\x8C\xA4\"}"},
      {"\xFF\xFE invalid", "{\"s\":\"\xFF\xFE invalid\"}"},
  };
  for (const Case& c : cases) {
    Doc doc;
    SetValue(doc.h(), "s", c.value);
    EXPECT_EQ(doc.text(), c.text);
  }
}

TEST(Write, GetStringWithAKeyReturnsOnlyStringMembers) {
  Doc doc;
  ASSERT_EQ(LoadFromString(doc.h(), R"({"s":"text","z":"a\u0000b","n":5,"d":1.5,"o":{},"a":[],"b":true,)"
                                    R"("nul":null,"":"empty key","s":"second"})"),
            0);
  EXPECT_EQ(GetString(doc.h(), "s"), "text");  // the first of two
  EXPECT_EQ(GetString(doc.h(), "z"), "a");
  EXPECT_EQ(GetString(doc.h(), ""), "empty key");
  for (const char* key : {"n", "d", "o", "a", "b", "nul", "missing", "S"}) {
    EXPECT_EQ(GetString(doc.h(), key), "") << key;
  }
  Doc array;
  ASSERT_EQ(LoadFromString(array.h(), R"(["s"])"), 0);
  EXPECT_EQ(GetString(array.h(), "s"), "");
}

TEST(Write, ANullRootHasTextButIsNeverWritten) {
  TempDir dir;
  Doc doc;
  ASSERT_EQ(LoadFromString(doc.h(), "null"), 0);
  EXPECT_EQ(doc.text(), "null");
  const std::string existing = dir.Path("existing.json");
  WriteBytes(existing, "keep me");
  EXPECT_EQ(WriteToFile(doc.h(), existing), -1);
  EXPECT_EQ(ReadBytes(existing), "keep me");
  bool exists = true;
  EXPECT_EQ(WriteToFile(doc.h(), dir.Path("new.json")), -1);
  ReadBytes(dir.Path("new.json"), &exists);
  EXPECT_FALSE(exists);

  Doc word;
  ASSERT_EQ(LoadFromString(word.h(), "\"null\""), 0);
  EXPECT_EQ(WriteToFile(word.h(), existing), 0);
  EXPECT_EQ(ReadBytes(existing), "\"null\"");
}

TEST(Write, ADocumentWithoutJsonTextNeverTouchesTheFile) {
  TempDir dir;
  for (const double bad : {std::nan(""), std::numeric_limits<double>::infinity()}) {
    Doc doc;
    SetValue(doc.h(), "before", 1);
    SetValue(doc.h(), "bad", bad);
    EXPECT_EQ(doc.text(), "");
    const std::string existing = dir.Path("existing.json");
    WriteBytes(existing, "keep me");
    EXPECT_EQ(WriteToFile(doc.h(), existing), -1);
    EXPECT_EQ(ReadBytes(existing), "keep me");
    bool exists = true;
    EXPECT_EQ(WriteToFile(doc.h(), dir.Path("never.json")), -1);
    ReadBytes(dir.Path("never.json"), &exists);
    EXPECT_FALSE(exists);
  }
}

TEST(Write, PathsThatCannotBeWrittenAreReported) {
  TempDir dir;
  Doc doc;
  EXPECT_EQ(WriteToFile(doc.h(), ""), -1);
  EXPECT_EQ(WriteToFile(doc.h(), dir.Path("missing/parent.json")), -1);
  EXPECT_EQ(WriteToFile(doc.h(), dir.Path("")), -1);  // the folder itself
  // A NUL inside the path would otherwise write to the shorter name.
  const std::string truncated = dir.Path("a");
  EXPECT_EQ(WriteToFile(doc.h(), truncated + std::string("\0b", 2)), -1);
  bool exists = true;
  ReadBytes(truncated, &exists);
  EXPECT_FALSE(exists);
}

TEST(Write, AFullDeviceIsReportedAsAFailedWrite) {
#ifdef _WIN32
  GTEST_SKIP() << "Windows has no /dev/full";
#else
  Doc doc;
  SetValue(doc.h(), "a", 1);
  EXPECT_EQ(WriteToFile(doc.h(), "/dev/full"), -1);
#endif
}
